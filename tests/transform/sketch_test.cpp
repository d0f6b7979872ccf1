// SPDX-License-Identifier: GPL-3.0-or-later
// The sketch tools without widgets, and the sketch items' way into the editor and back
// into the document.
#include "linkcheck.h"
#include "platform/imagesurface.h"
#include "transform/sketchtools.h"

#include <random>

namespace tessella::testing {
namespace {

constexpr double kReach = 6.0;

class SketchHost : public SketchToolsHost
{
public:
    void sketchRedraw() override {}
    void sketchBeep() override { ++beeps; }
    void enableCurve(bool enabled) override { curveButton = enabled; }
    int beeps = 0;
    bool curveButton = false;
};

class SketchToolsTest : public ::testing::Test
{
protected:
    void click(double x, double y, PointerButton b = PointerButton::Left)
    {
        tools.mouseDown(b, x, y, kReach);
        tools.mouseUp(b, x, y);
    }
    int items() const { return work.sketchNext - 1; }
    const Sketch &item(int i) const { return work.sketchItems.at(i); }
    // Left clicks, then a right click that ends an open line.
    void polyline(const std::vector<Vertex> &corners, bool end = true)
    {
        for (const Vertex &p : corners)
            click(p.x, p.y);
        if (end)
            click(0, 0, PointerButton::Right);
    }

    SketchWorkingCopy work;
    SketchHost host;
    SketchTools tools{work, host};
};

// A polyline of n corners curves into n - 2 pieces of five samples, each piece running
// from one midpoint of consecutive corners to the next with both inner controls on the
// corner between them.
TEST_F(SketchToolsTest, CurvesThroughPolylinesOfEveryLength)
{
    std::mt19937 rng(4);
    std::uniform_real_distribution<double> pos(0, 300);
    for (int n = 3; n <= 12; ++n) {
        std::vector<Vertex> c;
        for (int k = 0; k < n; ++k)
            c.push_back({pos(rng), pos(rng)});
        ASSERT_TRUE(work.append({.nPoints = static_cast<int16_t>(n), .points = c}));
        host.curveButton = true; // as the palette shows it for a fresh line
        tools.cmdCurve();
        ASSERT_TRUE(tools.curveUnderway && tools.curvePoints.size() == size_t(n - 1));
        tools.cmdCurve();
        EXPECT_FALSE(tools.curveUnderway || host.curveButton);
        const Sketch &s = item(items());
        ASSERT_EQ(std::tuple(s.nPoints, s.points.size()),
                  std::tuple(5 * (n - 2), size_t(5 * (n - 2))));
        for (int k = 1; k + 1 < n; ++k) {
            for (int j = 0; j < 5; ++j) {
                const Vertex e =
                    bezier(mix(c[k - 1], c[k], 0.5), c[k], c[k], mix(c[k], c[k + 1], 0.5), j / 5.0);
                const Vertex &p = s.points[5 * (k - 1) + j];
                EXPECT_NEAR(std::hypot(p.x - e.x, p.y - e.y), 0, 1e-9);
            }
        }
    }
    // Two points make no curve: the line stays. A non-finite pointer moves no rubber band.
    click(0, 0);
    ASSERT_NE(tools.entering(), nullptr) << "one point shows";
    tools.mouseMove(30, 0);
    tools.mouseMove(std::nan(""), 5);
    EXPECT_EQ(tools.rubberBand()->second, (Vertex{30, 0}));
    polyline({{30, 0}});
    EXPECT_FALSE(host.curveButton || tools.prepCurve());
    EXPECT_EQ(std::tuple(host.beeps, item(items()).nPoints), std::tuple(1, 2));
    // The preview of an open curve is not closed: nothing on the chord back to its start.
    polyline({{10, 50}, {50, 30}, {50, 90}});
    ASSERT_TRUE(tools.prepCurve());
    ImageSurface preview(QSize(100, 100), QPoint(0, 0), 0xffffff);
    drawSketchOverlay(preview, tools);
    EXPECT_EQ(std::tuple(preview.pixel(38, 42), preview.pixel(30, 40)),
              std::tuple(0xffffff, kOutlineColour));
    tools.closeCurve();
    // The regular polygon's preview reaches the pointer.
    tools.chooseTool(SketchTool::Polygon);
    tools.mouseDown(PointerButton::Left, 50, 50, kReach);
    tools.mouseMove(53, 46);
    EXPECT_EQ(tools.regularPreview()->radius, 5);
    // 6556 corners would curve into 5 * 6554 = 32770 points, past 16 bits: refused.
    Sketch big{.nPoints = 6556, .points = {}};
    for (int i = 0; i < 6556; ++i)
        big.points.push_back({i * 10.0, (i % 2) * 10.0});
    ASSERT_TRUE(work.append(big));
    EXPECT_FALSE(tools.prepCurve());
    work.sketchItems[items()].nPoints = 6555;
    ASSERT_TRUE(tools.prepCurve());
    tools.closeCurve();
    EXPECT_EQ(item(items()).nPoints, 32765);
}

Sketch item(double x, double y, int16_t kind = 0)
{
    return {.kind = kind, .nPoints = 2, .points = {{x, y}, {x + 5, y + 1}}};
}

class SketchStoreTest : public ::testing::Test
{
protected:
    Document doc;
    SketchWorkingCopy work;
    Tile tile;

