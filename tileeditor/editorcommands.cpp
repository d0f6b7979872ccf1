// SPDX-License-Identifier: GPL-3.0-or-later
// The tile editor's buttons, mode panels and lists.
#include "tileeditor/tileeditorwindow.h"

#include "document/compaction.h"
#include "platform/imagesurface.h"
#include "tileeditor/canvaswidget.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace tessella {

namespace {

constexpr Colour kTilesPanelColour = 0xffe0e0;
constexpr Colour kSelectPanelColour = 0xc0ffff;
constexpr Colour kActionPanelColour = 0xc0ffc0;
constexpr Colour kListColour = 0xf7f7f7;
constexpr Colour kPanColour = 0x8080ff;

QString backgroundStyle(Colour colour)
{
    return QString("background-color: %1;").arg(toQColor(colour).name());
}

void selectRow(QListWidget *list, int row)
{
    const QSignalBlocker blocker(list);
    list->setCurrentRow(row);
}

} // namespace

void TileEditorWindow::setActivePanel(Panel panel)
{
    activePanel_ = panel;
    paintPanels();
}

void TileEditorWindow::paintPanels()
{
    struct PanelControls
    {
        Panel panel;
        QPushButton *button;
        QListWidget *list;
        Colour colour;
    };
    const PanelControls panels[] = {{Panel::Tiles, cmdTiles, lstTiles, kTilesPanelColour},
                                    {Panel::Select, cmdSelect, lstSelect, kSelectPanelColour},
                                    {Panel::Action, cmdAction, lstAction, kActionPanelColour}};
    for (const PanelControls &p : panels) {
        const bool active = p.panel == activePanel_;
        p.button->setStyleSheet(active ? backgroundStyle(p.colour) : QString());
        p.list->setStyleSheet(backgroundStyle(active ? p.colour : kListColour));
    }
}

void TileEditorWindow::setCanvasPointer(Qt::CursorShape shape)
{
    picBox->setCursor(shape);
}

void TileEditorWindow::setChipColour(Colour colour)
{
    chip_.setColour(colour);
    showChip();
}

void TileEditorWindow::hideLists()
{
    lstViews->hide();
    lstFiles->hide();
    lstGrids->hide();
}

void TileEditorWindow::endPanMode()
{
    if (!panMode_)
        return;
    panMode_ = false;
    cmdPan->setStyleSheet(QString());
    setCanvasPointer(savedPointer_);
}

void TileEditorWindow::cancelPending()
{
    endPanMode();
    hideLists();
    endPointerGestures();
    rightPan_ = false;
    chip_.disarm();
    showChip();
    Form_Resize();
}

void TileEditorWindow::resetModes()
{
    hideLists();
    endPanMode();
    selectRow(lstAction, 8);
    selectRow(lstSelect, 8);
    selectRow(lstTiles, 0);
    tileAction_ = 0;
    setActivePanel(Panel::Tiles);
    lstTiles->setEnabled(true);
    endPointerGestures();
    Form_Resize();
    setCanvasPointer(Qt::CrossCursor);
    chip_.disarm();
    showChip();
}

void TileEditorWindow::cmdTiles_Click()
{
    cancelPending();
    const int row = lstTiles->currentRow();
    setCanvasPointer(row == 0 || row == 6 ? Qt::CrossCursor : Qt::ArrowCursor);
    // The other lists are reset with their clicks suppressed.
    selectRow(lstSelect, 8);
    selectRow(lstAction, 8);
    setActivePanel(Panel::Tiles);
}

void TileEditorWindow::cmdSelect_Click()
{
    cancelPending();
    setCanvasPointer(lstSelect->currentRow() == 6 ? Qt::CrossCursor : Qt::ArrowCursor);
    selectRow(lstTiles, 0);
    selectRow(lstAction, 8);
    setActivePanel(Panel::Select);
}

void TileEditorWindow::cmdAction_Click()
{
    setCanvasPointer(Qt::ArrowCursor);
    selectRow(lstSelect, 8);
    selectRow(lstTiles, 0);
    setActivePanel(Panel::Action);
}

void TileEditorWindow::cmdGrids_Click()
{
    if (lstGrids->isVisible()) {
        lstGrids->hide();
        return;
    }
    cancelPending();
    showPopup(lstGrids, cmdGrids);
}

