// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/dialogs.h"
#include "transform/sketchtools.h"

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace tessella {

class XformWindow;

// The sketch tools palette `frmDoodle` ("sketch tools"): a small modeless tool window of
// the transform editor. Its load sets the editor's sketchToolsOpen; closing it finishes a
// curve under construction, ends the delete tool, drops a line being entered and unloads
// the palette. Every control click hands the keyboard focus back to the editor's surface.
class SketchWindow : public QWidget, public SketchToolsHost
{
    Q_OBJECT
public:
    SketchWindow(XformWindow &xform, Dialogs &dialogs);
    ~SketchWindow() override;

    SketchTools &tools() { return tools_; }
    const SketchTools &tools() const { return tools_; }

    // Control handlers.
    void optLine_Click();
    void optPoly_Click();
    void optDelete_Click();
    void chkFill_Click();
    void optColour_Click();
    void hscPoly_Change(int value);
    void cmdCurve_Click();

    // Pointer gestures of the editor's surface: button 1 left, 2 right; editor units.
    void surfaceDown(int button, double x, double y);
    void surfaceMove(double x, double y);
    void surfaceUp(int button, double x, double y);

    // SketchToolsHost.
    void sketchRedraw() override;
    void sketchBeep() override;
    void enableCurve(bool enabled) override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void focusSurface();
    // The editor's flags follow the tools' state.
    void syncFlags();

    XformWindow &xform_;
    Dialogs &dialogs_;
    SketchTools tools_;
    bool closed_ = false;

    QRadioButton *optLine = nullptr;
    QRadioButton *optPoly = nullptr;
    QRadioButton *optDelete = nullptr;
    QCheckBox *chkFill = nullptr;
    QGroupBox *frmColr = nullptr;
    QRadioButton *optBlack = nullptr;
    QRadioButton *optNegative = nullptr;
    QScrollBar *hscPoly = nullptr;
    QLabel *lblPoly = nullptr;
    QPushButton *cmdCurve = nullptr;
};

} // namespace tessella
