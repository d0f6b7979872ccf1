// SPDX-License-Identifier: GPL-3.0-or-later
#include "fractal/keyframes.h"
#include "fractal/panelvalues.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace tessella {
namespace {

KeyFrame keyAt(double x, double y, float radius, int16_t value, int32_t hue)
{
    KeyFrame f;
    f.centerX = x;
    f.centerY = y;
    f.radius = radius;
    f.aspect = radius / 10;
    f.falloffValue = value;
    f.baseValue = int16_t(value + 10);
    f.granularityValue = 1;
    f.sizeValue = int16_t(value + 5);
    f.squareValue = int16_t(value - 5);
    f.hueValue = hue;
    f.lightValue = 360 - hue;
    return f;
}

TEST(FrameArithmetic, KeyAndParameterOfEachFrame)
{
    // clang-format off
    const struct { int keys, divs, index, total, key; double t; } cases[] = {
        {2, 10, 0, 11, 0, 0.0},   {2, 10, 5, 11, 0, 0.5}, {2, 10, 9, 11, 0, 0.9},
        {2, 10, 10, 11, 1, 0.0},  {3, 4, 6, 9, 1, 0.5},   {3, 4, 8, 9, 2, 0.0},
        {2, 10, 25, 11, 1, 0.0},  // past the end (key frames deleted meanwhile): clamped
        {1, 10, 0, 1, 0, 0.0},    {2, 0, 1, 2, 1, 0.0},   // a broken count acts as 1
    };
    // clang-format on
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.keys << " keys, " << c.divs << " divs, frame " << c.index);
        EXPECT_EQ(frameTotal(c.keys, c.divs), c.total);
        const FramePosition pos = framePosition(c.index, c.divs, c.keys);
        EXPECT_EQ(pos.key, c.key);
        EXPECT_DOUBLE_EQ(pos.t, c.t);
    }
}

TEST(FrameArithmetic, FramesPerKeyAcceptsWholeNumbersWithinTheFrameLimit)
{
    // clang-format off
    const struct { const char *text; int keys; int expected; } cases[] = {
        {"10", 2, 10}, {" 7 ", 2, 7}, {"1e1", 2, 10}, {"10.0", 2, 10}, {"1", 2, 1},
        {"32766", 2, 32766}, {"32767", 2, 0}, {"992", 34, 992}, {"993", 34, 0},
        {"1000", 34, 0}, {"40000", 1, 0}, {"0", 2, 0}, {"0.5", 2, 0}, {"-3", 2, 0},
        {"", 2, 0}, {"abc", 2, 0}, {"1,000", 2, 0}, {"&H10", 2, 0}, {"$5", 2, 0},
        {"nan", 2, 0}, {"inf", 2, 0}, {"5x", 2, 0},
    };
    // clang-format on
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseFramesPerKey(c.text, c.keys).value_or(0), c.expected);
    }
    EXPECT_TRUE(canAddKeyFrame(2, 16383)); // 2 * 16383 + 1 = 32767 frames
    EXPECT_FALSE(canAddKeyFrame(2, 16384));
    EXPECT_FALSE(canAddKeyFrame(kMaxFrames, 1));
}

TEST(FrameArithmetic, FileNamesAndBases)
{
    const struct
    {
        int index;
        const char *name;
    } names[] = {
        {0, "m000.jpg"},  {9, "m009.jpg"},   {10, "m010.jpg"},
        {99, "m099.jpg"}, {100, "m100.jpg"}, {1000, "m1000.jpg"},
    };
    for (const auto &c : names)
        EXPECT_EQ(frameFileName("m", c.index), c.name);
    const struct
    {
        const char *path, *base;
    } bases[] = {
        {"/t/movie.jpg", "/t/movie"},
        {"/t/MOVIE.JPG", "/t/MOVIE"},
        {"x.Jpg", "x"},
        {"/t/movie.jpeg", "/t/movie.jpeg"},
        {"ab", "ab"},
        {"/t/a.jpg/m", "/t/a.jpg/m"},
        {"", ""},
    };
    for (const auto &c : bases)
        EXPECT_EQ(frameBaseFromPath(c.path), c.base) << c.path;
}

TEST(KeyFramePath, FollowsTheBernsteinFormAndInitialControlPointsGiveStraightLines)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> coord(-500, 500), param(0, 1);
    for (int trial = 0; trial < 200; ++trial) {
        std::vector<KeyFrame> keys(3);
        for (KeyFrame &f : keys)
            for (double *v : {&f.centerX, &f.centerY, &f.cpInX, &f.cpInY, &f.cpOutX, &f.cpOutY})
                *v = coord(rng);
        const double t = param(rng), s = 1 - t;
        const KeyFrame &a = keys[1], &b = keys[2];
        const double x = s * s * s * a.centerX + 3 * s * s * t * a.cpOutX +
                         3 * s * t * t * b.cpInX + t * t * t * b.centerX;
        const double y = s * s * s * a.centerY + 3 * s * s * t * a.cpOutY +
                         3 * s * t * t * b.cpInY + t * t * t * b.centerY;
        PathPoint p = pathPoint(keys, 1, t);
        EXPECT_NEAR(p.x, x, 1e-9);
        EXPECT_NEAR(p.y, y, 1e-9);

        // Straightened around key frame 1, both of its segments lie on their chords.
        initCP(keys, 1);
        for (int k : {0, 1}) {
            const KeyFrame &from = keys[std::size_t(k)], &to = keys[std::size_t(k) + 1];
            p = pathPoint(keys, k, t);
            const double cross = (to.centerX - from.centerX) * (p.y - from.centerY) -
                                 (to.centerY - from.centerY) * (p.x - from.centerX);
            EXPECT_NEAR(cross, 0, 1e-7);
        }
    }
}

