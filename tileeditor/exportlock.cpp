// SPDX-License-Identifier: GPL-3.0-or-later
// The tile editor lent to the image export or an animation run: commands locked, canvas
// pointer grabbed, the view kept and put back.
#include "tileeditor/tileeditorwindow.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace tessella {

void TileEditorWindow::lockForExport(CanvasGrab grab)
{
    hideLists();
    locked_ = true;
    grab_ = std::move(grab);
    for (QWidget *w : std::initializer_list<QWidget *>{Frame1[0], Frame1[1], Frame1[2], cmdGrids,
                                                       cmdView, cmdFiles, cmdPan, cmdUnReDo,
                                                       cmdRevert, cmdXform, cmdFrac, picChip})
        w->setEnabled(false);
}

void TileEditorWindow::lockForRun()
{
    lockForExport({});
    closeEndsLock_ = true;
}

void TileEditorWindow::unlock()
{
    locked_ = false;
    closeEndsLock_ = false;
    grab_ = {};
    for (QWidget *w :
         std::initializer_list<QWidget *>{Frame1[0], Frame1[1], Frame1[2], cmdGrids, cmdView,
                                          cmdFiles, cmdPan, cmdRevert, cmdXform, cmdFrac, picChip})
        w->setEnabled(true);
    undoStateChanged();
    if (handBackPending_ && loaded_ && isVisible())
        Form_Activate();
}

void TileEditorWindow::restoreViewState(const ViewState &state)
{
    view_ = state.view;
    lineWidth_ = state.lineWidth;
    setWindowTitle(QString::fromStdString(view_.caption()));
    Form_Resize();
}

} // namespace tessella
