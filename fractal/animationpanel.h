// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fractal/fractalhost.h"
#include "fractal/fractalstate.h"
#include "fractal/framerun.h"
#include "fractal/keyframes.h"
#include "fractal/panelvalues.h"
#include "platform/dialogs.h"
#include "platform/surface.h"

#include <QGroupBox>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace tessella {

// What the animation part needs from the fractal panel around it.
class AnimationHost
{
public:
    virtual ~AnimationHost() = default;
    // Key frame k from the live settings (the reference shape and the sliders), and back.
    virtual void storeKeyFrame(int k) = 0;
    virtual void loadKeyFrame(int k) = 0;
    virtual FrameSettings liveSettings() const = 0;
    virtual PanelValues panelValues() const = 0;
    virtual void setPanelValues(const PanelValues &values) = 0;
    virtual bool renderingShown() const = 0;
    // Renders again from the unmapped tiles, or redraws the overlays when not rendered.
    virtual void RenderClean() = 0;
    // The rendering drawn once with a frame's settings; the live settings stay.
    virtual void renderWith(const FrameSettings &frame) = 0;
    // The "render" button when no rendering is shown; false when it refused.
    virtual bool pressRender() = 0;
    // During a run only "X" acts: every other control of the panel is disabled.
    virtual void setRunning(bool on) = 0;
};

// The "parametric animation" part of the fractal panel: key frames, the path of the
// reference centre between them, stepping and running through the frames, the frame
// files, and the key frames kept in a file of their own. Frames are numbered from 0;
// frameIndex is always below the frame total.
class AnimationPanel : public QGroupBox
{
    Q_OBJECT
public:
    AnimationPanel(FractalState &state, AnimationHost &host, FractalHost &editor, Dialogs &dialogs,
                   QWidget *parent);
    ~AnimationPanel() override;

    // The key frames, their paths and the shape of a frame between key frames, over the
    // tiling while no rendering is shown.
    void drawOverlay(Surface &surface) const;
    // "add key frame" and "delete key frame" are not available while rendered.
    void renderStateChanged(bool rendered);
    // A left press on no handle: offers a new key frame centred at the point.
    void askNewKeyFrame(double x, double y);

    bool running() const { return running_; }
    // "X": the run ends after the frame in progress.
    void requestStop() { stopRequested_ = true; }
    // Called after a run has ended and the panel's controls are back.
    std::function<void()> onRunEnded;

    int framesPerKey() const { return framesPerKey_; }
    int frameIndex() const { return frameIndex_; }

signals:
    // "close this panel".
    void closeRequested();

private:
    void buildControls();
    void hscFrame_Change();
    void txtFrameDivs_Change();
    bool cmdAddFrame_Click();
    void cmdDeleteFrame_Click();
    void cmdTo1_Click();
    void cmdStep_Click();
    void cmdRun_Click();
    void chkSaveFile_Click();
    void cmdSaveKeys_Click();
    void cmdLoadKeys_Click();
    // The key frame slider's range and value, then its change handler once.
    void setFrameSlider(int max, int value);
    void showStatus();
    void showFrame();
    void modifyKeyFrame(double x, double y);
    int keyFrameCount() const { return int(state_.keyFrames.size()); }
    int total() const { return frameTotal(keyFrameCount(), framesPerKey_); }

    // The run (animationrun.cpp).
    void runOnScreen();
    void runWithFiles();
    FrameOutput frameOutput() const;
    bool chooseFrameBase();
    void beginRun();
    void endRun(bool files);
    bool stopNow() const;

    FractalState &state_;
    AnimationHost &host_;
    FractalHost &editor_;
    Dialogs &dialogs_;

    int framesPerKey_ = 10;
    int frameIndex_ = 0;
    int shownKeyFrame_ = 0;
    bool stopRequested_ = false;
    bool running_ = false;
    bool editingDivs_ = false;
    QString frameBase_;
    QString frameFileName_;

    QScrollBar *hscFrame = nullptr;
    QLabel *lblFrame = nullptr;
    QLabel *lblFrames = nullptr;
    QLineEdit *txtFrameDivs = nullptr;
    QLabel *lblFrameStatus = nullptr;
    QLabel *Label10 = nullptr;
    QPushButton *cmdAddFrame = nullptr;
    QPushButton *cmdDeleteFrame = nullptr;
    QPushButton *cmdTo1 = nullptr;
    QPushButton *cmdStep = nullptr;
    QPushButton *cmdRun = nullptr;
    QPushButton *cmdStop = nullptr;
    QCheckBox *chkSaveFile = nullptr;
    QRadioButton *opt540 = nullptr;
    QRadioButton *opt720 = nullptr;
    QRadioButton *opt1080 = nullptr;
    QCheckBox *chkAntiA = nullptr;
    QPushButton *cmdSaveKeys = nullptr;
    QPushButton *cmdLoadKeys = nullptr;
    QPushButton *cmdCloseAnim = nullptr;
};

} // namespace tessella
