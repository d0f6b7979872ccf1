// SPDX-License-Identifier: GPL-3.0-or-later
#include "tileeditor/view/rotationpreview.h"

#include "document/geometry.h"
#include "drawingfixture.h"

#include <gtest/gtest.h>

#include <numbers>

using namespace tessella;
using namespace tessella::test;

namespace {

constexpr double kPi = std::numbers::pi;
constexpr Colour kBg = kCanvasBackground;
constexpr Colour kRed = 255;
constexpr Colour kBlack = 0;
const std::string kDeg = "\xc2\xb0";

struct Gesture
{
    ImageSurface surface{QSize(200, 200)};
    Document doc;
    RotationPreview preview;

    Gesture()
    {
        doc.tiles.push_back(squareTile(60, 60, 40, kRgbGreen));
        preview.start(0, {80, 80});
    }
};

} // namespace

TEST(RotationPreview, SnapsDownToFifteenDegreesAndSkipsARepeat)
{
    Gesture g;
    g.preview.rotAngle = 0.3;
    EXPECT_TRUE(g.preview.previewTileRotation(g.doc, g.surface, false, false));
    EXPECT_NEAR(g.preview.rotAngle, kPi / 12, 1e-12);
    EXPECT_EQ(g.preview.lastAngle, g.preview.rotAngle);
    EXPECT_EQ(g.preview.label(), "-15" + kDeg);

    g.surface.clear();
    g.preview.rotAngle = 0.3;
    EXPECT_FALSE(g.preview.previewTileRotation(g.doc, g.surface, false, false));
    EXPECT_EQ(g.surface.image(), g.surface.background());
    EXPECT_EQ(g.preview.label(), "-15" + kDeg);
}

TEST(RotationPreview, SpaceBarKeepsTheAngleAndAlwaysDraws)
{
    Gesture g;
    g.preview.rotAngle = 0.3;
    EXPECT_TRUE(g.preview.previewTileRotation(g.doc, g.surface, false, true));
    EXPECT_EQ(g.preview.rotAngle, 0.3);
    EXPECT_TRUE(g.preview.previewTileRotation(g.doc, g.surface, false, true));
    EXPECT_EQ(g.preview.label(), "-17" + kDeg);
}

TEST(RotationPreview, LabelShowsTheNegatedAngleInWholeDegrees)
{
    EXPECT_EQ(rotationLabel(-kPi / 2), "90" + kDeg);
    EXPECT_EQ(rotationLabel(0), "0" + kDeg);
    EXPECT_EQ(rotationLabel(kPi), "-180" + kDeg);
    // Halves go to the even neighbour.
    EXPECT_EQ(rotationLabel(-2.5 * kPi / 180), "2" + kDeg);
    EXPECT_EQ(rotationLabel(-1.5 * kPi / 180), "2" + kDeg);

    Gesture g;
    g.preview.rotAngle = -kPi / 2;
    EXPECT_TRUE(g.preview.previewTileRotation(g.doc, g.surface, false, false));
    EXPECT_EQ(g.preview.label(), "90" + kDeg);
}

TEST(RotationPreview, PreviewIsARedOutlineOnTheTransientLayerOnly)
{
    Gesture g;
    g.preview.rotAngle = kPi / 4 + 0.01; // 45 degrees after snapping
    ASSERT_TRUE(g.preview.previewTileRotation(g.doc, g.surface, false, false));
    // The corner (60, 60) turned by 45 degrees about (80, 80) lies at (80, 80 - 20 sqrt2).
    EXPECT_EQ(g.surface.pixel(80, 51), kRed);
    EXPECT_EQ(countColour(g.surface, 0, 0, 199, 199, kRed),
              countColour(g.surface, 51, 51, 109, 109, kRed));
    EXPECT_EQ(g.surface.pixel(80, 80), kBg); // transparent inside
    EXPECT_EQ(g.surface.penColour(), kBlack);
    EXPECT_EQ(g.surface.fillStyle(), kFillSolid);
    EXPECT_EQ(g.surface.background().pixel(80, 51), QColor(0xf7, 0xf7, 0xf7).rgb());
    // Nothing was written to the tile.
    EXPECT_EQ(g.doc.tiles[0].verts[0], (Vertex{60, 60}));
    EXPECT_EQ(g.doc.tiles[0].angle, 0);
}

