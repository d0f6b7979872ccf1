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

// What the sketch tools palette needs from the editor it serves.
class SketchPaletteHost
{
public:
    virtual ~SketchPaletteHost() = default;
    // The working copy of the polygon's sketch items that the tools edit.
    virtual SketchWorkingCopy &sketchWork() = 0;
    // The pointer's reach in editor units.
    virtual double sketchReach() const = 0;
    // The tools changed what the surface shows, or the palette closed.
    virtual void sketchesRedraw() = 0;
    // The keyboard focus goes back to the editor's surface.
    virtual void focusSurface() = 0;
};

// The sketch tools palette `frmDoodle` ("sketch tools"): a small modeless tool window of
// the transform editor. The editor's sketch tool flags are this palette's: open while it
// is, the delete tool and a curve under way as its tools say. Closing it finishes a curve
// under construction, ends the delete tool, drops a line being entered and unloads the
// palette. Every control click hands the keyboard focus back to the editor's surface.
class SketchWindow : public QWidget, public SketchToolsHost
{
    Q_OBJECT
public:
    SketchWindow(SketchPaletteHost &host, Dialogs &dialogs, QWidget *parent);
    ~SketchWindow() override;

    SketchTools &tools() { return tools_; }
    const SketchTools &tools() const { return tools_; }
    // False once it has been closed (it is deleted later).
    bool isOpen() const { return !closed_; }

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

    SketchPaletteHost &host_;
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
