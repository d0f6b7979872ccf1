// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fractal/fractalstate.h"

#include <QString>

#include <optional>
#include <vector>

namespace tessella {

// Most frames an animation may have (frame numbers are 16-bit in the panel).
inline constexpr int kMaxFrames = 32767;

struct PathPoint
{
    double x = 0;
    double y = 0;
};

// Control points at the quarter points on both sides of key frame c, which makes the
// segments into and out of it straight lines.
void initCP(std::vector<KeyFrame> &keys, int c);

// The centre at parameter t in [0, 1) of the cubic path from key frame k to k + 1.
PathPoint pathPoint(const std::vector<KeyFrame> &keys, int k, double t);

// (keyFrameCount - 1) * framesPerKey + 1.
int frameTotal(int keyFrameCount, int framesPerKey);

// The "frames per key frame" text: a whole number >= 1 whose frame total fits kMaxFrames;
// nullopt for anything else (the box is then emptied and the old value kept).
std::optional<int> parseFramesPerKey(const QString &text, int keyFrameCount);

// Whether one more key frame keeps the frame total within kMaxFrames.
bool canAddKeyFrame(int keyFrameCount, int framesPerKey);

// Key frame K and parameter t of a frame; K is clamped to the last key frame.
struct FramePosition
{
    int key = 0;
    double t = 0;
};
FramePosition framePosition(int frameIndex, int framesPerKey, int keyFrameCount);

// Everything a frame is drawn with: the mapping and the two colour shifts.
struct FrameSettings
{
    MappingParams params;
    int hueShift = 0;
    int lightShift = 0;
    friend bool operator==(const FrameSettings &, const FrameSettings &) = default;
};

// The settings shown at frameIndex: centre on the path, radius, aspect, falloff, base,
// squareness, hue and light between the two key frames; everything else (size,
// granularity, method, variants) is taken from `live`.
FrameSettings interpolateFrame(const std::vector<KeyFrame> &keys, int framesPerKey, int frameIndex,
                               const FrameSettings &live);

// Path of the frame file: base, the index zero-padded to three digits, ".jpg".
QString frameFileName(const QString &base, int frameIndex);

// The base of the frame files for a chosen path: ".jpg" (any case) stripped, otherwise
// the whole path.
QString frameBaseFromPath(const QString &path);

} // namespace tessella
