// SPDX-License-Identifier: GPL-3.0-or-later
// `tessella --frames`, run as a script runs it.
#include "app/commandline.h"
#include "fractal/keyframefile.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tessella;

namespace {

TEST(FramesVerb, WrongArgumentsShowTheUsage)
{
    const QStringList good{"tessella", "--frames", "m", "--keys", "k.json", "doc.mvl"};
    EXPECT_EQ(parseCommandLine(good).verb, CommandLine::Verb::Frames);
    for (const QStringList &extra : {QStringList{"--resolution", "600"}, {"other.mvl"}})
        EXPECT_EQ(parseCommandLine(good + extra).verb, CommandLine::Verb::Usage);
}

TEST(FramesVerb, WritesEveryFrameWithAProgressLineAndFailsWithTheMessage)
{
    QTemporaryDir dir;
    KeyFrameSet set;
    KeyFrame a;
    a.centerX = 150, a.centerY = 120, a.radius = 80, a.aspect = 1;
    a.falloffValue = 10, a.baseValue = 20, a.sizeValue = 10;
    KeyFrame b = a;
    b.centerX = 260, b.radius = 140, b.hueValue = 120;
    set.keyFrames = {a, b};
    set.framesPerKey = 3;
    const QString keys = dir.filePath("keys.json"), damaged = dir.filePath("damaged.json");
    ASSERT_TRUE(saveKeyFrameFile(keys, set, nullptr));
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("{\"format\": ") > 0);
    file.close();

    struct Row
    {
        QString base, keys;
        int status;
        QString first; // how standard error starts
    };
    for (const Row &r :
         {Row{dir.filePath("m"), keys, 0, "frame 1 of 4: " + dir.filePath("m000.jpg")},
          Row{dir.filePath("x"), damaged, 1, ""},
          Row{dir.filePath("no/m"), keys, 1, "file not saved\n"}}) {
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
