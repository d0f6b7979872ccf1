// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/document.h"
#include "document/undo.h"
#include "platform/apppaths.h"
#include "platform/dialogs.h"
#include "tileeditor/colourchip.h"
#include "tileeditor/editorhooks.h"
#include "tileeditor/editorhost.h"
#include "tileeditor/filecommands.h"
#include "tileeditor/newtileentry.h"
#include "tileeditor/selection.h"
#include "tileeditor/tilegestures.h"
#include "tileeditor/transformpick.h"
#include "tileeditor/view/planeview.h"

#include <QWidget>

#include <memory>
#include <optional>

class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace tessella {

class CanvasWidget;

// The tile editor, the application's main window: the canvas, the three mode panels
// with their command lists, the pop-up grid, view and files lists and the command
// buttons. Drawing, view arithmetic, file commands, selection and the pointer gestures
// live in plain classes; this class wires them to the controls.
class TileEditorWindow : public QWidget, public FilesHost, public EditorHost
{
    Q_OBJECT
public:
    enum class Panel { Tiles, Select, Action };

    TileEditorWindow(Document &doc, Dialogs &dialogs, AppPaths paths, EditorHooks hooks = {},
                     QWidget *parent = nullptr);
    ~TileEditorWindow() override;

    // Start-up after construction: loads `commandLineFile` when not empty.
    void Form_Load(const QString &commandLineFile);
    // The window becomes active after a hand-back: appends `xfReturn` once per hand-back.
    void Form_Activate();
    // The transform editor hands its polygon back (`xfReturn`, "return to tiles" or
    // "exit"): the buttons follow the transform state, the window shows itself and its
    // activation appends the polygon once. After a return it is the display copy that
    // "return to transform" takes out again.
    void takeHandBack(HandBack how);
    // The tile tables outside the document that hold sketch run references (the undo
    // and fractal snapshots), for reclaiming the sketch table.
    std::vector<std::vector<Tile> *> snapshotTables();
    // The one full redraw.
    void Form_Resize();
    void resetModes();
    void cancelPending();
    void hideLists();
    void endPanMode();

    Document &document() { return doc_; }
    UndoHistory &undoHistory() { return undo_; }
    FractalSnapshot &fractalSnapshot() { return fractal_; }
    FileCommands &fileCommands() { return *files_; }
    const PlaneView &view() const { return view_; }
    CanvasWidget *canvas() const { return picBox; }
    bool panMode() const { return panMode_; }
    bool spaceDown() const { return spaceDown_; }
    int16_t curGrid() const { return curGrid_; }
    Panel activePanel() const { return activePanel_; }
    Colour chipColour() const { return chip_.colour(); }
    const TileGestures &gestures() const { return gestures_; }
    const NewTileEntry &newTile() const { return newTile_; }
    const SelectionTool &selection() const { return selection_; }
    bool pickForTransform() const { return pickForTransform_; }
    bool pickColor() const { return chip_.armed(); }
    int canvasLineWidth() const { return lineWidth_; }
    void setSkipActivate() { skipActivate_ = true; }

    // The image export works on the editor: while locked, every command, key, dropped file
    // and close request is ignored and the canvas pointer goes to `grab` alone.
    void lockForExport(CanvasGrab grab);
    // An animation run shows its frames here: locked as for an export, but a close request
    // goes through (the run sees it and stops).
    void lockForRun();
    void unlock();
    bool locked() const { return locked_; }
    // The view the export keeps and puts back: zoom, canvas position, line width.
    struct ViewState
    {
        PlaneView view;
        int lineWidth = 1;
    };
    ViewState viewState() const { return {view_, lineWidth_}; }
    // Puts a kept view back: caption and full redraw.
    void restoreViewState(const ViewState &state);
    // The view list's "heavy" entry is selected.
    bool heavyLines() const { return viewSelected(0); }

    // FilesHost
    void fullRedraw() override { Form_Resize(); }
    void resetZoom() override;
    double halfCanvasWidth() const override;
    double halfCanvasHeight() const override;
    void documentReplaced() override;
    bool storePendingTransform() override;
    bool fractalShown() const override;
    void renderFractal() override;
    // The fractal panel is open (the canvas's pointer serves it).
    bool fractalPanelOpen() const;
    // What the fractal panel drives: the view slots (0 editing, 1 render), the "/" key with
    // its redraw, the "fractal"/"tiles" caption, the reference overlay, "skeleton".
    void saveView(int slot);
    void restoreView(int slot);
    void resetZoomKey();
    void setFractalCaption(const QString &caption);
    void redrawOverlay();
    void setSkeleton(bool on);
    // What "save image" draws while a rendering is shown (empty otherwise).
    FractalLink::Scene fractalExportScene(double left, double top, double width,
                                          double height) const;
    void saveImage() override;
    void closeApplication() override;
    void undoStateChanged() override;

