// SPDX-License-Identifier: GPL-3.0-or-later
#include "fractal/fractalpanel.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

namespace tessella {

namespace {

constexpr int kPanelWidth = 520;
constexpr int kPanelHeight = 4185 / 15; // twips to pixels
constexpr int kAnimatedHeight = 9225 / 15;

QString decimal(double v)
{
    return QString::number(v, 'g', 6);
}

} // namespace

FractalPanel::FractalPanel(FractalState &state, FractalHost &host, Dialogs &dialogs,
                           QWidget *parent)
    : QWidget(parent, Qt::Tool), state_(state), host_(host), dialogs_(dialogs),
      gestures_(
          state_, [this](int k) { storeKeyFrame(k); },
          [this](int value) { hscSquare->setValue(value); })
{
    setObjectName("frmFractal");
    setWindowTitle("fractal");
    buildControls();
    resize(kPanelWidth, kPanelHeight);
}

FractalPanel::~FractalPanel() = default;

void FractalPanel::readControls()
{
    // One conversion for the panel, the key-frame file and the frames of a run.
    state_.params = frameSettingsFrom(panelValues(), state_.params).params;
    const MappingParams &p = state_.params;
    lblSize->setText(decimal(p.renderSize));
    lblFalloff->setText(decimal(p.falloff));
    lblBase->setText(decimal(p.expBase));
}

PanelValues FractalPanel::panelValues() const
{
    PanelValues v;
    v.size = hscSize->value();
    v.square = hscSquare->value();
    v.falloff = hscFalloff->value();
    v.base = hscBase->value();
    v.granularity = hscGranularity->value();
    v.pinch = hscPinch->value();
    v.amp = hscAmp->value();
    v.phi = hscPhi->value();
    v.hue = hscHue->value();
    v.light = hscVal->value();
    v.smoothing = chkCSenable->isChecked();
    v.exponential = optExp->isChecked();
    v.inward = optInward->isChecked();
    v.pinchOn = chkPinch->isChecked();
    v.waveOn = chkWave->isChecked();
    return v;
}

void FractalPanel::setPanelValues(const PanelValues &v)
{
    loading_ = true;
    const std::pair<QScrollBar *, int> bars[] = {{hscSize, v.size},
                                                 {hscSquare, v.square},
                                                 {hscFalloff, v.falloff},
                                                 {hscBase, v.base},
                                                 {hscGranularity, v.granularity},
                                                 {hscPinch, v.pinch},
                                                 {hscAmp, v.amp},
                                                 {hscPhi, v.phi},
                                                 {hscHue, v.hue},
                                                 {hscVal, v.light}};
    for (const auto &[bar, value] : bars)
        bar->setValue(value);
    chkCSenable->setChecked(v.smoothing);
    (v.exponential ? optExp : optHyp)->setChecked(true);
    (v.inward ? optInward : optOutward)->setChecked(true);
    chkPinch->setChecked(v.pinchOn);
    chkWave->setChecked(v.waveOn && !v.pinchOn);
    loading_ = false;
    readControls();
    applyVisibility();
    readColours();
}

FrameSettings FractalPanel::liveSettings() const
{
    return {state_.params, state_.hueShift, state_.lightShift};
}

void FractalPanel::applyVisibility()
{
    const bool hyperbolic = optHyp->isChecked();
    for (QWidget *w : {static_cast<QWidget *>(Label3), static_cast<QWidget *>(lblFalloff),
                       static_cast<QWidget *>(hscFalloff)})
        w->setVisible(hyperbolic);
    for (QWidget *w : {static_cast<QWidget *>(Label1), static_cast<QWidget *>(lblBase),
                       static_cast<QWidget *>(hscBase)})
        w->setVisible(!hyperbolic);
    for (QWidget *w : {static_cast<QWidget *>(hscGranularity), static_cast<QWidget *>(lblFine),
                       static_cast<QWidget *>(lblCoarse)})
        w->setVisible(chkCSenable->isChecked());
    for (QWidget *w : {static_cast<QWidget *>(hscPinch), static_cast<QWidget *>(lblPinchSide),
                       static_cast<QWidget *>(lblBloat)})
        w->setVisible(chkPinch->isChecked());
    for (QWidget *w : {static_cast<QWidget *>(hscAmp), static_cast<QWidget *>(hscPhi),
                       static_cast<QWidget *>(lblAmp), static_cast<QWidget *>(lblPhi)})
        w->setVisible(chkWave->isChecked());
}

void FractalPanel::storeKeyFrame(int k)
{
    if (loading_ || k < 0 || std::size_t(k) >= state_.keyFrames.size())
        return;
    KeyFrame &f = state_.keyFrames[std::size_t(k)];
    const MappingParams &p = state_.params;
    const PanelValues v = panelValues();
    f.centerX = p.refCenterX;
    f.centerY = p.refCenterY;
    f.radius = float(p.refRadius);
    f.aspect = p.refAspect;
    f.falloffValue = v.falloff;
    f.baseValue = int16_t(v.base);
    f.granularityValue = int16_t(v.granularity);
    f.sizeValue = int16_t(v.size);
    f.squareValue = int16_t(v.square);
    f.hueValue = v.hue;
    f.lightValue = v.light;
}

void FractalPanel::loadKeyFrame(int k)
{
    if (k < 0 || std::size_t(k) >= state_.keyFrames.size())
        return;
    const KeyFrame f = state_.keyFrames[std::size_t(k)];
    state_.params.refCenterX = f.centerX;
    state_.params.refCenterY = f.centerY;
    state_.params.refRadius = f.radius;
    state_.params.refAspect = f.aspect;
    // Set together: the squareness handler would otherwise store a half-loaded key frame.
    PanelValues v = panelValues();
    v.falloff = int(f.falloffValue);
    v.base = f.baseValue;
    v.granularity = f.granularityValue;
    v.size = f.sizeValue;
    v.square = f.squareValue;
    v.hue = f.hueValue;
    v.light = f.lightValue;
    setPanelValues(v);
}

void FractalPanel::renderWith(const FrameSettings &frame)
{
    const FrameSettings live = liveSettings();
    state_.params = frame.params;
    state_.hueShift = frame.hueShift;
    state_.lightShift = frame.lightShift;
    RenderClean();
    state_.params = live.params;
    state_.hueShift = live.hueShift;
    state_.lightShift = live.lightShift;
}

bool FractalPanel::pressRender()
{
    if (!state_.fractalRendered)
        cmdRender_Click();
    return state_.fractalRendered;
}

void FractalPanel::setRunning(bool on)
{
    host_.lockForRun(on);
    if (on) {
        enabledBeforeRun_.clear();
        for (QWidget *w : findChildren<QWidget *>()) {
            if (w->objectName() == "cmdStop" ||
                !(qobject_cast<QAbstractButton *>(w) || qobject_cast<QAbstractSlider *>(w) ||
                  qobject_cast<QLineEdit *>(w)))
                continue;
            enabledBeforeRun_.append({w, w->isEnabled()});
            w->setEnabled(false);
        }
        return;
    }
    for (const auto &[w, enabled] : enabledBeforeRun_)
        w->setEnabled(enabled);
    enabledBeforeRun_.clear();
}

void FractalPanel::showAnimation(bool on)
{
    animation_->setVisible(on);
    resize(width(), on ? kAnimatedHeight : kPanelHeight);
}

void FractalPanel::open()
{
    if (open_) {
        raise();
        return;
    }
    open_ = true;
    state_.colorShiftOn = true;
    keptUndo_ = host_.undoEnabled();
    host_.setUndoEnabled(false);
    if (!state_.fractalRendered)
        host_.fractalSnapshot().fBackup(host_.document());
    host_.setFractalCaption("tiles");
    cmdRender->setText("render");
    paintSwatches();
    show();
    raise();
    host_.refresh();
}

void FractalPanel::closePanel()
{
    if (!open_)
        return;
    if (animation_->running()) {
        closeAfterRun_ = true;
        animation_->requestStop();
        return;
    }
    closeAfterRun_ = false;
    open_ = false;
    gestures_.cancel();
    if (state_.fractalRendered)
        restoreRendering();
    host_.setUndoEnabled(keptUndo_);
    host_.setFractalCaption("fractal");
    state_.colorShiftOn = false;
    state_.fractalRendered = false;
    hide();
    host_.refresh();
    host_.activateSkipped();
}

void FractalPanel::closeEvent(QCloseEvent *event)
{
    closePanel();
    // A run under way closes the panel when it has stopped.
    if (open_)
        event->ignore();
    else
        event->accept();
}

void FractalPanel::cmdRender_Click()
{
    if (!(state_.params.refRadius > 0)) {
        dialogs_.message("pull a reference circle");
        return;
    }
    if (state_.fractalRendered) {
        restoreRendering();
        return;
    }
    gestures_.cancel();
    // Unrendered, the live tiles are the design: the copy is taken from them now, so
    // nothing changed since the panel opened (a hand-back, a list command) is lost.
    FractalSnapshot &snapshot = host_.fractalSnapshot();
    snapshot.clear();
    snapshot.fBackup(host_.document());
    cmdRender->setText("restore");
    animation_->renderStateChanged(true);
    host_.saveView(0);
    host_.restoreView(1);
    state_.fractalRendered = true;
    host_.resetZoomKey();
}

void FractalPanel::restoreRendering()
{
    if (!state_.fractalRendered)
        return;
    cmdRender->setText("render");
    animation_->renderStateChanged(false);
    host_.fractalSnapshot().fRestore(host_.document());
    state_.fractalRendered = false;
    host_.saveView(1);
    host_.restoreView(0);
    host_.refresh();
}

void FractalPanel::documentReplaced()
{
    if (!open_)
        return;
    // The old copy holds another document's tiles; an empty document gives an empty copy.
    FractalSnapshot &snapshot = host_.fractalSnapshot();
    snapshot.clear();
    snapshot.fBackup(host_.document());
}

void FractalPanel::chkBound_Click()
{
    host_.setSkeleton(chkBound->isChecked());
    if (state_.fractalRendered) {
        RenderClean();
        return;
    }
    host_.refresh();
}

void FractalPanel::mappingChanged()
{
    if (loading_)
        return;
    if (sender() == hscSquare)
        storeKeyFrame(state_.curKeyFrame);
    readControls();
    applyVisibility();
    RenderClean();
}

void FractalPanel::variantChanged()
{
    if (loading_)
        return;
    readControls();
    if (state_.fractalRendered)
        RenderClean();
}

void FractalPanel::colourChanged()
{
    if (loading_)
        return;
    readColours();
    if (state_.fractalRendered)
        RenderClean();
}

void FractalPanel::readColours()
{
    state_.hueShift = hscHue->value();
    state_.lightShift = hscVal->value();
    lblHue->setText(QString::number(state_.hueShift));
    lblVal->setText(QString::number(state_.lightShift));
    paintSwatches();
}

void FractalPanel::RenderClean()
{
    if (state_.fractalRendered)
        host_.refresh(); // the full redraw renders again from the backup
    else if (open_)
        host_.redrawOverlay();
}

void FractalPanel::paintSwatches()
{
    swatches_ = tessella::paintSwatches(state_.hueShift, state_.lightShift);
    pbColrFrom->setPixmap(QPixmap::fromImage(swatches_.colrFrom));
    pbColrTo->setPixmap(QPixmap::fromImage(swatches_.colrTo));
    pbValFrom->setPixmap(QPixmap::fromImage(swatches_.valFrom));
    pbValTo->setPixmap(QPixmap::fromImage(swatches_.valTo));
}

void FractalPanel::drawPicture(TilingDrawer &drawer, double extentWidth, double extentHeight)
{
    const RenderPlacement placement =
        Frender(drawer, host_.document(), host_.fractalSnapshot(), state_.params,
                SurfaceRect{0, 0, extentWidth, extentHeight});
    if (placement.mapped)
        state_.segLength = placement.segLength;
}

void FractalPanel::drawOverlay(Surface &surface)
{
    if (!open_ || state_.fractalRendered)
        return;
    if (state_.params.hasCircle())
        drawCmarquis(surface, state_.params);
    animation_->drawOverlay(surface);
}

bool FractalPanel::pointerPress(int button, double x, double y, double tolerance)
{
    // During a run the key frames and the shape stay as the run found them.
    if (animation_->running())
        return true;
    switch (gestures_.press(button, x, y, tolerance)) {
    case ReferenceGestures::Press::Pan:
        return false;
    case ReferenceGestures::Press::Handled:
        host_.redrawOverlay();
        return true;
    case ReferenceGestures::Press::AskNewKeyFrame:
        animation_->askNewKeyFrame(x, y);
        return true;
    }
    return true;
}

bool FractalPanel::pointerMove(double x, double y)
{
    if (!gestures_.move(x, y))
        return false;
    host_.redrawOverlay();
    return true;
}

void FractalPanel::pointerRelease()
{
    gestures_.release();
    host_.redrawOverlay();
}

} // namespace tessella
