// SPDX-License-Identifier: GPL-3.0-or-later
// `tessella --export OUT --fractal CX,CY,R [options] FILE`, run in process: the options
// reach the panel's state and the rendering (tested in tests/fractal) reaches the file.
#include "app/commandline.h"
#include "document/colour.h"
#include "document/documentfile.h"
#include "platform/imagesurface.h"

#include "tests/support/files.h"
#include "tests/support/tilebuilder.h"

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
        std::vector<Tile> tiles; // an 8 x 8 board of green and blue squares
        for (int i = 0; i < 64; ++i)
            tiles.push_back(
                squareTile(i / 8 * 25, i % 8 * 25, 25, i / 8 % 2 != i % 2 ? 0xff : 0xff00));
        const auto bytes = *writeDocument(documentOf(tiles));
        ASSERT_TRUE(putFile(
            input, {reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size())}));
    }
    int run(QStringList options)
    {
        err.str({});
        const CommandLine cl =
            parseCommandLine(QStringList{"tessella", "--export", output, "--quality", "1"} +
                             options + QStringList{input});
        EXPECT_EQ(cl.verb, CommandLine::Verb::Export);
        return runExport(cl, err);
    }

    QTemporaryDir dir;
    QString input = dir.filePath("in.mvl"), output = dir.filePath("out.png");
    std::ostringstream err;
};

TEST_F(FractalExportTest, RendersTheTilingIntoTheDiscOfThePrintArea)
{
    // The reference centre lies in a green tile and is drawn at the middle of the area;
    // outward decay leaves the corners outside the disc.
    // clang-format off
    struct { QStringList extra; QRgb centre; } const cases[] = {
        {{}, qRgb(0, 255, 0)}, {{"--hue", "120"}, toQColor(shiftColour(0x00ff00, 120, 0)).rgb()},
        {{"--skeleton"}, qRgb(255, 255, 255)}};
    // clang-format on
    for (const auto &c : cases) {
        const std::string name = c.extra.join(' ').toStdString();
        ASSERT_EQ(run(QStringList{"--fractal", "110,110,40", "--area", "0,0,200,100"} + c.extra), 0)
            << err.str();
        const QImage image(output);
        ASSERT_EQ(image.size(), QSize(200, 100)) << name;
        EXPECT_EQ(image.pixel(100, 50), c.centre) << name;
        EXPECT_EQ(image.pixel(2, 2) & image.pixel(197, 97), qRgb(255, 255, 255)) << name;
    }
}

TEST_F(FractalExportTest, AnOptionOutOfRangeSaysWhyAndWritesNothing)
{
    const QString r = "1,1,9";
    // clang-format off
    struct { QStringList options; const char *message; } const cases[] = {
        {{"--fractal", "0,0,0"}, "pull a reference circle"},
        {{"--fractal", "0,0"}, "--fractal needs CX,CY,R in plane units"},
        {{"--fractal", r, "--base", "4.1"}, "--base must be a number from 1.4 to 4.0"},
        {{"--fractal", r, "--falloff", "0.4"}, "--falloff must be a number from 0.5 to 2.0"},
        {{"--fractal", r, "--squareness", "nan"}, "--squareness must be a number from -1.0 to 3.0"},
        {{"--fractal", r, "--size", "2.6"}, "--size must be a number from 0.5 to 2.5"},
        {{"--fractal", r, "--granularity", "7"}, "--granularity must be a number from 0 to 6"},
        {{"--fractal", r, "--hue", "361"}, "--hue must be a number from 0 to 360"},
        {{"--fractal", r, "--light", "-1"}, "--light must be a number from 0 to 360"},
        {{"--fractal", r, "--pinch", "-1.2"}, "--pinch must be a number from -1.0 to 1.0"},
        {{"--fractal", r, "--wave", "21,0"}, "--wave needs AMP,PHASE, each from 0 to 20"},
        {{"--fractal", r, "--pinch", "0.5", "--wave", "1,1"}, "--pinch and --wave exclude each other"},
        {{"--fractal", r, "--method", "log"}, "--method must be exp or hyp"},
        {{"--skeleton"}, "the fractal options need --fractal CX,CY,R"},
    };
    // clang-format on
    for (const auto &c : cases) {
        EXPECT_EQ(run(c.options), 1) << c.message;
        EXPECT_TRUE(err.str() == std::string(c.message) + "\n" && !QFileInfo::exists(output))
            << err.str();
    }
}

} // namespace
} // namespace tessella::test
