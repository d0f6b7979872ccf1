// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/printarea.h"

#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tessella {

class Dialogs;

// The aspect settings of the last accepted "enter", offered again at the next opening.
struct AspectSettings
{
    int fixedAspect = 0; // 1 when "fixed" was chosen
    double aspectWidth = 10;
    float aspectHeight = 8;
};

// The "print setup" window: while it is open the tile editor's pointer pulls the print
// area (`pull()`), optionally at a fixed width-to-height ratio. "enter" accepts a
// non-empty area; until then the window cannot be closed. Topmost and modeless.
class PrintSetupWindow : public QWidget
{
    Q_OBJECT
public:
    PrintSetupWindow(Dialogs &dialogs, AspectSettings &settings, QWidget *parent = nullptr);

    AreaPull &pull() { return pull_; }
    bool entered() const { return entered_; }

    // Called once with the accepted area, after the window has closed. The
    // callee may delete the window only later (deleteLater).
    std::function<void(PrintArea)> onEnter;

    void optConstrain_Click();
    void optFree_Click();
    void cmdEnter_Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();

    Dialogs &dialogs_;
    AspectSettings &settings_;
    AreaPull pull_;
    bool entered_ = false;

    QRadioButton *optConstrain = nullptr;
    QRadioButton *optFree = nullptr;
    QLineEdit *txtWidth = nullptr;
    QLineEdit *txtHeight = nullptr;
    QPushButton *cmdEnter = nullptr;
    QLabel *lblBanner = nullptr;
};

} // namespace tessella