TEST(RotationPreview, CommitStoresTheTurnedVerticesAndAddsTheAngle)
{
    Gesture g;
    g.doc.tiles[0].angle = 0.5;
    g.preview.rotAngle = kPi / 2 + 0.01;
    ASSERT_TRUE(g.preview.previewTileRotation(g.doc, g.surface, false, false));
    // The committing call draws again although the angle did not change.
    ASSERT_TRUE(g.preview.previewTileRotation(g.doc, g.surface, true, false));
    const Tile &tile = g.doc.tiles[0];
    EXPECT_NEAR(tile.angle, 0.5 + kPi / 2, 1e-12);
    // A quarter turn about (80, 80) takes (60, 60) to (100, 60).
    EXPECT_NEAR(tile.verts[0].x, 100, 1e-9);
    EXPECT_NEAR(tile.verts[0].y, 60, 1e-9);
    EXPECT_NEAR(tile.verts[1].x, 100, 1e-9);
    EXPECT_NEAR(tile.verts[1].y, 100, 1e-9);
}

TEST(RotationPreview, GroupTurnsEverySelectedTileOfTheGrid)
{
    Gesture g;
    g.doc.tiles.clear();
    g.doc.tiles.push_back(squareTile(20, 20, 20, kRgbBlue));
    g.doc.tiles.push_back(squareTile(120, 120, 20, kRgbGreen));
    g.doc.tiles.push_back(squareTile(120, 20, 20, kRgbRed, GridHexagonal));
    g.doc.tiles.push_back(squareTile(20, 120, 20, kRgbRed));
    g.doc.tiles[0].selected = kTrue;
    g.doc.tiles[1].selected = kTrue;
    g.doc.tiles[2].selected = kTrue; // another grid
    g.preview.start(0, {80, 80});
    g.preview.rotAngle = kPi + 0.01;
    ASSERT_TRUE(g.preview.previewGroupRotation(g.doc, g.surface, GridRectangular, true, false));
    // Half a turn about (80, 80) swaps the two selected squares, each in its own colour.
    EXPECT_GT(countColour(g.surface, 118, 118, 142, 142, kRgbBlue), 60);
    EXPECT_GT(countColour(g.surface, 18, 18, 42, 42, kRgbGreen), 60);
    EXPECT_EQ(countColour(g.surface, 0, 0, 199, 199, kRgbRed), 0);
    EXPECT_NEAR(g.doc.tiles[0].verts[0].x, 140, 1e-9);
    EXPECT_NEAR(g.doc.tiles[0].angle, kPi, 1e-12);
    EXPECT_NEAR(g.doc.tiles[1].angle, kPi, 1e-12);
    EXPECT_EQ(g.doc.tiles[2].angle, 0);
    EXPECT_EQ(g.doc.tiles[3].angle, 0);
    EXPECT_EQ(g.doc.tiles[2].verts[0], (Vertex{120, 20}));
    EXPECT_EQ(g.surface.penColour(), kBlack);
}

TEST(RotationPreview, StaleGestureTileDrawsAndChangesNothing)
{
    Gesture g;
    g.preview.start(5, {80, 80});
    g.preview.rotAngle = 1.0;
    const Document before = g.doc;
    EXPECT_FALSE(g.preview.previewTileRotation(g.doc, g.surface, true, false));
    EXPECT_EQ(g.doc.tiles, before.tiles);
    g.preview.start(-1, {80, 80});
    g.preview.rotAngle = 1.0;
    EXPECT_FALSE(g.preview.previewTileRotation(g.doc, g.surface, true, false));
    EXPECT_EQ(g.surface.image(), g.surface.background());
}
