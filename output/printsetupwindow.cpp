// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/printsetupwindow.h"

#include "platform/dialogs.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tessella {

namespace {

template <class T> T *named(T *widget, const char *name)
{
    widget->setObjectName(name);
    widget->setAccessibleName(name);
    return widget;
}

} // namespace

PrintSetupWindow::PrintSetupWindow(Dialogs &dialogs, AspectSettings &settings, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), dialogs_(dialogs), settings_(settings)
{
    setObjectName("frmPrintSetup");
    setWindowTitle("print setup");

    auto *frame = named(new QGroupBox("aspect  ratio", this), "Frame1");
    optConstrain = named(new QRadioButton("fixed", frame), "optConstrain");
    optFree = named(new QRadioButton("free form", frame), "optFree");
    txtWidth = named(new QLineEdit("10", frame), "txtWidth");
    txtHeight = named(new QLineEdit("8", frame), "txtHeight");
    auto *grid = new QGridLayout(frame);
    grid->addWidget(optConstrain, 0, 0);
    grid->addWidget(optFree, 1, 0);
    grid->addWidget(new QLabel("w:", frame), 0, 1);
    grid->addWidget(txtWidth, 0, 2);
    grid->addWidget(new QLabel("h:", frame), 1, 1);
    grid->addWidget(txtHeight, 1, 2);

    cmdEnter = named(new QPushButton("enter", this), "cmdEnter");
    lblBanner = named(new QLabel("Pull a marquis around the print area then click enter", this),
                      "lblBanner");
    lblBanner->setWordWrap(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblBanner);
    layout->addWidget(frame);
    layout->addWidget(cmdEnter);
    setFixedSize(sizeHint());

    optFree->setChecked(true);
    txtWidth->setEnabled(false);
    txtHeight->setEnabled(false);
    connect(optConstrain, &QRadioButton::clicked, this, [this] { optConstrain_Click(); });
    connect(optFree, &QRadioButton::clicked, this, [this] { optFree_Click(); });
    connect(txtWidth, &QLineEdit::textChanged, this, [this] { optConstrain_Click(); });
    connect(txtHeight, &QLineEdit::textChanged, this, [this] { optConstrain_Click(); });
    connect(cmdEnter, &QPushButton::clicked, this, [this] { cmdEnter_Click(); });
    Form_Load();
}

void PrintSetupWindow::Form_Load()
{
    if (settings_.fixedAspect == 1) {
        txtWidth->setText(QString::number(settings_.aspectWidth, 'g', 15));
        txtHeight->setText(QString::number(double(settings_.aspectHeight), 'g', 7));
        optConstrain->setChecked(true);
        optConstrain_Click();
    }
    entered_ = false;
    pull_.clear();
}

void PrintSetupWindow::optConstrain_Click()
{
    txtWidth->setEnabled(true);
    txtHeight->setEnabled(true);
    pull_.setFixed(optConstrain->isChecked());
    const auto height = parseAspectSide(txtHeight->text().toStdString());
    const auto width = parseAspectSide(txtWidth->text().toStdString());
    if (!height || !width) {
        dialogs_.beep();
        return;
    }
    pull_.setRatio(*height / *width);
}

void PrintSetupWindow::optFree_Click()
{
    txtWidth->setEnabled(false);
    txtHeight->setEnabled(false);
    pull_.setFixed(false);
}

void PrintSetupWindow::cmdEnter_Click()
{
    // An empty area, or one whose corners do not fit the area's integers, is refused.
    const std::optional<PrintArea> area = pull_.area();
    if (entered_ || !area) {
        dialogs_.beep();
        return;
    }
    entered_ = true;
    settings_.fixedAspect = optFree->isChecked() ? 0 : 1;
    if (const auto w = parseAspectSide(txtWidth->text().toStdString()))
        settings_.aspectWidth = *w;
    if (const auto h = parseAspectSide(txtHeight->text().toStdString()))
        settings_.aspectHeight = static_cast<float>(*h);
    close();
    if (onEnter)
        onEnter(*area);
}

void PrintSetupWindow::closeEvent(QCloseEvent *event)
{
    if (entered_)
        event->accept();
    else
        event->ignore();
}

} // namespace tessella
