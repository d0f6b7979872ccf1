// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/exporteditor.h"
#include "output/saveimage.h"
#include "tileeditor/tileeditorwindow.h"

namespace tessella {

// The tile editor window lent to "save image": its view kept and put back, its commands
// locked and its canvas pointer handed to the command while the export runs. Owns the
// command, which keeps the image path and aspect settings between exports.
class EditorExport final : public ExportEditor
{
public:
    EditorExport(TileEditorWindow &window, Dialogs &dialogs,
                 SaveImageCommand::Exporter exporter = exportImage);

    SaveImageCommand &command() { return command_; }

    void lend() override;
    void giveBack() override;
    Surface &canvas() override { return window_.canvasSurface(); }
    void canvasChanged() override { window_.previewsDrawn(); }
    const Document &document() const override { return window_.document(); }
    DrawSettings drawSettings() const override { return window_.drawSettings(); }
    bool heavy() const override { return window_.heavyLines(); }
    // A shown fractal rendering is rendered again into the print area.
    ExportScene scene(const PrintArea &area) const override;

private:
    TileEditorWindow &window_;
    TileEditorWindow::ViewState saved_;
    SaveImageCommand command_;
};

} // namespace tessella
