// SPDX-License-Identifier: GPL-3.0-or-later
// ">>": the run through the frames, on the screen only or writing the frame files.
#include "fractal/animationpanel.h"

#include "fractal/framerun.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QRadioButton>

namespace tessella {

void AnimationPanel::cmdRun_Click()
{
    if (running_)
        return;
    const bool files = chkSaveFile->isChecked();
    if (files) {
        if (!chooseFrameBase())
            return;
        // Frames are renderings; without a circle "render" says so and nothing runs.
        if (!host_.pressRender())
            return;
    }
    beginRun();
    if (files)
        runWithFiles();
    else
        runOnScreen();
    endRun(files);
}

bool AnimationPanel::chooseFrameBase()
{
    FileDialogOptions options;
    options.title = "save frames";
    options.filter = "JPEG (*.jpg)|*.jpg";
    options.defaultExtension = "jpg";
    options.confirmOverwrite = true;
    const std::optional<std::string> path = dialogs_.saveFile(options);
    if (!path || path->empty())
        return false;
    frameFileName_ = QString::fromStdString(*path);
    frameBase_ = frameBaseFromPath(frameFileName_);
    return true;
}

void AnimationPanel::beginRun()
{
    running_ = true;
    stopRequested_ = false;
    host_.setRunning(true);
    cmdStop->setEnabled(true);
}

void AnimationPanel::endRun(bool files)
{
    stopRequested_ = false;
    cmdStop->setEnabled(false);
    running_ = false;
    host_.setRunning(false);
    // The frames drew over the live rendering: show it again.
    if (files)
        host_.RenderClean();
    if (onRunEnded)
        onRunEnded();
}

bool AnimationPanel::stopNow() const
{
    return stopRequested_ || editor_.document().closing;
}

void AnimationPanel::runOnScreen()
{
    const int iterations = total() - frameIndex_;
    for (int i = 0; i < iterations; ++i) {
        cmdStep_Click();
        // Only "X" (and closing) can act meanwhile: the other controls are disabled.
        QCoreApplication::processEvents();
        if (stopNow())
            return;
    }
}

FrameOutput AnimationPanel::frameOutput() const
{
    FrameOutput out;
    out.size = frameResolution(opt1080->isChecked() ? 1080 : opt720->isChecked() ? 720 : 540);
    out.antiAlias = chkAntiA->isChecked();
    out.zoom = editor_.zoom();
    out.draw = editor_.drawSettings();
    return out;
}

void AnimationPanel::runWithFiles()
{
    // The files are drawn off the screen on every core while the editor shows the frames
    // in order, one step per file handed over.
    FrameRun run(
        editor_.document(), editor_.fractalSnapshot().tiles(), frameOutput(),
        frameJobs(state_.keyFrames, framesPerKey_, host_.liveSettings(), frameIndex_, frameBase_),
        [this] {
            QMetaObject::invokeMethod(
                this, [] {}, Qt::QueuedConnection);
        });
    while (!stopNow()) {
        const std::optional<FrameOutcome> done = run.tryNext();
        if (!done) {
            if (run.over())
                return;
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            continue;
        }
        if (!done->written) {
            dialogs_.message(done->message.toStdString());
            return;
        }
        frameFileName_ = run.jobs()[done->job].path;
        cmdStep_Click();
        QCoreApplication::processEvents();
    }
    run.stop();
}

} // namespace tessella
