// SPDX-License-Identifier: GPL-3.0-or-later
// Every link keeps its destination the image of its source while the source is edited,
// and the returned polygon still tiles.
#include "linkcheck.h"

#include <random>

namespace tessella::testing {
namespace {

const std::vector<Vertex> kSquare{{0, 0}, {200, 0}, {200, 200}, {0, 200}};
const std::vector<Vertex> kParallelogram{{0, 0}, {240, 0}, {300, 160}, {60, 160}};
const std::vector<Vertex> kTriangle{{0, 0}, {200, 0}, {100, 160}};
const std::vector<Vertex> kHexagon{{0, 0}, {240, 0}, {360, 160}, {240, 320}, {0, 320}, {-120, 160}};
const std::vector<Vertex> kRectangle{{0, 0}, {240, 0}, {240, 120}, {0, 120}};

// One link: its list index, the edge clicked as source and the edge that becomes its
// destination (edges named by their start corner).
struct Link
{
    int index;
    int source;
    int destination;
};

struct Shape
{
    const char *name;
    std::vector<Vertex> corners;
    std::vector<Link> links; // chosen one after the other on the same polygon
    double cornerTol;        // rotations turn by a single-precision angle
};

const Shape kShapes[] = {
    {"SquareTranslations", kSquare, {{XformTranslate, 0, 2}, {XformTranslate, 3, 1}}, 1e-9},
    {"ParallelogramTranslations",
     kParallelogram,
     {{XformTranslate, 0, 2}, {XformTranslate, 1, 3}},
     1e-9},
    {"HexagonTranslations",
     kHexagon,
     {{XformTranslate, 0, 3}, {XformTranslate, 1, 4}, {XformTranslate, 2, 5}},
     1e-9},
    {"TriangleCentreRotations",
     kTriangle,
     {{XformCenterRotation, 0, 0}, {XformCenterRotation, 1, 1}, {XformCenterRotation, 2, 2}},
     1e-9},
    {"HexagonCentreRotation", kHexagon, {{XformCenterRotation, 2, 2}}, 1e-9},
    {"TriangleVertexRotationAtTheApex", kTriangle, {{XformVertexRotation, 2, 1}}, 1e-4},
    {"SquareVertexRotationAtCorner0", kSquare, {{XformVertexRotation, 0, 3}}, 1e-4},
    {"SquareVertexRotationAtCorner1", kSquare, {{XformVertexRotation, 1, 0}}, 1e-4},
    {"SquareVertexRotationAtCorner2", kSquare, {{XformVertexRotation, 2, 1}}, 1e-4},
    {"SquareVertexRotationAtCorner3", kSquare, {{XformVertexRotation, 3, 2}}, 1e-4},
    {"RectangleGlide", kRectangle, {{XformGlide, 3, 1}}, 1e-4},
    {"HexagonGlide", kHexagon, {{XformGlide, 0, 3}}, 1e-4},
};

class LinkShapeTest : public LinkTest, public ::testing::WithParamInterface<Shape>
{
protected:
    void choose(const Link &l)
    {
        const std::optional<Vertex> dest =
            l.index == XformGlide ? std::optional(along(l.destination, l.destination + 1, 0.5))
                                  : std::nullopt;
        link(l.index, along(l.source, l.source + 1, 0.4), dest);
        if (l.index != XformCenterRotation) {
            EXPECT_EQ(sourceRun().front(), corner(l.source));
            EXPECT_EQ(destinationRun().front(), corner(l.destination));
        }
    }

