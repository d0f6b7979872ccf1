// SPDX-License-Identifier: GPL-3.0-or-later
// `tessella --export OUT --fractal CX,CY,R [options] FILE`, run in process.
#include "app/commandline.h"
#include "document/colour.h"
#include "document/documentfile.h"

#include "tests/support/tilebuilder.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sstream>

namespace tessella::test {
namespace {

class FractalExportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::vector<Tile> tiles;
        for (int i = 0; i < 8; ++i)
            for (int j = 0; j < 8; ++j)
                tiles.push_back(squareTile(i * 25, j * 25, 25, (i + j) % 2 ? 0x0000ff : 0x00ff00));
        const auto bytes = writeDocument(documentOf(tiles));
        QFile f(input);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(reinterpret_cast<const char *>(bytes->data()), qint64(bytes->size()));
    }

    int run(QStringList options)
    {
        const QStringList args = QStringList{"tessella", "--export", output, "--quality", "1"} +
                                 options + QStringList{input};
        const CommandLine cl = parseCommandLine(args);
        EXPECT_EQ(cl.verb, CommandLine::Verb::Export);
        return runExport(cl, err);
    }

    QTemporaryDir dir;
    QString input = dir.filePath("in.mvl");
    QString output = dir.filePath("out.png");
    std::ostringstream err;
};

TEST_F(FractalExportTest, RendersTheTilingIntoTheDiscOfThePrintArea)
{
    ASSERT_EQ(run({"--fractal", "110,110,40", "--area", "0,0,200,100"}), 0) << err.str();
    const QImage image(output);
    ASSERT_EQ(image.size(), QSize(200, 100));
    // The reference centre lies in a green tile and is drawn at the middle of the area;
    // outward decay leaves the corners outside the disc.
    EXPECT_EQ(image.pixel(100, 50), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(2, 2), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(197, 97), qRgb(255, 255, 255));
}

TEST_F(FractalExportTest, HueShiftAndSkeletonAreThePanels)
{
    ASSERT_EQ(run({"--fractal", "110,110,40", "--area", "0,0,200,100", "--hue", "120"}), 0);
    const QImage hue(output);
    const Colour shifted = shiftColour(0x00ff00, 120, 0);
    EXPECT_EQ(hue.pixel(100, 50), qRgb(redOf(shifted), greenOf(shifted), blueOf(shifted)));
    ASSERT_EQ(run({"--fractal", "110,110,40", "--area", "0,0,200,100", "--skeleton"}), 0);
    EXPECT_EQ(QImage(output).pixel(100, 50), qRgb(255, 255, 255));
}

struct Refusal
{
    QStringList options;
    const char *message;
};

class FractalExportRefusal : public FractalExportTest, public ::testing::WithParamInterface<Refusal>
{};

TEST_P(FractalExportRefusal, SaysWhyAndWritesNothing)
{
    EXPECT_EQ(run(GetParam().options), 1);
    EXPECT_EQ(err.str(), std::string(GetParam().message) + "\n");
    EXPECT_FALSE(QFile::exists(output));
}

INSTANTIATE_TEST_SUITE_P(
    OutOfRange, FractalExportRefusal,
    ::testing::Values(
        Refusal{{"--fractal", "0,0,0"}, "pull a reference circle"},
        Refusal{{"--fractal", "0,0"}, "--fractal needs CX,CY,R in plane units"},
        Refusal{{"--fractal", "1,1,9", "--base", "4.1"}, "--base must be a number from 1.4 to 4.0"},
        Refusal{{"--fractal", "1,1,9", "--falloff", "0.4"},
                "--falloff must be a number from 0.5 to 2.0"},
        Refusal{{"--fractal", "1,1,9", "--squareness", "nan"},
                "--squareness must be a number from -1.0 to 3.0"},
        Refusal{{"--fractal", "1,1,9", "--size", "2.6"}, "--size must be a number from 0.5 to 2.5"},
        Refusal{{"--fractal", "1,1,9", "--granularity", "7"},
                "--granularity must be a number from 0 to 6"},
        Refusal{{"--fractal", "1,1,9", "--hue", "361"}, "--hue must be a number from 0 to 360"},
        Refusal{{"--fractal", "1,1,9", "--light", "-1"}, "--light must be a number from 0 to 360"},
        Refusal{{"--fractal", "1,1,9", "--pinch", "-1.2"},
                "--pinch must be a number from -1.0 to 1.0"},
        Refusal{{"--fractal", "1,1,9", "--wave", "21,0"},
                "--wave needs AMP,PHASE, each from 0 to 20"},
        Refusal{{"--fractal", "1,1,9", "--pinch", "0.5", "--wave", "1,1"},
                "--pinch and --wave exclude each other"},
        Refusal{{"--fractal", "1,1,9", "--method", "log"}, "--method must be exp or hyp"},
        Refusal{{"--skeleton"}, "the fractal options need --fractal CX,CY,R"}));

} // namespace
} // namespace tessella::test
