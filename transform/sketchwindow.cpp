// SPDX-License-Identifier: GPL-3.0-or-later
#include "transform/sketchwindow.h"

#include "transform/xformtips.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace tessella {

namespace {

QString sidesText(int value)
{
    return QString::number(value) + " sides";
}

} // namespace

SketchWindow::SketchWindow(SketchPaletteHost &host, Dialogs &dialogs, QWidget *parent)
    : QWidget(parent, Qt::Tool), host_(host), dialogs_(dialogs), tools_(host.sketchWork(), *this)
{
    setObjectName("frmDoodle");
    setWindowTitle("sketch tools");
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
}

SketchWindow::~SketchWindow() = default;

void SketchWindow::buildControls()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(3);

    auto radio = [this](QWidget *parent, const char *name, const char *caption) {
        auto *button = new QRadioButton(caption, parent);
        button->setObjectName(name);
        button->setFocusPolicy(Qt::NoFocus);
        return button;
    };
    optLine = radio(this, "optLine", "line");
    optPoly = radio(this, "optPoly", "polygon");
    optDelete = radio(this, "optDelete", "delete");
    optLine->setChecked(true);
    for (QRadioButton *b : {optLine, optPoly, optDelete})
        layout->addWidget(b);

    chkFill = new QCheckBox("fill", this);
    chkFill->setObjectName("chkFill");
    chkFill->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(chkFill);

    frmColr = new QGroupBox("line color", this);
    frmColr->setObjectName("frmColr");
    frmColr->setFocusPolicy(Qt::NoFocus);
    auto *colours = new QVBoxLayout(frmColr);
    colours->setContentsMargins(4, 2, 4, 2);
    optBlack = radio(frmColr, "optBlack", "black");
    optNegative = radio(frmColr, "optNegative", "negative");
    optBlack->setChecked(true);
    colours->addWidget(optBlack);
    colours->addWidget(optNegative);
    layout->addWidget(frmColr);

    hscPoly = new QScrollBar(Qt::Horizontal, this);
    hscPoly->setObjectName("hscPoly");
    hscPoly->setFocusPolicy(Qt::NoFocus);
    hscPoly->setRange(kMinSides, kMaxSides);
    hscPoly->setValue(kStartSides);
    hscPoly->setSingleStep(1);
    hscPoly->setPageStep(3);
    hscPoly->setMinimumWidth(100);
    layout->addWidget(hscPoly);
    lblPoly = new QLabel(sidesText(kStartSides), this);
    lblPoly->setObjectName("lblPoly");
    layout->addWidget(lblPoly);

    cmdCurve = new QPushButton("curve", this);
    cmdCurve->setObjectName("cmdCurve");
    cmdCurve->setFocusPolicy(Qt::NoFocus);
    cmdCurve->setEnabled(false);
    layout->addWidget(cmdCurve);

    connect(optLine, &QRadioButton::clicked, this, [this] { optLine_Click(); });
    connect(optPoly, &QRadioButton::clicked, this, [this] { optPoly_Click(); });
    connect(optDelete, &QRadioButton::clicked, this, [this] { optDelete_Click(); });
    connect(chkFill, &QCheckBox::clicked, this, [this] { chkFill_Click(); });
    connect(optBlack, &QRadioButton::clicked, this, [this] { optColour_Click(); });
    connect(optNegative, &QRadioButton::clicked, this, [this] { optColour_Click(); });
    connect(hscPoly, &QScrollBar::valueChanged, this, [this](int v) { hscPoly_Change(v); });
    connect(cmdCurve, &QPushButton::clicked, this, [this] { cmdCurve_Click(); });
    applySketchTips(this);
}

void SketchWindow::optLine_Click()
{
    tools_.chooseTool(SketchTool::Line);
    host_.focusSurface();
}

void SketchWindow::optPoly_Click()
{
    tools_.chooseTool(SketchTool::Polygon);
    host_.focusSurface();
}

void SketchWindow::optDelete_Click()
{
    tools_.chooseTool(SketchTool::Delete);
    host_.focusSurface();
}

void SketchWindow::chkFill_Click()
{
    tools_.fill = chkFill->isChecked();
    host_.focusSurface();
}

void SketchWindow::optColour_Click()
{
    tools_.negative = optNegative->isChecked();
    host_.focusSurface();
}

void SketchWindow::hscPoly_Change(int value)
{
    tools_.setSides(value);
    lblPoly->setText(sidesText(value));
    host_.focusSurface();
}

void SketchWindow::cmdCurve_Click()
{
    tools_.cmdCurve();
    host_.focusSurface();
}

void SketchWindow::surfaceDown(int button, double x, double y)
{
    if (button != 1 && button != 2)
        return;
    tools_.mouseDown(button == 1 ? PointerButton::Left : PointerButton::Right, x, y,
                     host_.sketchReach());
}

void SketchWindow::surfaceMove(double x, double y)
{
    tools_.mouseMove(x, y);
}

void SketchWindow::surfaceUp(int button, double x, double y)
{
    if (button == 1 || button == 2)
        tools_.mouseUp(button == 1 ? PointerButton::Left : PointerButton::Right, x, y);
}

void SketchWindow::sketchRedraw()
{
    host_.sketchesRedraw();
}

void SketchWindow::sketchBeep()
{
    dialogs_.beep();
}

void SketchWindow::enableCurve(bool enabled)
{
    cmdCurve->setEnabled(enabled);
}

void SketchWindow::closeEvent(QCloseEvent *event)
{
    if (!closed_) {
        closed_ = true;
        tools_.close();
        host_.sketchesRedraw();
    }
    event->accept();
}

} // namespace tessella
