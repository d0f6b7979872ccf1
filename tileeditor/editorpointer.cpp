// SPDX-License-Identifier: GPL-3.0-or-later
// The tile editor's pointer on the canvas and the colour chip, the select and group lists,
// and what the pointer logic needs from the window.
#include "tileeditor/tileeditorwindow.h"

#include "platform/imagesurface.h"
#include "tileeditor/canvaswidget.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <cmath>

namespace tessella {

namespace {

enum SelectEntry : int {
    SelectTile = 0,
    SelectAll = 1,
    SelectNone = 2,
    SelectInvert = 3,
    SelectByColor = 4,
    SelectMarqueeTiles = 5,
    SelectVertex = 6,
    SelectMarqueeVertices = 7,
    SelectNothing = 8,
};

bool isTileGesture(int row)
{
    return (row >= TileRotate && row <= TileVertex) || row == TileDelete;
}

bool isGroupGesture(int row)
{
    return (row >= GroupRotate && row <= GroupMove) || row == GroupVertex;
}

} // namespace

Surface &TileEditorWindow::canvasSurface()
{
    return picBox->surface();
}

DrawSettings TileEditorWindow::drawSettings() const
{
    DrawSettings settings;
    settings.grid = curGrid_;
    settings.lines = viewSelected(1);
    settings.fills = viewSelected(2);
    settings.sketches = viewSelected(3);
    if (hooks_.fractal)
        hooks_.fractal->applyDrawSettings(settings);
    return settings;
}

void TileEditorWindow::previewsDrawn()
{
    picBox->update();
}

void TileEditorWindow::showRotationLabel(const std::string &caption, double x, double y)
{
    setRotationLabel(caption);
    // The label's corner sits at the plane point, over the canvas.
    const double zoom = view_.zoom();
    const QPoint offset = picBox->canvasOffset();
    const double px = std::floor(x * zoom) - offset.x() + picBox->x();
    const double py = std::floor(y * zoom) - offset.y() + picBox->y();
    if (std::isfinite(px) && std::isfinite(py))
        lblRotval->move(int(std::clamp(px, -1e6, 1e6)), int(std::clamp(py, -1e6, 1e6)));
    lblRotval->show();
    lblRotval->raise();
}

void TileEditorWindow::setRotationLabel(const std::string &caption)
{
    lblRotval->setText(QString::fromStdString(caption));
    lblRotval->adjustSize();
}

void TileEditorWindow::hideRotationLabel()
{
    lblRotval->hide();
}

void TileEditorWindow::showChip()
{
    picChip->setStyleSheet(QString("background-color: %1;").arg(toQColor(chip_.colour()).name()));
    picChip->setFrameStyle(chip_.raised() ? QFrame::Panel | QFrame::Raised : QFrame::NoFrame);
}

void TileEditorWindow::picChip_MouseDown(int button)
{
    if (chip_.pressed(button))
        setCanvasPointer(Qt::ArrowCursor);
    showChip();
}

void TileEditorWindow::restorePointerAfterPick()
{
    const bool placesPoints =
        (activePanel_ == Panel::Tiles &&
         (lstTiles->currentRow() == TileNew || lstTiles->currentRow() == TileVertex)) ||
        (activePanel_ == Panel::Action && lstAction->currentRow() == GroupVertex);
    setCanvasPointer(placesPoints ? Qt::CrossCursor : Qt::ArrowCursor);
}

void TileEditorWindow::endPointerGestures()
{
    gestures_.cancel();
    selection_.cancelMarquee();
    newTile_.reset();
}

void TileEditorWindow::picBox_MouseDown(int button, double x, double y)
{
    if (fractalPanelOpen()) {
        // The fractal panel serves the pointer; a right drag off its handles pans.
        const double tolerance = 6 / view_.zoom();
        if (panMode_ || (!hooks_.fractal->pointerPress(button, x, y, tolerance) && button == 2)) {
            rightPan_ = !panMode_;
            panAnchorX_ = x;
            panAnchorY_ = y;
        }
        return;
    }
    if (button == 2) {
        if (newTile_.active())
            newTile_.rightPress();
        return;
    }
    if (button != 1)
        return;
    if (pickForTransform_) {
        pickForTransform_ = false;
        if (transformPick_.pick(x, y)) {
            cmdXform->setText("return to transform");
            if (hooks_.showTransformEditor)
                hooks_.showTransformEditor(std::nullopt);
        }
        return;
    }
    if (chip_.armed()) {
        chip_.pick(x, y);
        showChip();
        restorePointerAfterPick();
        return;
    }
    const int selectRow = lstSelect->currentRow();
    if (panMode_) {
        panAnchorX_ = x;
        panAnchorY_ = y;
        return;
    }
    if (selectRow == SelectMarqueeTiles || selectRow == SelectMarqueeVertices) {
        selection_.startMarquee(x, y);
        return;
    }
    // A new tile being entered is a gesture under way too: tile actions wait for it.
    const bool entering = newTile_.active();
    if (isTileGesture(lstTiles->currentRow())) {
        if (!entering || TileGestures::actsWhileBusy(lstTiles->currentRow()))
            gestures_.tilePress(lstTiles->currentRow(), x, y);
        return;
    }
    if (isGroupGesture(lstAction->currentRow())) {
        if (!entering)
            gestures_.groupPress(lstAction->currentRow(), x, y);
        return;
    }
    if (activePanel_ == Panel::Select) {
        if (selectRow == SelectTile)
            selection_.pressTile(x, y);
        else if (selectRow == SelectByColor)
            selection_.pressByColor(x, y);
        else if (selectRow == SelectVertex)
            selection_.pressVertex(x, y);
        return;
    }
    if (activePanel_ == Panel::Tiles)
        newTile_.press(x, y);
}

void TileEditorWindow::picBox_MouseMove(int buttons, double x, double y)
{
    if (((buttons & 1) && panMode_) || rightPan_) {
        view_.panBy(x - panAnchorX_, y - panAnchorY_);
        Form_Resize();
        return;
    }
    if (fractalPanelOpen()) {
        hooks_.fractal->pointerMove(x, y);
        return;
    }
    if (newTile_.active()) {
        newTile_.move(x, y);
        return;
    }
    if (selection_.marqueeActive()) {
        if (buttons & 1)
            selection_.drawMarquee(x, y);
        return;
    }
    gestures_.drag(x, y);
}

void TileEditorWindow::picBox_MouseUp(int button, double x, double y)
{
    rightPan_ = false;
    if (fractalPanelOpen()) {
        hooks_.fractal->pointerRelease();
        return;
    }
    if (button != 1)
        return;
    if (selection_.marqueeActive()) {
        selection_.endMarquee(x, y, lstSelect->currentRow() == SelectMarqueeVertices);
        return;
    }
    if (!newTile_.active())
        gestures_.release(x, y);
}

void TileEditorWindow::lstSelect_Click(int index)
{
    if (listClickSuppressed_)
        return;
    // A shown fractal picture holds mapped copies: act on the real tiles.
    if (fractalShown())
        renderFractal();
    endPanMode();
    if (activePanel_ != Panel::Select)
        cmdSelect_Click();
    doc_.dirty = true;
    setCanvasPointer(Qt::ArrowCursor);
    switch (index) {
    case SelectAll:
        selectAllTiles(doc_, curGrid_);
        break;
    case SelectNone:
        selectNoTiles(doc_, curGrid_);
        break;
    case SelectInvert:
        invertTileSelection(doc_, curGrid_);
        break;
    case SelectVertex:
        setCanvasPointer(Qt::CrossCursor);
        break;
    case SelectNothing:
        resetModes();
        break;
    default:
        break;
    }
    hideLists();
    Form_Resize();
}

void TileEditorWindow::lstAction_Click(int index)
{
    if (listClickSuppressed_)
        return;
    if (fractalShown())
        renderFractal();
    if (activePanel_ != Panel::Action)
        cmdAction_Click();
    doc_.dirty = true;
    switch (gestures_.chooseGroupAction(index)) {
    case TileGestures::Choice::NoTiles:
        dialogs_.message(kNoTilesSelected);
        if (index != GroupRecolor)
            cmdSelect_Click();
        break;
    case TileGestures::Choice::NoVertices:
        dialogs_.message(kNoVerticesSelected);
        cmdSelect_Click();
        break;
    case TileGestures::Choice::Deleted: {
        const QSignalBlocker blocker(lstAction);
        lstAction->setCurrentRow(GroupNone);
        break;
    }
    case TileGestures::Choice::Reset:
        resetModes();
        break;
    default:
        break;
    }
    hideLists();
    Form_Resize();
}

} // namespace tessella
