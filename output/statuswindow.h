// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/export/imageexport.h"

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace tessella {

// The status window ("status") of a running export: the progress as a bar and as
// `lblStatus` ("42 %"), and "cancel", which the export reads between bands. Closing the
// window with its close box cancels too. Topmost and modeless. As the export's sink it
// lets pending window events run at every report, which is how "cancel" is seen.
class StatusWindow : public QWidget, public ExportSink
{
    Q_OBJECT
public:
    explicit StatusWindow(QWidget *parent = nullptr);

    // Shows the progress, `fraction` of the work done (clamped to 0 .. 1).
    void showProgress(double fraction);
    bool exportCancel() const { return exportCancel_; }

    // ExportSink
    void progress(double fraction) override;
    bool cancelled() override;

    void Command1_Click() { exportCancel_ = true; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    bool exportCancel_ = false;

    QLabel *Label1 = nullptr;
    QLabel *lblStatus = nullptr;
    QProgressBar *barStatus = nullptr;
    QPushButton *Command1 = nullptr;
};

} // namespace tessella
