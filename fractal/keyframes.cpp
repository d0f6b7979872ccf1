// SPDX-License-Identifier: GPL-3.0-or-later
#include "fractal/keyframes.h"

#include "document/numeric.h"

#include <QLocale>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace tessella {

namespace {

bool validKey(const std::vector<KeyFrame> &keys, int k)
{
    return k >= 0 && std::size_t(k) < keys.size();
}

// (3 * a + b) / 4: the quarter point next to a.
double quarter(double a, double b)
{
    return (3 * a + b) / 4;
}

double cubic(double p0, double c1, double c2, double p3, double t)
{
    const double c = 3 * (c1 - p0);
    const double b = 3 * (c2 - c1) - c;
    const double a = p3 - p0 - c - b;
    return a * t * t * t + b * t * t + c * t + p0;
}

double lerp(double a, double b, double t)
{
    return (1 - t) * a + t * b;
}

// Between two whole numbers the result stays between them, so the conversion is safe.
int lerpRounded(int32_t a, int32_t b, double t)
{
    return roundToInt(lerp(a, b, t), INT_MIN, INT_MAX).value_or(a);
}

} // namespace

void initCP(std::vector<KeyFrame> &keys, int c)
{
    if (!validKey(keys, c))
        return;
    KeyFrame &cur = keys[std::size_t(c)];
    if (c > 0) {
        KeyFrame &prev = keys[std::size_t(c - 1)];
        prev.cpOutX = quarter(prev.centerX, cur.centerX);
        prev.cpOutY = quarter(prev.centerY, cur.centerY);
        cur.cpInX = quarter(cur.centerX, prev.centerX);
        cur.cpInY = quarter(cur.centerY, prev.centerY);
    }
    if (std::size_t(c) + 1 < keys.size()) {
        KeyFrame &next = keys[std::size_t(c + 1)];
        cur.cpOutX = quarter(cur.centerX, next.centerX);
        cur.cpOutY = quarter(cur.centerY, next.centerY);
        next.cpInX = quarter(next.centerX, cur.centerX);
        next.cpInY = quarter(next.centerY, cur.centerY);
    }
}

PathPoint pathPoint(const std::vector<KeyFrame> &keys, int k, double t)
{
    if (keys.empty())
        return {};
    if (k < 0 || std::size_t(k) + 1 >= keys.size()) {
        // No segment starts here: stay on the nearest key frame.
        const KeyFrame &f = keys[std::size_t(std::clamp(k, 0, int(keys.size()) - 1))];
        return {f.centerX, f.centerY};
    }
    const KeyFrame &a = keys[std::size_t(k)];
    const KeyFrame &b = keys[std::size_t(k + 1)];
    return {cubic(a.centerX, a.cpOutX, b.cpInX, b.centerX, t),
            cubic(a.centerY, a.cpOutY, b.cpInY, b.centerY, t)};
}

int frameTotal(int keyFrameCount, int framesPerKey)
{
    const int64_t total = int64_t(std::max(keyFrameCount, 1) - 1) * std::max(framesPerKey, 1) + 1;
    return int(std::min<int64_t>(total, INT_MAX));
}

std::optional<int> parseFramesPerKey(const QString &text, int keyFrameCount)
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double v = c.toDouble(text.trimmed(), &ok);
    // Whole numbers only ("1e1" is ten); anything that would overflow the frame count
    // counts as not numeric.
    if (!ok || !std::isfinite(v) || v < 1 || v > kMaxFrames || v != std::floor(v))
        return std::nullopt;
    const int n = int(v);
    if (frameTotal(keyFrameCount, n) > kMaxFrames)
        return std::nullopt;
    return n;
}

bool canAddKeyFrame(int keyFrameCount, int framesPerKey)
{
    // One more key frame adds one segment; in 64 bits, so no count can overflow.
    return frameTotal(keyFrameCount, framesPerKey) + int64_t(std::max(framesPerKey, 1)) <=
           kMaxFrames;
}

FramePosition framePosition(int frameIndex, int framesPerKey, int keyFrameCount)
{
    const int divs = std::max(framesPerKey, 1);
    const int index = std::max(frameIndex, 0);
    const int last = std::max(keyFrameCount, 1) - 1;
    const int key = index / divs;
    if (key >= last)
        return {last, 0.0};
    return {key, double(index % divs) / divs};
}

FrameSettings interpolateFrame(const std::vector<KeyFrame> &keys, int framesPerKey, int frameIndex,
                               const FrameSettings &live)
{
    if (keys.empty())
        return live;
    const FramePosition pos = framePosition(frameIndex, framesPerKey, int(keys.size()));
    const KeyFrame &a = keys[std::size_t(pos.key)];
    FrameSettings out = live;
    MappingParams &p = out.params;
    if (std::size_t(pos.key) + 1 < keys.size()) {
        const KeyFrame &b = keys[std::size_t(pos.key) + 1];
        const double t = pos.t;
        const PathPoint c = pathPoint(keys, pos.key, t);
        p.refCenterX = c.x;
        p.refCenterY = c.y;
        p.refRadius = lerp(a.radius, b.radius, t);
        p.refAspect = float(lerp(a.aspect, b.aspect, t));
        p.falloff = float(lerp(a.falloffValue / 10, b.falloffValue / 10, t));
        p.expBase = float(lerp(a.baseValue / 10.0, b.baseValue / 10.0, t));
        p.squareness = float(lerp(a.squareValue / 10.0, b.squareValue / 10.0, t));
        out.hueShift = lerpRounded(a.hueValue, b.hueValue, t);
        out.lightShift = lerpRounded(a.lightValue, b.lightValue, t);
        return out;
    }
    // The last key frame is shown as stored.
    p.refCenterX = a.centerX;
    p.refCenterY = a.centerY;
    p.refRadius = a.radius;
    p.refAspect = a.aspect;
    p.falloff = float(a.falloffValue / 10);
    p.expBase = float(a.baseValue / 10.0);
    p.squareness = float(a.squareValue / 10.0);
    out.hueShift = a.hueValue;
    out.lightShift = a.lightValue;
    return out;
}

QString frameFileName(const QString &base, int frameIndex)
{
    return base + QString::number(std::max(frameIndex, 0)).rightJustified(3, u'0') + ".jpg";
}

QString frameBaseFromPath(const QString &path)
{
    if (path.endsWith(".jpg", Qt::CaseInsensitive))
        return path.chopped(4);
    return path;
}

} // namespace tessella
