// SPDX-License-Identifier: GPL-3.0-or-later
// The key-frame handles on the canvas: which press grabs what, and what a drag or a
// right click changes. The shape handles themselves are driven in tests/app.
#include "fractal/keyframes.h"
#include "fractal/pathdrawer.h"
#include "fractal/referenceshape.h"
#include "platform/imagesurface.h"

#include <gtest/gtest.h>

namespace tessella {
namespace {

using Drag = ReferenceGestures::Drag;
using Press = ReferenceGestures::Press;

// Two key frames: the circle at (0, 0) radius 50, the next centred at (200, 0), with
// control points bent off the chord.
FractalState twoKeys(int current)
{
    FractalState s;
    s.params.refRadius = 50;
    s.keyFrames = {{.cpOutX = 60, .cpOutY = 80, .radius = 50},
                   {.centerX = 200, .cpInX = 140, .cpInY = -80, .radius = 50}};
    s.curKeyFrame = current;
    return s;
}

TEST(KeyFrameHandles, PressGrabsTheHandleUnderThePointer)
{
    // clang-format off
    const struct { const char *what; int current, button; double x, y; Press press; Drag drag; } cases[] = {
        {"outgoing", 0, 1, 63, 78, Press::Handled, Drag::CpOut},
        {"incoming", 0, 1, 137, -83, Press::Handled, Drag::CpIn},
        {"tolerance is strict", 0, 1, 66, 80, Press::AskNewKeyFrame, Drag::None},
        // The last key frame has no segment leaving it: its handles are not there.
        {"last key", 1, 1, 60, 80, Press::AskNewKeyFrame, Drag::None},
        {"empty, left", 0, 1, 100, 100, Press::AskNewKeyFrame, Drag::None},
        {"empty, right", 0, 2, 100, 100, Press::Pan, Drag::None},
    };
    // clang-format on
    for (const auto &c : cases) {
        FractalState s = twoKeys(c.current);
        ReferenceGestures g(
            s, [](int) {}, [](int) {});
        EXPECT_EQ(g.press(c.button, c.x, c.y, 6), c.press) << c.what;
        EXPECT_EQ(g.drag(), c.drag) << c.what;
    }
}

TEST(KeyFrameHandles, DraggingMovesOnlyTheControlPointAndRightClickStraightens)
{
    FractalState s = twoKeys(0);
    int stores = 0;
    ReferenceGestures g(
        s, [&](int) { ++stores; }, [](int) {});
    const auto points = [&] {
        const KeyFrame &a = s.keyFrames[0], &b = s.keyFrames[1];
        return std::vector{a.cpOutX, a.cpOutY, b.cpInX, b.cpInY};
    };
    ASSERT_EQ(g.press(1, 140, -80, 6), Press::Handled);
    EXPECT_TRUE(g.move(150, 30));
    g.release();
    EXPECT_EQ(points(), std::vector<double>({60, 80, 150, 30}));
    EXPECT_EQ(stores, 0); // the shape did not change

    // The right button on a control point puts both at the quarter points of the chord.
    ASSERT_EQ(g.press(2, 60, 80, 6), Press::Handled);
    EXPECT_EQ(g.drag(), Drag::None);
    EXPECT_EQ(points(), std::vector<double>({50, 0, 150, 0}));
    // The shape's handles come first: the outgoing point now lies on the aspect handle.
    ASSERT_EQ(g.press(1, 50, 0, 6), Press::Handled);
    EXPECT_EQ(g.drag(), Drag::Aspect);
    g.release();

    // A drag whose key frames vanished under it (a file loaded) changes nothing.
    ASSERT_EQ(g.press(1, 150, 0, 6), Press::Handled);
    s.keyFrames.resize(1);
    EXPECT_FALSE(g.move(10, 10));
}

// The path is drawn through the Bezier points, red from the current key frame, and the
// current segment's handles in red; nothing for a single key frame.
TEST(ShowPaths, DrawsTheCurvedPathAndTheHandles)
{
    FractalState s = twoKeys(0);
    ImageSurface surface(QSize(400, 300));
    surface.setScale(1, -100, -150), surface.clearAll(0xffffff), surface.setPenColour(0);
    const auto at = [&](double x, double y) { return surface.pixel(int(x + 100), int(y + 150)); };
    ShowPaths(surface, {s.keyFrames[0]}, 0, 10);
    EXPECT_EQ(at(0, 0), 0xffffff);
    // One piece per segment: the chord itself, to the next key frame's centre.
    ShowPaths(surface, s.keyFrames, 0, 1);
    // Inside the next circle, off the path, nothing.
    EXPECT_EQ(std::vector({at(100, 0), at(190, 0), at(230, 0)}),
              std::vector<Colour>({255, 255, 0xffffff}));
    surface.clearAll(0xffffff);

    ShowPaths(surface, s.keyFrames, 0, 10);
    const PathPoint mid = pathPoint(s.keyFrames, 0, 0.3);
    ASSERT_GT(std::abs(mid.y), 1); // bent off the chord
    EXPECT_EQ(std::vector({at(mid.x, mid.y), at(60, 80), at(140, -80)}),
              std::vector<Colour>(3, 255));
    // The other key frame's circle, in the pen colour, which is left as it was.
    EXPECT_TRUE(at(250, 0) == 0 && surface.penColour() == 0);
}

} // namespace
} // namespace tessella
