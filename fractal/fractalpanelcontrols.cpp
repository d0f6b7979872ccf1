// SPDX-License-Identifier: GPL-3.0-or-later
// The fractal panel's controls and their layout.
#include "fractal/fractalpanel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace tessella {

namespace {

constexpr int kStripWidth = 181;
constexpr int kStripHeight = 14;

} // namespace

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

    lblSize = makeLabel("lblSize", QString());
    lblFalloff = makeLabel("lblFalloff", QString());
    lblBase = makeLabel("lblBase", QString());
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

} // namespace tessella
