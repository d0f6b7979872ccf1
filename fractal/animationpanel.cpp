// SPDX-License-Identifier: GPL-3.0-or-later
#include "fractal/animationpanel.h"

#include "fractal/keyframefile.h"
#include "fractal/pathdrawer.h"
#include "platform/controltips.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>

namespace tessella {

namespace {

const ControlTip kTips[] = {
    {"hscFrame", nullptr, "The key frame being edited"},
    {"txtFrameDivs", nullptr, "Frames from one key frame to the next"},
    {"cmdAddFrame", nullptr, "Add a key frame after this one, a copy of it"},
    {"cmdDeleteFrame", nullptr, "Delete this key frame"},
    {"cmdTo1", nullptr, "Back to the first frame"},
    {"cmdStep", nullptr, "Show the next frame"},
    {"cmdRun", nullptr, "Run through the frames from this one to the last"},
    {"cmdStop", nullptr, "Stop the run after the frame in progress"},
    {"chkSaveFile", nullptr, "Write every frame of a run as a numbered JPEG file"},
    {"opt540", nullptr, "Frames of 960 x 540 pixels"},
    {"opt720", nullptr, "Frames of 1280 x 720 pixels"},
    {"opt1080", nullptr, "Frames of 1920 x 1080 pixels"},
    {"chkAntiA", nullptr, "Draw frames at twice the size and smooth them down"},
    {"cmdSaveKeys", nullptr, "Keep the key frames and settings in a file"},
    {"cmdLoadKeys", nullptr, "Load key frames and settings kept in a file"},
    {"cmdCloseAnim", nullptr, "Hide the animation controls"},
};

// The file dialog of "save key frames" and "load key frames".
FileDialogOptions keyFileOptions(const char *title)
{
    FileDialogOptions options;
    options.title = title;
    options.filter = "Key frames (*.json)|*.json";
    options.defaultExtension = "json";
    return options;
}

} // namespace

AnimationPanel::AnimationPanel(FractalState &state, AnimationHost &host, FractalHost &editor,
                               Dialogs &dialogs, QWidget *parent)
    : QGroupBox("parametric animation", parent), state_(state), host_(host), editor_(editor),
      dialogs_(dialogs)
{
    setObjectName("fraAnimation");
    buildControls();
}

AnimationPanel::~AnimationPanel() = default;

void AnimationPanel::buildControls()
{
    auto button = [this](QPushButton *&b, const char *name, const char *text) {
        b = new QPushButton(text, this);
        b->setObjectName(name);
    };
    auto label = [this](QLabel *&l, const char *name, const QString &text) {
        l = new QLabel(text, this);
        l->setObjectName(name);
    };
    hscFrame = new QScrollBar(Qt::Horizontal, this);
    hscFrame->setObjectName("hscFrame");
    hscFrame->setRange(0, 0);
    hscFrame->setMinimumWidth(160);
    label(lblFrame, "lblFrame", "0");
    label(lblFrames, "lblFrames", "1");
    txtFrameDivs = new QLineEdit("10", this);
    txtFrameDivs->setObjectName("txtFrameDivs");
    txtFrameDivs->setMaximumWidth(60);
    label(lblFrameStatus, "lblFrameStatus", "frame 1 of 1");
    label(Label10, "Label10", "key 0  div 0");
    button(cmdAddFrame, "cmdAddFrame", "add key frame");
    button(cmdDeleteFrame, "cmdDeleteFrame", "delete key frame");
    button(cmdTo1, "cmdTo1", "1<");
    button(cmdStep, "cmdStep", ">");
    button(cmdRun, "cmdRun", ">>");
    button(cmdStop, "cmdStop", "X");
    chkSaveFile = new QCheckBox("save files", this);
    chkSaveFile->setObjectName("chkSaveFile");
    opt540 = new QRadioButton("540", this);
    opt540->setObjectName("opt540");
    opt540->setChecked(true);
    opt720 = new QRadioButton("720", this);
    opt720->setObjectName("opt720");
    opt1080 = new QRadioButton("1080", this);
    opt1080->setObjectName("opt1080");
    chkAntiA = new QCheckBox("anti alias", this);
    chkAntiA->setObjectName("chkAntiA");
    button(cmdSaveKeys, "cmdSaveKeys", "save key frames");
    button(cmdLoadKeys, "cmdLoadKeys", "load key frames");
    button(cmdCloseAnim, "cmdCloseAnim", "close this panel");
    applyControlTips(this, kTips);
    for (QWidget *w : findChildren<QWidget *>())
        w->setAccessibleName(w->objectName());

    auto *grid = new QGridLayout(this);
    grid->setVerticalSpacing(2);
    auto *keysCaption = new QLabel("key frames:", this);
    grid->addWidget(new QLabel("key frame", this), 0, 0);
    grid->addWidget(hscFrame, 0, 1, 1, 3);
    grid->addWidget(lblFrame, 0, 4);
    grid->addWidget(keysCaption, 1, 0);
    grid->addWidget(lblFrames, 1, 1);
    grid->addWidget(new QLabel("frames per key frame", this), 1, 2);
    grid->addWidget(txtFrameDivs, 1, 3);
    grid->addWidget(cmdAddFrame, 2, 0, 1, 2);
    grid->addWidget(cmdDeleteFrame, 2, 2, 1, 2);
    auto *transport = new QHBoxLayout;
    for (QPushButton *b : {cmdTo1, cmdStep, cmdRun, cmdStop})
        transport->addWidget(b);
    grid->addLayout(transport, 3, 0, 1, 4);
    grid->addWidget(lblFrameStatus, 4, 0, 1, 4);
    grid->addWidget(Label10, 5, 0, 1, 5);
    auto *files = new QHBoxLayout;
    for (QWidget *w : {static_cast<QWidget *>(chkSaveFile), static_cast<QWidget *>(opt540),
                       static_cast<QWidget *>(opt720), static_cast<QWidget *>(opt1080),
                       static_cast<QWidget *>(chkAntiA)})
        files->addWidget(w);
    grid->addLayout(files, 6, 0, 1, 5);
    grid->addWidget(cmdSaveKeys, 7, 0, 1, 2);
    grid->addWidget(cmdLoadKeys, 7, 2, 1, 2);
    grid->addWidget(cmdCloseAnim, 8, 0, 1, 2);
    grid->setRowStretch(9, 1);

    connect(hscFrame, &QScrollBar::valueChanged, this, [this] { hscFrame_Change(); });
    connect(txtFrameDivs, &QLineEdit::textChanged, this, [this] { txtFrameDivs_Change(); });
    connect(cmdAddFrame, &QPushButton::clicked, this, [this] { cmdAddFrame_Click(); });
    connect(cmdDeleteFrame, &QPushButton::clicked, this, [this] { cmdDeleteFrame_Click(); });
    connect(cmdTo1, &QPushButton::clicked, this, [this] { cmdTo1_Click(); });
    connect(cmdStep, &QPushButton::clicked, this, [this] { cmdStep_Click(); });
    connect(cmdRun, &QPushButton::clicked, this, [this] { cmdRun_Click(); });
    connect(cmdStop, &QPushButton::clicked, this, [this] { requestStop(); });
    connect(chkSaveFile, &QCheckBox::toggled, this, [this] { chkSaveFile_Click(); });
    connect(cmdSaveKeys, &QPushButton::clicked, this, [this] { cmdSaveKeys_Click(); });
    connect(cmdLoadKeys, &QPushButton::clicked, this, [this] { cmdLoadKeys_Click(); });
    connect(cmdCloseAnim, &QPushButton::clicked, this, &AnimationPanel::closeRequested);

    cmdStep->setEnabled(false);
    cmdRun->setEnabled(false);
    cmdStop->setEnabled(false);
    chkSaveFile_Click();
}

void AnimationPanel::drawOverlay(Surface &surface) const
{
    ShowPaths(surface, state_.keyFrames, state_.curKeyFrame, framesPerKey_);
    const FramePosition at = framePosition(frameIndex_, framesPerKey_, keyFrameCount());
    if (at.t != 0)
        drawFrameShape(surface, interpolateFrame(state_.keyFrames, framesPerKey_, frameIndex_,
                                                 host_.liveSettings())
                                    .params);
}

void AnimationPanel::renderStateChanged(bool rendered)
{
    cmdAddFrame->setEnabled(!rendered);
    cmdDeleteFrame->setEnabled(!rendered);
}

void AnimationPanel::setFrameSlider(int max, int value)
{
    {
        const QSignalBlocker blocker(hscFrame);
        hscFrame->setRange(0, max);
        hscFrame->setValue(value);
    }
    hscFrame_Change();
}

void AnimationPanel::hscFrame_Change()
{
    const int max = hscFrame->maximum();
    // The slider's range follows the key frames (0 for a single one).
    state_.curKeyFrame = std::clamp(hscFrame->value(), 0, keyFrameCount() - 1);
    lblFrame->setText(QString::number(state_.curKeyFrame));
    lblFrames->setText(QString::number(max + 1));
    cmdStep->setEnabled(max > 0);
    cmdRun->setEnabled(max > 0);
    frameIndex_ = state_.curKeyFrame * framesPerKey_;
    showStatus();
    host_.storeKeyFrame(shownKeyFrame_);
    shownKeyFrame_ = state_.curKeyFrame;
    host_.loadKeyFrame(state_.curKeyFrame);
    host_.RenderClean();
}

void AnimationPanel::txtFrameDivs_Change()
{
    if (editingDivs_)
        return;
    const std::optional<int> value = parseFramesPerKey(txtFrameDivs->text(), keyFrameCount());
    if (!value) {
        editingDivs_ = true;
        txtFrameDivs->clear();
        editingDivs_ = false;
        return;
    }
    framesPerKey_ = *value;
    // Fewer frames per key frame may leave the index past the new last frame.
    frameIndex_ = std::min(frameIndex_, total() - 1);
    showStatus();
}

void AnimationPanel::showStatus()
{
    lblFrameStatus->setText(QString("frame %1 of %2").arg(frameIndex_ + 1).arg(total()));
}

bool AnimationPanel::cmdAddFrame_Click()
{
    if (!(state_.params.refRadius > 0)) {
        dialogs_.message("pull a reference circle");
        dialogs_.beep();
        return false;
    }
    if (!canAddKeyFrame(keyFrameCount(), framesPerKey_)) {
        dialogs_.beep();
        return false;
    }
    auto &keys = state_.keyFrames;
    const int cur = state_.curKeyFrame;
    host_.storeKeyFrame(cur);
    keys.insert(keys.begin() + cur + 1, keys[std::size_t(cur)]);
    state_.curKeyFrame = cur + 1;
    initCP(keys, state_.curKeyFrame);
    setFrameSlider(keyFrameCount() - 1, state_.curKeyFrame);
    initCP(keys, state_.curKeyFrame);
    host_.RenderClean();
    return true;
}

void AnimationPanel::cmdDeleteFrame_Click()
{
    const int cur = state_.curKeyFrame;
    if (keyFrameCount() <= 1 || cur <= 0) {
        dialogs_.beep();
        return;
    }
    state_.keyFrames.erase(state_.keyFrames.begin() + cur);
    state_.curKeyFrame = cur - 1;
    host_.loadKeyFrame(state_.curKeyFrame);
    shownKeyFrame_ = state_.curKeyFrame;
    setFrameSlider(keyFrameCount() - 1, state_.curKeyFrame);
}

void AnimationPanel::cmdTo1_Click()
{
    frameIndex_ = 0;
    setFrameSlider(hscFrame->maximum(), 0);
}

void AnimationPanel::cmdStep_Click()
{
    frameIndex_ = frameIndex_ + 1 >= total() ? 0 : frameIndex_ + 1;
    showStatus();
    showFrame();
}

void AnimationPanel::showFrame()
{
    const FramePosition at = framePosition(frameIndex_, framesPerKey_, keyFrameCount());
    QString details = QString("nframe %1  key %2  div %3").arg(frameIndex_).arg(at.key).arg(at.t);
    if (!frameFileName_.isEmpty())
        details += "  " + frameFileName_;
    Label10->setText(details);
    if (host_.renderingShown())
        host_.renderWith(
            interpolateFrame(state_.keyFrames, framesPerKey_, frameIndex_, host_.liveSettings()));
    else
        host_.RenderClean(); // the overlay draws the frame's shape
}

void AnimationPanel::modifyKeyFrame(double x, double y)
{
    KeyFrame &key = state_.keyFrames[std::size_t(state_.curKeyFrame)];
    key.centerX = x;
    key.centerY = y;
    host_.loadKeyFrame(state_.curKeyFrame);
}

void AnimationPanel::askNewKeyFrame(double x, double y)
{
    // Key frames are added only while editing, as the button says.
    if (running_ || host_.renderingShown())
        return;
    if (dialogs_.askYesNo("Do you want a new keyframe?", "") != Answer::Yes) {
        host_.RenderClean();
        return;
    }
    if (!cmdAddFrame_Click())
        return;
    modifyKeyFrame(x, y);
    host_.storeKeyFrame(state_.curKeyFrame);
    initCP(state_.keyFrames, state_.curKeyFrame);
    host_.RenderClean();
}

void AnimationPanel::chkSaveFile_Click()
{
    const bool on = chkSaveFile->isChecked();
    for (QWidget *w : {static_cast<QWidget *>(opt540), static_cast<QWidget *>(opt720),
                       static_cast<QWidget *>(opt1080), static_cast<QWidget *>(chkAntiA)})
        w->setEnabled(on);
}

void AnimationPanel::cmdSaveKeys_Click()
{
    FileDialogOptions options = keyFileOptions("save key frames");
    options.confirmOverwrite = true;
    const std::optional<std::string> path = dialogs_.saveFile(options);
    if (!path)
        return;
    host_.storeKeyFrame(state_.curKeyFrame);
    KeyFrameSet set;
    set.keyFrames = state_.keyFrames;
    set.framesPerKey = framesPerKey_;
    set.live = host_.panelValues();
    QString error;
    if (!saveKeyFrameFile(QString::fromStdString(*path), set, &error))
        dialogs_.message(error.toStdString());
}

void AnimationPanel::cmdLoadKeys_Click()
{
    FileDialogOptions options = keyFileOptions("load key frames");
    options.mustExist = true;
    const std::optional<std::string> path = dialogs_.openFile(options);
    if (!path)
        return;
    QString error;
    const std::optional<KeyFrameSet> set = loadKeyFrameFile(QString::fromStdString(*path), &error);
    if (!set) {
        dialogs_.message(error.toStdString());
        return;
    }
    state_.keyFrames = set->keyFrames;
    state_.curKeyFrame = 0;
    shownKeyFrame_ = 0;
    framesPerKey_ = set->framesPerKey;
    {
        const QSignalBlocker blocker(txtFrameDivs);
        txtFrameDivs->setText(QString::number(framesPerKey_));
    }
    host_.setPanelValues(set->live);
    // The file's key frame 0 goes into the controls, not the live settings over it.
    host_.loadKeyFrame(0);
    setFrameSlider(keyFrameCount() - 1, 0);
}

} // namespace tessella
