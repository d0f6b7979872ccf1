// SPDX-License-Identifier: GPL-3.0-or-later
// A sketch line being entered shows the segments entered so far, in the colour the
// finished item will have, in the transform editor's picture.
#include "document/colour.h"
#include "platform/imagesurface.h"
#include "transform/chain.h"
#include "transform/sketchtools.h"
#include "transform/xformdrawer.h"

#include "tests/support/tilebuilder.h"

#include <gtest/gtest.h>

namespace tessella {
namespace {

constexpr Colour kWhite = 0xffffff;
constexpr Colour kTile = 0x00c000;

class QuietHost : public SketchToolsHost
{
public:
    void sketchRedraw() override {}
    void sketchBeep() override {}
    void enableCurve(bool) override {}
};

struct SegmentCase
{
    const char *name;
    bool negative;
    Colour expected;
};

class SketchSegmentsTest : public ::testing::TestWithParam<SegmentCase>
{};

TEST_P(SketchSegmentsTest, ALineBeingEnteredShowsItsSegments)
{
    Chain chain;
    ASSERT_TRUE(chain.openFromTile(test::squareTile(0, 0, 80), false));
    SketchWorkingCopy work;
    QuietHost host;
    SketchTools tools(work, host);
    tools.negative = GetParam().negative;
    for (const Vertex &p : {Vertex{50, 50}, Vertex{72, 50}, Vertex{72, 72}}) {
        tools.mouseDown(PointerButton::Left, p.x, p.y, 6);
        tools.mouseUp(PointerButton::Left, p.x, p.y);
    }
    tools.mouseMove(50, 72); // the rubber band runs from the last point to here
    ASSERT_NE(tools.entering(), nullptr);

    XformDrawSettings settings;
    settings.tileColour = kTile;
    settings.areaWidth = settings.areaHeight = 120;
    ImageSurface surface(QSize(120, 120), QPoint(0, 0), kWhite);
    drawXform(surface, chain, work.sketchItems, work.sketchNext, settings, tools.entering());
    EXPECT_EQ(surface.pixel(61, 50), GetParam().expected) << "first segment";
    EXPECT_EQ(surface.pixel(72, 61), GetParam().expected) << "second segment";
    EXPECT_EQ(surface.pixel(60, 61), kWhite) << "inside, off the segments: no fill";
}

INSTANTIATE_TEST_SUITE_P(Colours, SketchSegmentsTest,
                         ::testing::Values(SegmentCase{"Black", false, 0},
                                           SegmentCase{"Negative", true, invertColor(kTile)}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace tessella
