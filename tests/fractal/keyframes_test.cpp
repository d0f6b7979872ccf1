// SPDX-License-Identifier: GPL-3.0-or-later
#include "fractal/keyframefile.h"
#include "platform/fileio.h"

#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

namespace tessella {
namespace {

// A key frame with every field random and within the panel's slider ranges.
KeyFrame randomKey(std::mt19937 &rng)
{
    std::uniform_real_distribution<double> c(-500, 500);
    const auto in = [&](int lo, int hi) { return std::uniform_int_distribution(lo, hi)(rng); };
    // clang-format off
    return {c(rng), c(rng), c(rng), c(rng), c(rng), c(rng), float(c(rng) + 500),
            float(c(rng) / 100), double(in(5, 20)), int16_t(in(14, 40)), int16_t(in(0, 6)),
            int16_t(in(5, 25)), int16_t(in(-10, 30)), in(0, 360), in(0, 360)};
    // clang-format on
}

TEST(FrameArithmetic, PositionsCountsNamesAndFramesPerKey)
{
    // clang-format off
    const struct { int keys, divs, index, total, key; double t; } cases[] = {
        {2, 10, 5, 11, 0, 0.5}, {2, 10, 9, 11, 0, 0.9}, {2, 10, 10, 11, 1, 0.0},
        {3, 4, 6, 9, 1, 0.5},   {2, 10, 25, 11, 1, 0.0}, {2, 10, 15, 11, 1, 0.0}, // past the end
        {1, 10, 0, 1, 0, 0.0},  {2, 0, 1, 2, 1, 0.0},    // a broken count acts as 1
    };
    // clang-format on
    for (const auto &c : cases) {
        EXPECT_EQ(frameTotal(c.keys, c.divs), c.total) << c.keys << " keys, " << c.divs;
        const FramePosition at = framePosition(c.index, c.divs, c.keys);
        EXPECT_EQ(std::pair(at.key, at.t), std::pair(c.key, c.t)) << "frame " << c.index;
    }
    // clang-format off
    for (auto [index, name] : {std::pair{0, "m000.jpg"}, {9, "m009.jpg"}, {10, "m010.jpg"},
                               {99, "m099.jpg"}, {100, "m100.jpg"}, {1000, "m1000.jpg"}})
        EXPECT_EQ(frameFileName("m", index), name);
    for (auto [path, base] : {std::pair{"/t/a.jpg", "/t/a"}, {"/t/A.JPG", "/t/A"}, {"x.Jpg", "x"},
                              {"/t/a.jpeg", "/t/a.jpeg"}, {"ab", "ab"}, {"a.jpg/m", "a.jpg/m"}})
        EXPECT_EQ(frameBaseFromPath(path), base) << path;
    const struct { const char *text; int keys, expected; } perKey[] = {
        {"10", 2, 10}, {" 7 ", 2, 7}, {"1e1", 2, 10}, {"10.0", 2, 10}, {"1", 2, 1},
        {"32766", 2, 32766}, {"32767", 2, 0}, {"992", 34, 992}, {"993", 34, 0},
        {"40000", 1, 0}, {"0", 2, 0}, {"0.5", 2, 0}, {"-3", 2, 0}, {"", 2, 0},
        {"1,000", 2, 0}, {"&H10", 2, 0}, {"$5", 2, 0}, {"inf", 2, 0}, {"5x", 2, 0},
    };
    // clang-format on
    for (const auto &c : perKey)
        EXPECT_EQ(parseFramesPerKey(c.text, c.keys).value_or(0), c.expected) << c.text;
    EXPECT_TRUE(canAddKeyFrame(2, 16383) && !canAddKeyFrame(2, 16384)); // 32767 frames at most
}

TEST(KeyFramePath, FollowsTheBernsteinFormAndStraightensToTheChords)
{
    std::mt19937 rng(7);
    for (int trial = 0; trial < 200; ++trial) {
        std::vector<KeyFrame> keys = {randomKey(rng), randomKey(rng), randomKey(rng)};
        const double t = std::uniform_real_distribution(0.0, 1.0)(rng), s = 1 - t;
        const auto bernstein = [&](double p0, double c1, double c2, double p3) {
            return s * s * s * p0 + 3 * s * s * t * c1 + 3 * s * t * t * c2 + t * t * t * p3;
        };
        const KeyFrame &a = keys[1], &b = keys[2];
        PathPoint p = pathPoint(keys, 1, t);
        EXPECT_NEAR(p.x, bernstein(a.centerX, a.cpOutX, b.cpInX, b.centerX), 1e-9);
        EXPECT_NEAR(p.y, bernstein(a.centerY, a.cpOutY, b.cpInY, b.centerY), 1e-9);
        EXPECT_EQ(pathPoint(keys, 5, t).y, b.centerY); // no segment outside the key frames
        EXPECT_EQ(pathPoint(keys, -1, t).x, keys[0].centerX);
        initCP(keys, 1); // both segments of key frame 1 become straight
        for (std::size_t k : {0u, 1u}) {
            const KeyFrame &from = keys[k], &to = keys[k + 1];
            p = pathPoint(keys, int(k), t);
            EXPECT_NEAR((to.centerX - from.centerX) * (p.y - from.centerY),
                        (to.centerY - from.centerY) * (p.x - from.centerX), 1e-7);
        }
    }
}

TEST(KeyFrameInterpolation, TwoKeysTenFramesEachEndExactlyAndMeetInTheMiddle)
{
    std::mt19937 rng(11);
    std::vector<KeyFrame> keys = {randomKey(rng), randomKey(rng)};
    keys[0].hueValue = keys[0].lightValue = 0;
    keys[1].hueValue = 7, keys[1].lightValue = 5; // means 3.5 and 2.5 round to even
    initCP(keys, 1);
    const PanelValues panel{.size = 25, .granularity = 6};
    // What the panel shows with a key frame loaded: size and granularity stay live.
    const auto shown = [&](const KeyFrame &k) {
        PanelValues v = panel;
        v.square = k.squareValue, v.falloff = int(k.falloffValue), v.base = k.baseValue;
        v.hue = k.hueValue, v.light = k.lightValue;
        // clang-format off
        return frameSettingsFrom(v, {.refCenterX = k.centerX, .refCenterY = k.centerY, .refRadius = k.radius, .refAspect = k.aspect});
        // clang-format on
    };
    const FrameSettings live = frameSettingsFrom(panel, {});
    EXPECT_EQ(interpolateFrame(keys, 10, 0, live), shown(keys[0]));
    EXPECT_EQ(interpolateFrame(keys, 10, 10, live), shown(keys[1]));

    const FrameSettings mid = interpolateFrame(keys, 10, 5, live);
    const KeyFrame &a = keys[0], &b = keys[1];
    const MappingParams &m = mid.params;
    // clang-format off
    const std::pair<double, double> means[] = {
        {m.refCenterX, (a.centerX + b.centerX) / 2}, {m.refCenterY, (a.centerY + b.centerY) / 2},
        {m.refRadius, (double(a.radius) + b.radius) / 2}, {m.refAspect, (a.aspect + b.aspect) / 2},
        {m.falloff, (a.falloffValue + b.falloffValue) / 20}, {m.squareness, (a.squareValue + b.squareValue) / 20.0},
        {m.expBase, (a.baseValue + b.baseValue) / 20.0}};
    // clang-format on
    for (auto [got, mean] : means)
        EXPECT_NEAR(got, mean, 1e-6 * (1 + std::abs(mean)));
    EXPECT_EQ(std::pair(mid.hueShift, mid.lightShift), std::pair(4, 2));
}

// A saved set loads back exactly, a refused or failed save keeps the old file, and damaged,
// foreign and out-of-range files are refused with their reason.
TEST(KeyFrameFile, LoadsBackWhatIsSavedKeepsTheOldFileAndRefusesDamage)
{
    std::mt19937 rng(13);
    QTemporaryDir dir;
    const QString path = dir.filePath("a.json"), badPath = dir.filePath("bad.json");
    const auto randomSet = [&](int count) {
        KeyFrameSet set{{}, 7, {25, -10, 20, 14, 0, -10, 20, 20, 360, 0, false, true, true}};
        set.live.waveOn = true;
        for (int k = 0; k < count; ++k)
            set.keyFrames.push_back(randomKey(rng));
        return set;
    };
    QString error;
    // The other end of every range and exactly the most frames, then random key frames.
    // clang-format off
    for (const KeyFrameSet &set : {KeyFrameSet{{randomKey(rng), randomKey(rng)}, 32766,
                                   {5, 30, 5, 40, 6, 10, 0, 0, 0, 360, true}}, randomSet(40)}) {
        // clang-format on
        ASSERT_TRUE(saveKeyFrameFile(path, set, &error)) << error.toStdString();
        EXPECT_EQ(loadKeyFrameFile(path, &error), set) << error.toStdString();
    }
    const QByteArray before = readRegularFile(path).bytes;
    EXPECT_FALSE(saveKeyFrameFile(path, KeyFrameSet(), &error)); // all zero: unusable
    EXPECT_TRUE(error.contains("key frame 0")) << error.toStdString();
    setWriteFailureForTesting(true);
    EXPECT_FALSE(saveKeyFrameFile(path, randomSet(2), &error));
    setWriteFailureForTesting(false);
    EXPECT_TRUE(error.startsWith("key frames not saved\n" + path));
    EXPECT_EQ(readRegularFile(path).bytes, before);

    const QString good = QString::fromUtf8(before);
    // Each case replaces every match of a pattern in a good file.
    // clang-format off
    const struct { const char *pattern, *replacement, *why; } cases[] = {
        {"\\}\\s*$", "", "damaged"},
        {"tessella-keyframes", "other", "not a key-frame file"},
        {"\"version\": 1", "\"version\": 2", "newer version"},
        {"\"framesPerKey\"", "\"frames\"", "\"framesPerKey\" is missing"},
        {"\"framesPerKey\": 7", "\"framesPerKey\": 32767", "more than 32767 frames"},
        {"\"keyFrames\": \\[[\\s\\S]*\\]", "\"keyFrames\": []", "\"keyFrames\""},
        {"\"centerX\": [^,\\n]+", "\"centerX\": 1e300", "key frame 0: \"centerX\""},
        {"\"radius\": [^,\\n]+", "\"radius\": \"abc\"", "key frame 0: \"radius\" is not"},
        {"\"radius\": [^,\\n]+", "\"radius\": -1", "key frame 0: \"radius\""},
        {"\"sizeValue\": [^,\\n]+", "\"sizeValue\": 26", "\"sizeValue\""},
        {"\"granularityValue\": [^,\\n]+", "\"granularityValue\": 2.5", "\"granularityValue\""},
        {"\"size\": 25", "\"size\": 4", "live \"size\""},
        {"\"smoothing\": false", "\"smoothing\": 0", "live \"smoothing\""},
        {"\"pinchOn\": false", "\"pinchOn\": true", "pinch and wave"},
    };
    // clang-format on
    for (const auto &c : cases) {
        const QString bad = QString(good).replace(QRegularExpression(c.pattern), c.replacement);
        ASSERT_NE(bad, good) << c.pattern;
        ASSERT_TRUE(writeFileAtomically(badPath, bad.toUtf8()));
        QString loadError;
        EXPECT_FALSE(loadKeyFrameFile(badPath, &loadError)) << c.pattern;
        EXPECT_TRUE(loadError.startsWith("key frames not loaded\n" + badPath + "\n"));
        EXPECT_TRUE(loadError.contains(c.why)) << loadError.toStdString();
    }
}

} // namespace
} // namespace tessella
