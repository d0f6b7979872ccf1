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

const QString kProgram = QStringLiteral(TESSELLA_BIN_DIR "/tessella");
const QString kPrimitives = QStringLiteral(TESSELLA_BIN_DIR "/primitives.mvl");

struct Finished
{
    int status = -1;
    QStringList errLines;
};

Finished runProgram(const QStringList &args)
{
    QProcess process;
    process.start(kProgram, args);
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardError()).split('\n', Qt::SkipEmptyParts)};
}

// Two key frames, 3 frames per key: 4 frames.
KeyFrameSet twoKeys()
{
    KeyFrameSet set;
    KeyFrame a;
    a.centerX = 150, a.centerY = 120, a.radius = 80, a.aspect = 1;
    a.falloffValue = 10, a.baseValue = 20, a.sizeValue = 10;
    KeyFrame b = a;
    b.centerX = 260, b.radius = 140, b.hueValue = 120;
    set.keyFrames = {a, b};
    initCP(set.keyFrames, 1);
    set.framesPerKey = 3;
    return set;
}

TEST(FramesVerb, WrongArgumentsShowTheUsage)
{
    const QStringList good{"tessella", "--frames", "out/m", "--keys", "k.json", "doc.mvl"};
    const CommandLine cl = parseCommandLine(good + QStringList{"--resolution", "1080"});
    ASSERT_EQ(cl.verb, CommandLine::Verb::Frames);
    EXPECT_EQ(cl.frames->resolution, 1080);
    EXPECT_EQ(cl.frames->outBase, "out/m");
    for (const QStringList &args :
         {QStringList{"tessella", "--frames", "m", "doc.mvl"},
          good + QStringList{"--resolution", "600"}, good + QStringList{"--resolution"},
          good + QStringList{"--quality", "2"}, good + QStringList{"other.mvl"},
          QStringList{"tessella", "--frames", "m", "--keys", "k.json"},
          QStringList{"tessella", "--frames"}})
        EXPECT_EQ(parseCommandLine(args).verb, CommandLine::Verb::Usage)
            << args.join(' ').toStdString();
}

TEST(FramesVerb, WritesEveryFrameWithAProgressLineAndStopsAtAFailure)
{
    QTemporaryDir dir;
    const QString keys = dir.filePath("keys.json");
    QString error;
    ASSERT_TRUE(saveKeyFrameFile(keys, twoKeys(), &error)) << error.toStdString();
    const QString base = dir.filePath("m");
    const Finished ok = runProgram(
        {"--frames", base, "--keys", keys, "--resolution", "720", "--anti-alias", kPrimitives});
    ASSERT_EQ(ok.status, 0) << ok.errLines.join('\n').toStdString();
    EXPECT_EQ(ok.errLines.size(), 4);
    for (const char *name : {"m000.jpg", "m001.jpg", "m002.jpg", "m003.jpg"}) {
        const QImage frame(dir.filePath(name));
        EXPECT_EQ(frame.size(), QSize(1280, 720)) << name;
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("m004.jpg")));

    QFile damaged(dir.filePath("damaged.json"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("{\"format\": ");
    damaged.close();
    KeyFrameSet noCircle = twoKeys();
    noCircle.keyFrames[1].radius = 0;
    ASSERT_TRUE(saveKeyFrameFile(dir.filePath("nocircle.json"), noCircle, &error));
    struct Row
    {
        QString base, keys, document, message;
    };
    const QString unwritable = dir.filePath("no/such/dir/m");
    for (const Row &r :
         {Row{dir.filePath("x"), damaged.fileName(), kPrimitives, {}},
          Row{dir.filePath("x"), dir.filePath("nocircle.json"), kPrimitives,
              "pull a reference circle"},
          Row{dir.filePath("x"), keys, dir.filePath("none.mvl"), "error loading file"},
          Row{unwritable, keys, kPrimitives, "file not saved"}}) {
        const Finished failed = runProgram({"--frames", r.base, "--keys", r.keys, r.document});
        EXPECT_EQ(failed.status, 1) << r.keys.toStdString();
        ASSERT_FALSE(failed.errLines.isEmpty());
        if (!r.message.isEmpty()) {
            EXPECT_EQ(failed.errLines[0].toStdString(), r.message.toStdString());
        }
    }
    EXPECT_EQ(QDir(dir.path()).entryList({"x*"}, QDir::Files | QDir::Hidden).size(), 0);
}

} // namespace