void TileEditorWindow::cmdView_Click()
{
    if (lstViews->isVisible()) {
        lstViews->hide();
        return;
    }
    cancelPending();
    showPopup(lstViews, cmdView);
}

void TileEditorWindow::cmdFiles_Click()
{
    if (chip_.armed())
        return;
    if (lstFiles->isVisible()) {
        lstFiles->hide();
        return;
    }
    if (!fractalPanelOpen()) {
        cancelPending();
        endPanMode();
    }
    showPopup(lstFiles, cmdFiles);
}

void TileEditorWindow::cmdPan_Click()
{
    if (chip_.armed())
        return;
    if (!panMode_) {
        cancelPending();
        panMode_ = true;
        cmdPan->setStyleSheet(backgroundStyle(kPanColour));
        savedPointer_ = picBox->cursor().shape();
        setCanvasPointer(Qt::OpenHandCursor);
        return;
    }
    endPanMode();
}

void TileEditorWindow::cmdUnReDo_Click()
{
    if (chip_.armed() || newTile_.active())
        return;
    undo_.pressed(doc_);
    undoStateChanged();
    Form_Resize();
}

void TileEditorWindow::cmdRevert_Click()
{
    files_->revertSession();
}

void TileEditorWindow::cmdXform_Click()
{
    if (chip_.armed())
        return;
    if (!doc_.xformOpen) {
        pickForTransform_ = true;
        resetModes();
        return;
    }
    // The display copy of the pending polygon leaves the tiling while it is edited. Before
    // the first hand-back there is none, and no other tile may go in its place.
    std::optional<Vertex> displayCorner;
    if (const int shown = doc_.displayCopy(); shown >= 0) {
        const Tile &display = doc_.tiles[std::size_t(shown)];
        if (display.usableVerts() > 0)
            displayCorner = display.verts[0];
        doc_.tiles[std::size_t(shown)].deleted = kTrue;
        compresT(doc_);
        doc_.xfEditorOnly = true;
    }
    resetModes();
    if (hooks_.showTransformEditor) {
        hide();
        hooks_.showTransformEditor(displayCorner);
    }
}

void TileEditorWindow::cmdFrac_Click()
{
    // As "tiles" the button closes the panel whatever the tiles are.
    if (fractalPanelOpen() || doc_.tileCount() > 1) {
        if (hooks_.fractal)
            hooks_.fractal->fractalButton();
        return;
    }
    dialogs_.message("load or create a tessellation");
}

void TileEditorWindow::lstTiles_Click(int index)
{
    if (listClickSuppressed_)
        return;
    endPanMode();
    if (activePanel_ != Panel::Tiles)
        cmdTiles_Click();
    doc_.dirty = true;
    setCanvasPointer(index == 0 || index == 6 ? Qt::CrossCursor : Qt::ArrowCursor);
    tileAction_ = static_cast<int16_t>(index);
    hideLists();
}

void TileEditorWindow::lstGrids_Click(int index)
{
    if (doc_.xformOpen) {
        dialogs_.message("please close transform editor before changing grids");
        selectRow(lstGrids, curGrid_);
        lstGrids->hide();
        return;
    }
    if (index == GridNone) {
        selectRow(lstGrids, curGrid_);
        return;
    }
    if (index == curGrid_)
        return;
    curGrid_ = static_cast<int16_t>(index);
    doc_.grid = curGrid_;
    resetModes();
    lstGrids->hide();
    Form_Resize();
}

void TileEditorWindow::lstViews_Click()
{
    QListWidgetItem *heavy = lstViews->item(0);
    QListWidgetItem *lines = lstViews->item(1);
    {
        const QSignalBlocker blocker(lstViews);
        if (heavy->isSelected() && !prevHeavy_) {
            lines->setSelected(true);
            prevHeavy_ = prevLines_ = true;
        } else if (!lines->isSelected() && prevLines_) {
            heavy->setSelected(false);
            prevHeavy_ = prevLines_ = false;
        }
    }
    applyLineWidth();
    Form_Resize();
}

void TileEditorWindow::lstFiles_Click(int index)
{
    lstFiles->hide();
    endPanMode();
    files_->run(index);
}

} // namespace tessella