TEST(KeyFrameInterpolation, TwoKeysTenFramesEachEndExactlyAndMeetInTheMiddle)
{
    std::vector<KeyFrame> keys = {keyAt(10, -20, 4, 6, 0), keyAt(50, 60, 8, 14, 7)};
    keys[0].lightValue = 0;
    keys[1].lightValue = 5;
    keys[1].aspect = -1.5f;
    initCP(keys, 1);
    FrameSettings live;
    live.params.renderSize = 2.5f;
    live.params.granularity = 6;
    live.params.method = MappingParams::Method::Exponential;

    const auto expectKey = [&](const FrameSettings &f, const KeyFrame &k) {
        EXPECT_EQ(f.params.refCenterX, k.centerX);
        EXPECT_EQ(f.params.refCenterY, k.centerY);
        EXPECT_EQ(f.params.refRadius, k.radius);
        EXPECT_EQ(f.params.refAspect, k.aspect);
        EXPECT_EQ(f.params.falloff, float(k.falloffValue / 10));
        EXPECT_EQ(f.params.expBase, float(k.baseValue / 10.0));
        EXPECT_EQ(f.params.squareness, float(k.squareValue / 10.0));
        EXPECT_EQ(f.hueShift, k.hueValue);
        EXPECT_EQ(f.lightShift, k.lightValue);
    };
    expectKey(interpolateFrame(keys, 10, 0, live), keys[0]);
    expectKey(interpolateFrame(keys, 10, 10, live), keys[1]);
    expectKey(interpolateFrame(keys, 10, 99, live), keys[1]);

    const FrameSettings mid = interpolateFrame(keys, 10, 5, live);
    EXPECT_NEAR(mid.params.refCenterX, 30, 1e-12);
    EXPECT_NEAR(mid.params.refCenterY, 20, 1e-12);
    EXPECT_DOUBLE_EQ(mid.params.refRadius, 6);
    EXPECT_FLOAT_EQ(mid.params.refAspect, -0.55f);
    EXPECT_FLOAT_EQ(mid.params.falloff, 1.0f);
    EXPECT_FLOAT_EQ(mid.params.expBase, 2.0f);
    EXPECT_FLOAT_EQ(mid.params.squareness, 0.5f);
    EXPECT_EQ(mid.hueShift, 4);   // 3.5 rounds to even
    EXPECT_EQ(mid.lightShift, 2); // 2.5 rounds to even
    // Size, granularity and the method are not key-frame settings.
    EXPECT_EQ(mid.params.renderSize, 2.5f);
    EXPECT_EQ(mid.params.granularity, 6);
    EXPECT_EQ(mid.params.method, MappingParams::Method::Exponential);
}

TEST(PanelValues, SliderEndsGiveTheDocumentedSettings)
{
    MappingParams shape;
    shape.refCenterX = 3;
    shape.refRadius = 9;
    shape.refAspect = 2;
    const PanelValues low{5, -10, 5, 14, 0, -10, 0, 0, 0, 0, false, true, true, true, false};
    const PanelValues high{25,  30,  20,   40,    6,     10,    20,  20,
                           360, 360, true, false, false, false, true};
    const FrameSettings a = frameSettingsFrom(low, shape), b = frameSettingsFrom(high, shape);
    EXPECT_EQ(a.params.refCenterX, 3);
    EXPECT_EQ(a.params.refRadius, 9);
    EXPECT_EQ(a.params.refAspect, 2);
    EXPECT_EQ(a.params.renderSize, 0.5f);
    EXPECT_EQ(b.params.renderSize, 2.5f);
    EXPECT_EQ(a.params.squareness, -1.0f);
    EXPECT_EQ(b.params.squareness, 3.0f);
    EXPECT_EQ(a.params.falloff, 0.5f);
    EXPECT_EQ(b.params.expBase, 4.0f);
    EXPECT_EQ(a.params.pinch, -1.0);
    EXPECT_EQ(b.params.waveAmp, 1.0);
    EXPECT_DOUBLE_EQ(b.params.wavePhase, 2 * std::numbers::pi);
    EXPECT_EQ(a.params.variant, MappingParams::Variant::Pinch);
    EXPECT_EQ(b.params.variant, MappingParams::Variant::Wave);
    EXPECT_EQ(a.params.method, MappingParams::Method::Exponential);
    EXPECT_EQ(a.params.decay, MappingParams::Decay::Inward);
    EXPECT_EQ(b.params.decay, MappingParams::Decay::Outward);
    EXPECT_FALSE(a.params.smoothing);
    EXPECT_EQ(b.hueShift, 360);
    EXPECT_EQ(b.lightShift, 360);
}

} // namespace
} // namespace tessella
