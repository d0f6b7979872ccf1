// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/qualitywindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tessella {

QualityWindow::QualityWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName("frmQuality");
    setWindowTitle("size");
    auto *layout = new QVBoxLayout(this);
    auto add = [&](auto *widget, const char *name) {
        widget->setObjectName(name);
        widget->setAccessibleName(name);
        layout->addWidget(widget);
        return widget;
    };
    Label1 = add(new QLabel("selectprint quality", this), "Label1");
    opt100 = add(new QRadioButton("screen quality", this), "opt100");
    opt200 = add(new QRadioButton("better", this), "opt200");
    opt400 = add(new QRadioButton("best", this), "opt400");
    opt800 = add(new QRadioButton("extra large", this), "opt800");
    cmdOK = add(new QPushButton("OK", this), "cmdOK");
    opt100->setChecked(true);
    setFixedSize(sizeHint());
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
}

int QualityWindow::zoom() const
{
    if (opt800->isChecked())
        return 8;
    if (opt400->isChecked())
        return 4;
    if (opt200->isChecked())
        return 2;
    return 1;
}

void QualityWindow::cmdOK_Click()
{
    if (answered_)
        return;
    answered_ = true;
    hide();
    if (onOK)
        onOK(zoom());
}

void QualityWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (answered_)
        return;
    answered_ = true;
    if (onCancel)
        onCancel();
}

} // namespace tessella
