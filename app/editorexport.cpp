// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/editorexport.h"

namespace tessella {

EditorExport::EditorExport(TileEditorWindow &window, Dialogs &dialogs,
                           SaveImageCommand::Exporter exporter)
    : window_(window), command_(*this, dialogs, std::move(exporter))
{}

void EditorExport::lend()
{
    saved_ = window_.viewState();
    CanvasGrab grab;
    grab.press = [this](int b, double x, double y) { command_.canvasPress(b, x, y); };
    grab.move = [this](int b, double x, double y) { command_.canvasMove(b, x, y); };
    grab.release = [this](int b, double x, double y) { command_.canvasRelease(b, x, y); };
    window_.lockForExport(std::move(grab));
    window_.resetZoom();
    window_.Form_Resize();
}

ExportScene EditorExport::scene(const PrintArea &area) const
{
    const PrintArea a = area.ordered();
    return window_.fractalExportScene(a.left, a.top, double(a.width()), double(a.height()));
}

void EditorExport::giveBack()
{
    window_.unlock();
    window_.restoreViewState(saved_);
}

} // namespace tessella
