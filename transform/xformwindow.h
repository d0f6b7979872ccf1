// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/document.h"
#include "platform/dialogs.h"
#include "transform/chain.h"
#include "transform/editing.h"
#include "transform/sketchstore.h"
#include "transform/sketchwindow.h"
#include "transform/transformations.h"
#include "transform/xformview.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollBar;

namespace tessella {

class XformCanvas;

// What the transform editor window asks of the rest of the application; it never sees
// the tile editor itself.
struct XformCallbacks
{
    // "return to tiles" or exit: the tile editor takes xfReturn (once) and shows itself.
    // On Exit the transform is over: its undo button and transform caption come back.
    std::function<void(HandBack)> handBack;
    // The window was unloaded (exit answered Yes, or the application ends): its owner
    // may delete it.
    std::function<void()> unloaded;
    // The "sketch" button with a polygon that may be sketched on: opens the palette.
    std::function<void()> openSketchTools;
    // Tile tables outside the document that hold sketch run references (undo, fractal),
    // rewritten when a full sketch table is reclaimed.
    std::function<std::vector<std::vector<Tile> *>()> sketchSnapshots;
};

// The transform editor `frmXform`: the drawing surface with its pan bars and prompt,
// the transformation and view lists, the curve controls and the commands. The chain,
// the transformations and the point editing are the model's; the view arithmetic is
// XformView; this class wires them to the controls.
class XformWindow : public QWidget, public EditingHost, public SketchPaletteHost
{
    Q_OBJECT
public:
    enum ViewEntry {
        ViewCurves = 0,
        ViewTileOutline = 1,
        ViewPrompts = 2,
        ViewBoundary = 3,
        ViewSketches = 4,
        ViewXformPreview = 5
    };

    XformWindow(Document &doc, Dialogs &dialogs, XformCallbacks callbacks = {},
                QWidget *parent = nullptr);
    ~XformWindow() override;

    // Opening on doc.xfTile, or on the saved chain when doc.xfResume is set. A restored
    // chain is handed back where its display copy lay when `displayVertex0` is given.
    // False when there is no polygon to open.
    bool Form_Load(std::optional<Vertex> displayVertex0 = std::nullopt);

    // Writes the polygon into xfReturn and the chain into nodeRecs and stores changed
    // sketch items, as both "return to tiles" and exit do before handing back (also run
    // before a save). False, after the message, when the sketch table cannot take the
    // items even after reclaiming unreferenced runs.
    bool writeBack();

    // Commands.
    void cmdReturn_Click();
    // Exit; true when the window was unloaded.
    bool cmdExit_Click();
    void cmdXforms_Click();
    void cmdViews_Click();
    void cmdCurves_Click();
    void cmdClear_Click();
    void cmdDoodle_Click();
    void lstXforms_Click(int index);
    void lstViews_Click();
    void hscnPoints_Change(int value);

    // Zoom keys; false for keys the window leaves to the focused control.
    bool form_KeyDown(int key);

    // The window's clearWants (also the TransformHost's).
    void clearWants() override;

    // TransformHost / EditingHost.
    void redraw() override;
    void setNotice(const std::string &text) override;
    void showXformIndex(int index) override;
    void hideXformList() override;
    void curveModeOff() override;
    void surfaceResized() override;
    void showTotal(long points) override;
    void showSegmentPoints(int value) override;
    void drawDot(double x, double y, Colour colour, double radius) override;
    void curveModeOn() override;
    void closeSketchTools() override;

    // State for the sketch tools and for tests.
    Chain &chain() { return chain_; }
    Transformations &transformations() { return xforms_; }
    PointEditor &pointEditor() { return editor_; }
    SketchWorkingCopy &sketches() { return work_; }
    const XformView &view() const { return view_; }
    XformCanvas *canvas() const { return picBox; }
    const Tile &windowTile() const { return windowTile_; }
    bool viewSelected(int entry) const;
    bool cancelExit() const { return cancelExit_; }
    // The sketch tools palette while it is open (nullptr otherwise); the sketch tool
    // flags are read from it.
    SketchWindow *sketchWindow() const;
    bool sketchToolsOpen() const { return sketchWindow() != nullptr; }
    bool deleteToolOn() const;
    bool curveUnderway() const;

    // SketchPaletteHost.
    SketchWorkingCopy &sketchWork() override { return work_; }
    double sketchReach() const override;
    void sketchesRedraw() override { redraw(); }
    void focusSurface() override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    QPushButton *makeButton(const char *name, const QString &caption);
    void layoutControls();
    // The drawing region: the window below the control strip, less the pan bars.
    QRect drawingRegion() const;
    void alignScrolls();
    void placeCanvas();
    void placeNotice();
    void hscPan_Change(int value);
    void vscPan_Change(int value);
    // Arrow keys in the transformations list choose as a click does; true when handled.
    bool lstXforms_KeyDown(int key);
    void updateCaption();
    void unload();
    // cmdDoodle without an openSketchTools callback: shows the palette `frmDoodle`.
    void openSketchPalette();

    void picBox_MouseDown(int button, double x, double y);
    void picBox_MouseMove(int buttons, double x, double y);
    void picBox_MouseUp(int button, double x, double y);

    Document &doc_;
    Dialogs &dialogs_;
    XformCallbacks callbacks_;
    Tile windowTile_;
    Chain chain_;
    SketchWorkingCopy work_;
    Transformations xforms_;
    PointEditor editor_;
    XformView view_;

    XformCanvas *picBox = nullptr;
    QPointer<SketchWindow> frmDoodle;
    QLabel *lblNotice = nullptr;
    QScrollBar *hscPan = nullptr;
    QScrollBar *vscPan = nullptr;
    QPushButton *cmdXforms = nullptr;
    QListWidget *lstXforms = nullptr;
    QPushButton *cmdViews = nullptr;
    QListWidget *lstViews = nullptr;
    QPushButton *cmdCurves = nullptr;
    QPushButton *cmdClear = nullptr;
    QPushButton *cmdDoodle = nullptr;
    QPushButton *cmdReturn = nullptr;
    QPushButton *cmdExit = nullptr;
    QScrollBar *hscnPoints = nullptr;
    QLineEdit *txtnPoints = nullptr;
    QLineEdit *txtTotal = nullptr;

    bool loaded_ = false;
    bool cancelExit_ = false;
    bool unloading_ = false;
    bool layingOut_ = false;
};

} // namespace tessella