    // One random edit of the source: add, drag, delete, curve, resample or turn a handle.
    void randomEdit(std::mt19937 &rng)
    {
        std::uniform_real_distribution<double> u(0, 1), shift(-40, 40);
        const auto src = sourceRun();
        const size_t i = rng() % (src.size() - 1);
        Node *inner = src.size() > 2 ? src[1 + rng() % (src.size() - 2)] : nullptr;
        switch (rng() % 6) {
        case 0:
            click(mix(at(src[i]), at(src[i + 1]), 0.3 + 0.4 * u(rng)));
            break;
        case 1:
            if (inner) {
                editor.mouseDown(PointerButton::Left, inner->x, inner->y);
                editor.mouseMove(inner->x + shift(rng), inner->y + shift(rng), rng() % 2);
                editor.mouseUp();
            }
            break;
        case 2:
            if (inner)
                click(at(inner), PointerButton::Right);
            break;
        case 3:
            editor.cmdCurves();
            break;
        case 4:
            editor.setSegmentPoints(2 + static_cast<int>(rng() % 25));
            break;
        default:
            for (Node *n : src) {
                if (n->fActive) {
                    editor.mouseDown(rng() % 2 ? PointerButton::Left : PointerButton::Right,
                                     n->fcpX, n->fcpY);
                    editor.mouseMove(n->fcpX + shift(rng), n->fcpY + shift(rng), false);
                    editor.mouseUp();
                    break;
                }
            }
        }
    }
};

TEST_P(LinkShapeTest, EditedSourcesKeepTheirImagesAndThePolygonTiles)
{
    const Shape &s = GetParam();
    open(s.corners);
    std::vector<Isometry> maps;
    for (const Link &l : s.links) {
        choose(l);
        editSource(s.cornerTol);
        maps.push_back(xforms.linkIsometry());
    }
    for (size_t k = 0; k < s.links.size(); ++k)
        expectTiles(s.links[k].source, s.links[k].destination, maps[k], s.cornerTol);
}

TEST_P(LinkShapeTest, RandomEditsKeepTheChainSoundAndTheDestinationAnImage)
{
    const Shape &s = GetParam();
    std::mt19937 rng(17);
    open(s.corners);
    for (const Link &l : s.links) {
        choose(l);
        for (int step = 0; step < 60; ++step) {
            randomEdit(rng);
            SCOPED_TRACE(::testing::Message() << "after edit " << step);
            expectSoundChain();
            expectImage(s.cornerTol);
            ASSERT_FALSE(::testing::Test::HasFailure());
        }
        if (editor.curveMode())
            editor.cmdCurves();
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, LinkShapeTest, ::testing::ValuesIn(kShapes),
                         [](const auto &info) { return std::string(info.param.name); });

class MappingTest : public LinkTest
{};

// The destination of a vertex rotation about the first corner ends at the closing node:
// joining it to the first node would close the chain into a ring.
TEST_F(MappingTest, VertexRotationAboutTheFirstCornerNeverMakesARing)
{
    open(kSquare);
    link(XformTranslate, along(3, 4, 0.5));
    click(along(3, 4, 0.5));
    ASSERT_EQ(chain.nodeCount(), 7);
    xforms.chooseTransformation(XformVertexRotation);
    dialogs.expectYesNo(Answer::Yes);
    click(along(0, 1, 0.5));
    ASSERT_TRUE(dialogs.allConsumed());
    ASSERT_TRUE(xforms.linkActive());
    EXPECT_EQ(chain.nodeCount(), 6) << "the old destination's point is gone";
    expectSoundChain();
    editSource(1e-4);
    expectSoundChain();
    expectTiles(0, 3, xforms.linkIsometry(), 1e-4);
}

TEST_F(MappingTest, DeletingTheOnlyPointStraightensBothEdges)
{
    open(kSquare);
    link(XformTranslate, along(0, 1, 0.5));
    drag(along(0, 1, 0.5), {110, 90});
    ASSERT_EQ(chain.nodeCount(), 7);
    click({110, 90}, PointerButton::Right);
    EXPECT_EQ(chain.nodeCount(), 5);
    EXPECT_EQ(chain.countPoints(), 4);
    EXPECT_EQ(host.total, 4);
}

} // namespace
} // namespace tessella::testing
