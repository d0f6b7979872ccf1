// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fractal/animationpanel.h"
#include "fractal/fractalhost.h"
#include "fractal/fractalstate.h"
#include "fractal/referenceshape.h"
#include "fractal/render.h"
#include "fractal/swatches.h"
#include "platform/dialogs.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace tessella {

class TilingDrawer;

// The fractal panel: the mapping controls, "render"/"restore", "skeleton", the colour
// shifts with their swatch strips, and the key-frame animation below them ("animate").
// It stays above the tile editor, whose canvas serves the reference shape and the
// key-frame handles while the panel is open. Units: plane units, slider values.
class FractalPanel : public QWidget, private AnimationHost
{
    Q_OBJECT
public:
    FractalPanel(FractalState &state, FractalHost &host, Dialogs &dialogs,
                 QWidget *parent = nullptr);
    ~FractalPanel() override;

    // Opening: colour shifts on, the undo button kept and disabled, the fractal backup
    // taken, the editor's button shows "tiles".
    void open();
    // Closing (the "close" button, the close box, "tiles"): the rendering restored, the
    // undo button given back, colour shifts off, the editor redrawn.
    void closePanel();
    bool isOpen() const { return open_; }
    bool renderingShown() const override { return state_.fractalRendered; }

    // The render button's "restore" while a rendering is shown.
    void restoreRendering();
    // After a load or a clear while the panel is open: the backup holds the new tiles.
    void documentReplaced();

    // The tile editor's full redraw while a rendering is shown: maps the backup's tiles
    // into the canvas extent and draws them.
    void drawPicture(TilingDrawer &drawer, double extentWidth, double extentHeight);
    // The reference shape over the tiling (nothing while rendered or without a circle).
    void drawOverlay(Surface &surface);
    // Pointer on the canvas while open; false when the press goes on to the pan.
    bool pointerPress(int button, double x, double y, double tolerance);
    bool pointerMove(double x, double y);
    void pointerRelease();

    // The four swatch strips as last painted (for tests).
    const SwatchStrips &swatches() const { return swatches_; }
    AnimationPanel *animation() const { return animation_; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    QScrollBar *makeSlider(const char *name, int min, int max, int value, int large,
                           const QString &tip);
    QLabel *makeLabel(const char *name, const QString &text);
    void describe(QWidget *w, const QString &tip);
    void readControls();
    void applyVisibility();
    void showAnimation(bool on);

    // AnimationHost
    void storeKeyFrame(int k) override;
    void loadKeyFrame(int k) override;
    FrameSettings liveSettings() const override;
    PanelValues panelValues() const override;
    void setPanelValues(const PanelValues &values) override;
    void RenderClean() override;
    void renderWith(const FrameSettings &frame) override;
    bool pressRender() override;
    void setRunning(bool on) override;

    void cmdRender_Click();
    void chkBound_Click();
    void mappingChanged(); // size, squareness, falloff, base, granularity, method, decay
    void variantChanged(); // pinch amount, wave amplitude and phase
    void colourChanged();  // hue, value
    void readColours();
    void paintSwatches();

    FractalState &state_;
    FractalHost &host_;
    Dialogs &dialogs_;
    ReferenceGestures gestures_;
    SwatchStrips swatches_;
    bool open_ = false;
    bool keptUndo_ = false;
    bool loading_ = false;       // the sliders are being set from a key frame or a file
    bool closeAfterRun_ = false; // a close request waits for the run to end
    QList<QPair<QWidget *, bool>> enabledBeforeRun_;
    AnimationPanel *animation_ = nullptr;

    QScrollBar *hscSize = nullptr;
    QScrollBar *hscSquare = nullptr;
    QScrollBar *hscFalloff = nullptr;
    QScrollBar *hscBase = nullptr;
    QScrollBar *hscGranularity = nullptr;
    QScrollBar *hscPinch = nullptr;
    QScrollBar *hscAmp = nullptr;
    QScrollBar *hscPhi = nullptr;
    QScrollBar *hscHue = nullptr;
    QScrollBar *hscVal = nullptr;
    QLabel *lblSize = nullptr;
    QLabel *lblFalloff = nullptr;
    QLabel *lblBase = nullptr;
    QLabel *lblHue = nullptr;
    QLabel *lblVal = nullptr;
    QLabel *Label1 = nullptr; // "base"
    QLabel *Label3 = nullptr; // "falloff"
    QLabel *lblFine = nullptr;
    QLabel *lblCoarse = nullptr;
    QLabel *lblPinchSide = nullptr;
    QLabel *lblBloat = nullptr;
    QLabel *lblAmp = nullptr;
    QLabel *lblPhi = nullptr;
    QLabel *pbColrFrom = nullptr;
    QLabel *pbColrTo = nullptr;
    QLabel *pbValFrom = nullptr;
    QLabel *pbValTo = nullptr;
    QRadioButton *optExp = nullptr;
    QRadioButton *optHyp = nullptr;
    QRadioButton *optInward = nullptr;
    QRadioButton *optOutward = nullptr;
    QCheckBox *chkCSenable = nullptr;
    QCheckBox *chkPinch = nullptr;
    QCheckBox *chkWave = nullptr;
    QCheckBox *chkBound = nullptr;
    QPushButton *cmdRender = nullptr;
    QPushButton *cmdAnimate = nullptr;
    QPushButton *cmdClose = nullptr;
};

} // namespace tessella
