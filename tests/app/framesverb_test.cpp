// SPDX-License-Identifier: GPL-3.0-or-later
// `tessella --frames`, run as a script runs it.
#include "fractal/keyframefile.h"

#include "tests/support/files.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tessella;

namespace {

TEST(FramesVerb, WritesEveryFrameWithAProgressLineAndFailsWithTheMessage)
{
    QTemporaryDir dir;
    const KeyFrame a{.centerX = 150,
                     .centerY = 120,
                     .radius = 80,
                     .aspect = 1,
                     .falloffValue = 10,
                     .baseValue = 20,
                     .sizeValue = 10};
    KeyFrame b = a;
    b.centerX = 260, b.radius = 140, b.hueValue = 120;
    const QString keys = dir.filePath("keys.json"), damaged = dir.filePath("damaged.json");
    ASSERT_TRUE(
        saveKeyFrameFile(keys, {.keyFrames = {a, b}, .framesPerKey = 3, .live = {}}, nullptr) &&
        test::putFile(damaged, "{\"format\": "));
    // clang-format off
    struct { QString base, keys; int status; QString first; /* how standard error starts */ } const rows[] = {
        {dir.filePath("m"), keys, 0, "frame 1 of 4: " + dir.filePath("m000.jpg")},
        {dir.filePath("x"), damaged, 1, ""},
        {dir.filePath("no/m"), keys, 1, "file not saved\n"}};
    // clang-format on
    for (const auto &r : rows) {
        QProcess program;
        program.start(TESSELLA_BIN_DIR "/tessella",
                      {"--frames", r.base, "--keys", r.keys, "--resolution", "720", "--anti-alias",
                       TESSELLA_BIN_DIR "/primitives.mvl"});
        ASSERT_TRUE(program.waitForFinished(120000));
        const QString err = QString::fromUtf8(program.readAllStandardError());
        EXPECT_EQ(program.exitCode(), r.status) << err.toStdString();
        EXPECT_TRUE(err.startsWith(r.first) && !err.isEmpty()) << err.toStdString();
        EXPECT_TRUE(r.status || err.count('\n') == 4) << err.toStdString(); // a line a frame
    }
    for (const char *name : {"m000.jpg", "m001.jpg", "m002.jpg", "m003.jpg"})
        EXPECT_EQ(QImage(dir.filePath(name)).size(), QSize(1280, 720)) << name;
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 6);
}

} // namespace
