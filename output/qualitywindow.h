// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;
class QRadioButton;

namespace tessella {

// The quality window ("size") of raster exports: the zoom of the drawing, 1, 2, 4 or 8
// ("screen quality", "better", "best", "extra large"). Modeless. "OK" reports the zoom;
// closing it any other way reports a cancel, so the export still ends cleanly.
class QualityWindow : public QWidget
{
    Q_OBJECT
public:
    explicit QualityWindow(QWidget *parent = nullptr);

    // The zoom of the chosen option.
    int zoom() const;

    std::function<void(int zoom)> onOK;
    std::function<void()> onCancel;

    void cmdOK_Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    bool answered_ = false;

    QLabel *Label1 = nullptr;
    QRadioButton *opt100 = nullptr;
    QRadioButton *opt200 = nullptr;
    QRadioButton *opt400 = nullptr;
    QRadioButton *opt800 = nullptr;
    QPushButton *cmdOK = nullptr;
};

} // namespace tessella
