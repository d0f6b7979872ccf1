// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/statuswindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace tessella {

StatusWindow::StatusWindow(QWidget *parent) : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setObjectName("frmStatus");
    setWindowTitle("status");
    auto name = [](QWidget *widget, const char *n) {
        widget->setObjectName(n);
        widget->setAccessibleName(n);
    };
    Label1 = new QLabel("processing image", this);
    name(Label1, "Label1");
    lblStatus = new QLabel("100 %", this);
    name(lblStatus, "lblStatus");
    barStatus = new QProgressBar(this);
    name(barStatus, "barStatus");
    barStatus->setRange(0, 100);
    barStatus->setTextVisible(false);
    Command1 = new QPushButton("cancel", this);
    name(Command1, "Command1");

    auto *row = new QHBoxLayout;
    row->addWidget(barStatus, 1);
    row->addWidget(lblStatus);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(row);
    layout->addWidget(Command1);
    resize(280, sizeHint().height());
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
}

void StatusWindow::showProgress(double fraction)
{
    const int percent =
        std::isfinite(fraction) ? int(std::nearbyint(std::clamp(fraction, 0.0, 1.0) * 100)) : 0;
    lblStatus->setText(QString::number(percent) + " %");
    barStatus->setValue(percent);
}

void StatusWindow::progress(double fraction)
{
    showProgress(fraction);
    QCoreApplication::processEvents();
}

bool StatusWindow::cancelled()
{
    QCoreApplication::processEvents();
    return exportCancel_;
}

void StatusWindow::closeEvent(QCloseEvent *event)
{
    exportCancel_ = true;
    event->accept();
}

} // namespace tessella