    // EditorHost
    Surface &canvasSurface() override;
    DrawSettings drawSettings() const override;
    bool spaceHeld() const override { return spaceDown_; }
    void refreshBackground() override { Form_Resize(); }
    void previewsDrawn() override;
    void undoButtonChanged() override { undoStateChanged(); }
    void showRotationLabel(const std::string &caption, double x, double y) override;
    void setRotationLabel(const std::string &caption) override;
    void hideRotationLabel() override;
    const TileBoxIndex *tileBoxes() const override { return &tileBoxes_; }
    void tilesMovedInPlace() override { tileBoxes_.invalidate(); }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    // A dropped ".mvl" file is opened as "load state" opens one; anything else is refused.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildControls();
    void layoutControls();
    // The desktop's standard keys for "load state", "save state", undo and "exit".
    void installShortcuts();
    // Not while a text box has the focus or a pointer gesture is under way.
    bool shortcutAllowed() const;
    QPushButton *makeButton(const char *name, const QString &caption);
    QListWidget *makeList(const char *name, const QStringList &items);
    void showPopup(QListWidget *list, QPushButton *under);
    // The transform button's caption and the undo button from the transform state.
    void refreshTransformState();

    // Key handlers; return false for keys they leave to the focused control.
    bool form_KeyDown(int key);
    void Form_KeyUp();

    // Buttons and lists.
    void cmdTiles_Click();
    void cmdSelect_Click();
    void cmdAction_Click();
    void cmdGrids_Click();
    void cmdView_Click();
    void cmdFiles_Click();
    void cmdPan_Click();
    void cmdUnReDo_Click();
    void cmdRevert_Click();
    void cmdXform_Click();
    void cmdFrac_Click();
    void lstTiles_Click(int index);
    void lstSelect_Click(int index);
    void lstAction_Click(int index);
    void lstGrids_Click(int index);
    void lstViews_Click();
    void lstFiles_Click(int index);
    void setActivePanel(Panel panel);
    void paintPanels();
    void setCanvasPointer(Qt::CursorShape shape);
    void setChipColour(Colour colour);
    void applyLineWidth();
    bool viewSelected(int index) const;

    // Pointer on the canvas (plane units).
    void picBox_MouseDown(int button, double x, double y);
    void picBox_MouseMove(int buttons, double x, double y);
    void picBox_MouseUp(int button, double x, double y);
    // The colour chip pressed with a button (1 left, 2 right).
    void picChip_MouseDown(int button);
    void showChip();
    // The canvas pointer after a colour pick: the cross where the mode places points.
    void restorePointerAfterPick();
    // Ends gestures, marquee and new-tile entry (`cancelPending`, `resetModes`).
    void endPointerGestures();

    Document &doc_;
    Dialogs &dialogs_;
    AppPaths paths_;
    EditorHooks hooks_;
    UndoHistory undo_;
    FractalSnapshot fractal_;
    ColourChip chip_;
    SelectionTool selection_;
    TileGestures gestures_;
    NewTileEntry newTile_;
    TransformPick transformPick_;
    TileBoxIndex tileBoxes_; // taken at every full redraw
    std::unique_ptr<FileCommands> files_;
    PlaneView view_;

    CanvasWidget *picBox = nullptr;
    QGroupBox *Frame1[3] = {};
    QListWidget *lstTiles = nullptr;
    QListWidget *lstSelect = nullptr;
    QListWidget *lstAction = nullptr;
    QPushButton *cmdTiles = nullptr;
    QPushButton *cmdSelect = nullptr;
    QPushButton *cmdAction = nullptr;
    QPushButton *cmdGrids = nullptr;
    QListWidget *lstGrids = nullptr;
    QPushButton *cmdView = nullptr;
    QListWidget *lstViews = nullptr;
    QPushButton *cmdFiles = nullptr;
    QListWidget *lstFiles = nullptr;
    QPushButton *cmdPan = nullptr;
    QPushButton *cmdUnReDo = nullptr;
    QPushButton *cmdRevert = nullptr;
    QPushButton *cmdXform = nullptr;
    QPushButton *cmdFrac = nullptr;
    QLabel *picChip = nullptr;
    QLabel *lblRotval = nullptr;
    QLabel *pDest = nullptr;

    int16_t curGrid_ = GridRectangular;
    int16_t tileAction_ = 0;
    bool prevHeavy_ = false;
    bool prevLines_ = true;
    bool spaceDown_ = false;
    bool pickForTransform_ = false;
    bool skipActivate_ = false;
    bool handBackPending_ = true; // the start-up activation appends the empty tile
    bool handBackIsDisplayCopy_ = false;
    bool listClickSuppressed_ = false;
    bool panMode_ = false;
    bool rightPan_ = false;
    double panAnchorX_ = 0;
    double panAnchorY_ = 0;
    Qt::CursorShape savedPointer_ = Qt::CrossCursor;
    int lineWidth_ = 1;
    Panel activePanel_ = Panel::Tiles;
    bool loaded_ = false;
    bool closeApproved_ = false;
    bool locked_ = false;
    bool closeEndsLock_ = false;
    CanvasGrab grab_;
    std::optional<PlaneView> savedViews_[2];
};

} // namespace tessella