    void SetUp() override
    {
        doc.appendSketchRun({item(100, 100)}); // another polygon's run
        tile.sketchStart = doc.appendSketchRun({item(1, 2), item(3, 4, 1)});
        ASSERT_EQ(tile.sketchStart, 2);
    }
};

// Runs that point outside the table, or hold more than it, load only what is there; a
// store into a full table changes nothing.
TEST_F(SketchStoreTest, LoadsOnlyWhatTheTableHoldsAndStoresOnlyWhereThereIsRoom)
{
    // start, count, points of the second item, items loaded
    for (auto [start, count, nPoints, items] :
         {std::array{99, 2, 2, 0}, {2, 50, 2, 2}, {2, 2, 40, 2}, {2, 0, 2, 0}, {0, 2, 2, 0}}) {
        Tile t = tile;
        t.sketchStart = start;
        doc.sketches[2].count = static_cast<int16_t>(count);
        doc.sketches[3].nPoints = static_cast<int16_t>(nPoints);
        loadSketches(doc, t, 0, 0, work);
        ASSERT_EQ(work.sketchNext, items + 1) << start << " " << count << " " << nPoints;
    }
    doc.sketches[2].count = 2;
    doc.sketches[3].nPoints = 2;
    doc.sketches.resize(kMaxRecords);
    loadSketches(doc, tile, 0, 0, work);
    Tile ret = tile;
    EXPECT_EQ(storeSketches(doc, work, 0, 0, ret), StoreResult::TableFull);
    EXPECT_EQ(std::tuple(doc.sketches.size(), ret.sketchStart),
              std::tuple(size_t(kMaxRecords), tile.sketchStart));
}

// After a reload only the geometry tells the mirrored half, and all of it must match.
TEST_F(SketchStoreTest, ReloadedMirrorImagesAreDroppedOnlyWhenTheyMatchWhole)
{
    loadSketches(doc, tile, 0, 0, work);
    mirrorSketches(work, 50);
    ASSERT_EQ(work.sketchNext, 5);
    EXPECT_EQ(work.sketchItems[3].points[0].x, 99);
    work.mirrorFrom = 0;
    work.sketchItems[4].points[0].x += 1;
    dropMirroredSketches(work, 50);
    EXPECT_EQ(work.sketchNext, 5) << "not a mirror image in every point";
    work.sketchItems[4].points[0].x -= 1;
    work.sketchItems[4].kind = 0;
    dropMirroredSketches(work, 50);
    EXPECT_EQ(work.sketchNext, 5) << "nor of another kind";
    work.sketchItems[4].kind = 1;
    dropMirroredSketches(work, 50);
    EXPECT_EQ(work.sketchNext, 3);
    // No room for the copies: none made, none dropped.
    work.sketchItems.resize(kMaxRecords);
    work.sketchNext = kMaxRecords;
    mirrorSketches(work, 50);
    dropMirroredSketches(work, 50);
    EXPECT_EQ(work.sketchNext, kMaxRecords);
}

} // namespace
} // namespace tessella::testing
