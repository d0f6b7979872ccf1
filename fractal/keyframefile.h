// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fractal/panelvalues.h"

#include <QString>

#include <optional>
#include <vector>

namespace tessella {

// An animation's set-up kept apart from the document: the key frames, the frames per key
// frame and the panel settings that key frames do not hold. Stored as a small versioned
// JSON file (docs/KEYFRAMES.md).
struct KeyFrameSet
{
    std::vector<KeyFrame> keyFrames = std::vector<KeyFrame>(1);
    int framesPerKey = 10;
    PanelValues live;
    friend bool operator==(const KeyFrameSet &, const KeyFrameSet &) = default;
};

// Writes the file atomically; false with a message when it could not be written.
bool saveKeyFrameFile(const QString &path, const KeyFrameSet &set, QString *error);

// Reads a key-frame file. A damaged, foreign or out-of-range file gives nullopt and a
// message that says why.
std::optional<KeyFrameSet> loadKeyFrameFile(const QString &path, QString *error);

} // namespace tessella
