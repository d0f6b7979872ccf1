// SPDX-License-Identifier: GPL-3.0-or-later
#include "fractal/fractalpanel.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <numbers>

namespace tessella {

namespace {

constexpr int kPanelWidth = 520;
constexpr int kPanelHeight = 4185 / 15; // twips to pixels
constexpr int kAnimatedHeight = 9225 / 15;
constexpr int kStripWidth = 181;
constexpr int kStripHeight = 14;

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

void FractalPanel::describe(QWidget *w, const QString &tip)
{
    w->setToolTip(tip);
    w->setAccessibleDescription(tip);
    w->setAccessibleName(w->objectName());
}

QScrollBar *FractalPanel::makeSlider(const char *name, int min, int max, int value, int large,
                                     const QString &tip)
{
    auto *bar = new QScrollBar(Qt::Horizontal, this);
    bar->setObjectName(name);
    bar->setRange(min, max);
    bar->setSingleStep(name == QStringLiteral("hscHue") || name == QStringLiteral("hscVal") ? 5
                                                                                            : 1);
    bar->setPageStep(large);
    bar->setValue(value);
    bar->setMinimumWidth(160);
    describe(bar, tip);
    return bar;
}

QLabel *FractalPanel::makeLabel(const char *name, const QString &text)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(name);
    return label;
}

void FractalPanel::buildControls()
{
    hscSize = makeSlider("hscSize", 5, 25, 10, 1, "Size of the mapped picture on the canvas");
    hscSquare = makeSlider("hscSquare", -10, 30, 0, 5,
                           "Shape of the reference: 0 circle, 1 square, beyond bulging");
    hscFalloff =
        makeSlider("hscFalloff", 5, 20, 10, 5, "How quickly hyperbolic decay shrinks tiles");
    hscBase = makeSlider("hscBase", 14, 40, 20, 5, "Base of the exponential decay");
    hscGranularity =
        makeSlider("hscGranularity", 0, 6, 3, 1, "Length of the pieces edges are divided into");
    hscPinch =
        makeSlider("hscPinch", -10, 10, 0, 1, "Pull the centre in (pinch) or push it out (bloat)");
    hscAmp = makeSlider("hscAmp", 0, 20, 0, 1, "Height of the radial wave");
    hscPhi = makeSlider("hscPhi", 0, 20, 0, 1, "Phase of the radial wave");
    hscHue = makeSlider("hscHue", 0, 360, 0, 30, "Degrees added to every tile's hue");
    hscVal =
        makeSlider("hscVal", 0, 360, 0, 5, "Brightness shift of every tile, folded back at white");

    lblSize = makeLabel("lblSize", decimal(1));
    lblFalloff = makeLabel("lblFalloff", decimal(1));
    lblBase = makeLabel("lblBase", decimal(2));
    lblHue = makeLabel("lblHue", "0");
    lblVal = makeLabel("lblVal", "0");
    Label1 = makeLabel("Label1", "base");
    Label3 = makeLabel("Label3", "falloff");
    lblFine = makeLabel("lblFine", "fine");
    lblCoarse = makeLabel("lblCoarse", "coarse");
    lblPinchSide = makeLabel("lblPinchSide", "pinch");
    lblBloat = makeLabel("lblBloat", "bloat");
    lblAmp = makeLabel("lblAmp", "amplitude");
    lblPhi = makeLabel("lblPhi", "phase");
    pbColrFrom = makeLabel("pbColrFrom", QString());
    pbColrTo = makeLabel("pbColrTo", QString());
    pbValFrom = makeLabel("pbValFrom", QString());
    pbValTo = makeLabel("pbValTo", QString());
    for (QLabel *strip : {pbColrFrom, pbColrTo, pbValFrom, pbValTo}) {
        strip->setFixedSize(kStripWidth, kStripHeight);
        strip->setScaledContents(true);
    }
    describe(pbColrFrom, "Hue circle");
    describe(pbColrTo, "Hue circle after the hue shift");
    describe(pbValFrom, "Brightness ramp");
    describe(pbValTo, "Brightness ramp after the shift");

    auto *method = new QGroupBox("method", this);
    optExp = new QRadioButton("exponential", method);
    optExp->setObjectName("optExp");
    optHyp = new QRadioButton("hyperbolic", method);
    optHyp->setObjectName("optHyp");
    optHyp->setChecked(true);
    auto *methodLayout = new QVBoxLayout(method);
    methodLayout->addWidget(optExp);
    methodLayout->addWidget(optHyp);
    auto *decay = new QGroupBox("decay mode", this);
    optInward = new QRadioButton("decay inward", decay);
    optInward->setObjectName("optInward");
    optOutward = new QRadioButton("decay outward", decay);
    optOutward->setObjectName("optOutward");
    optOutward->setChecked(true);
    auto *decayLayout = new QVBoxLayout(decay);
    decayLayout->addWidget(optInward);
    decayLayout->addWidget(optOutward);
    describe(optExp, "Tiles shrink by a power of the base");
    describe(optHyp, "Tiles shrink by the hyperbolic law");
    describe(optInward, "Tiles shrink towards the centre");
    describe(optOutward, "Tiles shrink towards the rim of the circle");

    chkCSenable = new QCheckBox("enable smoothing", this);
    chkCSenable->setObjectName("chkCSenable");
    chkCSenable->setChecked(true);
    chkPinch = new QCheckBox("pinch", this);
    chkPinch->setObjectName("chkPinch");
    chkWave = new QCheckBox("wave", this);
    chkWave->setObjectName("chkWave");
    chkBound = new QCheckBox("skeleton", this);
    chkBound->setObjectName("chkBound");
    describe(chkCSenable, "Divide long edges so they bend smoothly");
    describe(chkPinch, "Pinch or bloat the plane instead of the decay");
    describe(chkWave, "Ripple the plane radially instead of the decay");
    describe(chkBound, "Show outlines only, without fills and sketches");

    cmdRender = new QPushButton("render", this);
    cmdRender->setObjectName("cmdRender");
    cmdAnimate = new QPushButton("animate", this);
    cmdAnimate->setObjectName("cmdAnimate");
    cmdClose = new QPushButton("close", this);
    cmdClose->setObjectName("cmdClose");
    describe(cmdRender, "Map the tiling into the reference shape, or restore the tiles");
    describe(cmdAnimate, "Key-frame animation");
    describe(cmdClose, "Close this panel and restore the tiles");

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 4, 6, 4);
    auto *grid = new QGridLayout;
    outer->addLayout(grid);
    animation_ = new AnimationPanel(state_, *this, host_, dialogs_, this);
    animation_->hide();
    animation_->onRunEnded = [this] {
        if (closeAfterRun_)
            closePanel();
    };
    outer->addWidget(animation_);
    grid->setVerticalSpacing(1);
    int row = 0;
    auto sliderRow = [&](QWidget *left, QScrollBar *bar, QWidget *right) {
        grid->addWidget(left, row, 0);
        grid->addWidget(bar, row, 1);
        if (right)
            grid->addWidget(right, row, 2);
        ++row;
    };
    sliderRow(makeLabel("lblScaleCaption", " scale"), hscSize, lblSize);
    sliderRow(makeLabel("lblSquareCaption", "squareness"), hscSquare, nullptr);
    sliderRow(Label3, hscFalloff, lblFalloff);
    sliderRow(Label1, hscBase, lblBase);
    sliderRow(lblFine, hscGranularity, lblCoarse);
    sliderRow(lblPinchSide, hscPinch, lblBloat);
    sliderRow(lblAmp, hscAmp, nullptr);
    sliderRow(lblPhi, hscPhi, nullptr);
    sliderRow(makeLabel("lblHueCaption", "hue"), hscHue, lblHue);
    grid->addWidget(pbColrFrom, row, 1);
    ++row;
    grid->addWidget(pbColrTo, row, 1);
    ++row;
    sliderRow(makeLabel("lblValCaption", "value"), hscVal, lblVal);
    grid->addWidget(pbValFrom, row, 1);
    ++row;
    grid->addWidget(pbValTo, row, 1);
    ++row;
    auto *side = new QVBoxLayout;
    side->setSpacing(1);
    side->addWidget(method);
    side->addWidget(decay);
    for (QWidget *w : {static_cast<QWidget *>(chkCSenable), static_cast<QWidget *>(chkPinch),
                       static_cast<QWidget *>(chkWave), static_cast<QWidget *>(chkBound)})
        side->addWidget(w);
    side->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdRender);
    buttons->addWidget(cmdAnimate);
    buttons->addWidget(cmdClose);
    side->addLayout(buttons);
    grid->addLayout(side, 0, 3, row, 1);

    for (QScrollBar *bar : {hscSize, hscSquare, hscFalloff, hscBase, hscGranularity})
        connect(bar, &QScrollBar::valueChanged, this, [this] { mappingChanged(); });
    for (QScrollBar *bar : {hscPinch, hscAmp, hscPhi})
        connect(bar, &QScrollBar::valueChanged, this, [this] { variantChanged(); });
    for (QScrollBar *bar : {hscHue, hscVal})
        connect(bar, &QScrollBar::valueChanged, this, [this] { colourChanged(); });
    for (QRadioButton *opt : {optExp, optHyp, optInward, optOutward})
        connect(opt, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                mappingChanged();
        });
    connect(chkCSenable, &QCheckBox::toggled, this, [this] { mappingChanged(); });
    connect(chkPinch, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            chkWave->setChecked(false);
        readControls();
        applyVisibility();
    });
    connect(chkWave, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            chkPinch->setChecked(false);
        readControls();
        applyVisibility();
    });
    connect(chkBound, &QCheckBox::clicked, this, [this] { chkBound_Click(); });
    connect(cmdRender, &QPushButton::clicked, this, [this] { cmdRender_Click(); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { closePanel(); });
    connect(cmdAnimate, &QPushButton::clicked, this, [this] { showAnimation(true); });
    connect(animation_, &AnimationPanel::closeRequested, this, [this] { showAnimation(false); });

    readControls();
    applyVisibility();
    paintSwatches();
}

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
