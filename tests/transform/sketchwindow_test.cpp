// SPDX-License-Identifier: GPL-3.0-or-later
// The sketch tools palette on the real transform editor, offscreen, driven by real mouse
// events; the items handed back are checked in the document, in a saved file and in the
// tile editor's drawing.
#include "xformwindowfixture.h"

#include "document/colour.h"
#include "document/documentfile.h"
#include "platform/imagesurface.h"
#include "tileeditor/view/tilingdrawer.h"
#include "transform/sketchwindow.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>

namespace tessella::testing {
namespace {

// The 40 x 40 square at (100, 100) opens with its first corner at editor (40, 40).
constexpr double kFirstX = 40;
constexpr double kFirstY = 40;

class SketchWindowTest : public XformWindowTest
{
protected:
    SketchWindow *palette() const
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (SketchWindow *w : window->findChildren<SketchWindow *>())
            if (w->isVisible())
                return w;
        return nullptr;
    }

    SketchWindow *openPalette()
    {
        click("cmdDoodle");
        SketchWindow *p = palette();
        EXPECT_NE(p, nullptr);
        return p;
    }

    template <class T> T *tool(const char *name) const
    {
        SketchWindow *p = palette();
        T *c = p ? p->findChild<T *>(name) : nullptr;
        EXPECT_NE(c, nullptr) << name;
        return c;
    }

    void clickTool(const char *name)
    {
        QWidget *c = tool<QWidget>(name);
        ASSERT_NE(c, nullptr);
        QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(8, c->height() / 2));
    }

    // Left clicks on editor points, then a right click to end an open line.
    void polyline(const std::vector<Vertex> &points)
    {
        for (const Vertex &p : points)
            clickAt(p.x, p.y);
        clickAt(points.back().x, points.back().y, Qt::RightButton);
    }

    void pickAs(const Tile &tile)
    {
        // As the tile editor's pick: the tile leaves the tiling and is handed over.
        doc.xfTile = tile;
        doc.xformOpen = true;
        makeWindow();
    }

    Colour shown(double x, double y) const
    {
        const QImage &image = window->canvas()->surface().image();
        return qtColour(image.pixel(at(x, y)));
    }

    static Colour qtColour(QRgb c) { return qRed(c) + 256 * qGreen(c) + 65536 * qBlue(c); }

    // Points of the tile's sketch run, as stored.
    std::vector<std::vector<Vertex>> run(const Tile &tile) const
    {
        std::vector<std::vector<Vertex>> out;
        const int start = tile.sketchStart;
        if (start <= 0 || start > doc.sketchCount())
            return out;
        for (int k = start; k < start + doc.sketches[start].count && k <= doc.sketchCount(); ++k)
            out.push_back(doc.sketches[k].points);
        return out;
    }
};

TEST_F(SketchWindowTest, PaletteOpensModelessWithItsControls)
{
    open();
    SketchWindow *p = openPalette();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->objectName(), "frmDoodle");
    EXPECT_EQ(p->windowTitle(), "sketch tools");
    EXPECT_TRUE(p->isWindow());
    EXPECT_EQ(p->windowModality(), Qt::NonModal);
    EXPECT_TRUE(window->sketchToolsOpen());
    EXPECT_EQ(tool<QRadioButton>("optLine")->text(), "line");
    EXPECT_EQ(tool<QRadioButton>("optPoly")->text(), "polygon");
    EXPECT_EQ(tool<QRadioButton>("optDelete")->text(), "delete");
    EXPECT_EQ(tool<QCheckBox>("chkFill")->text(), "fill");
    EXPECT_EQ(tool<QGroupBox>("frmColr")->title(), "line color");
    EXPECT_EQ(tool<QRadioButton>("optBlack")->text(), "black");
    EXPECT_EQ(tool<QRadioButton>("optNegative")->text(), "negative");
    EXPECT_EQ(tool<QPushButton>("cmdCurve")->text(), "curve");
    EXPECT_TRUE(tool<QRadioButton>("optLine")->isChecked());
    EXPECT_TRUE(tool<QRadioButton>("optBlack")->isChecked());
    EXPECT_FALSE(tool<QPushButton>("cmdCurve")->isEnabled());
    QScrollBar *sides = tool<QScrollBar>("hscPoly");
    EXPECT_EQ(sides->minimum(), 3);
    EXPECT_EQ(sides->maximum(), 24);
    EXPECT_EQ(sides->value(), 6);
    EXPECT_EQ(tool<QLabel>("lblPoly")->text(), "6 sides");
    sides->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(tool<QLabel>("lblPoly")->text(), "7 sides");

    // A second "sketch" starts over with a fresh palette: one is shown.
    p->findChild<QCheckBox *>("chkFill")->click();
    click("cmdDoodle");
    p = palette();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(window->findChildren<SketchWindow *>().size(), 1u);
    EXPECT_FALSE(p->findChild<QCheckBox *>("chkFill")->isChecked());
    EXPECT_TRUE(window->sketchToolsOpen());
    p->close();
    EXPECT_FALSE(window->sketchToolsOpen());
    EXPECT_EQ(palette(), nullptr);
}

TEST_F(SketchWindowTest, ControlClicksHandTheFocusBackToTheSurface)
{
    open();
    openPalette();
    for (const char *name : {"optPoly", "chkFill", "optNegative", "optDelete", "optLine"}) {
        window->setFocus();
        clickTool(name);
        EXPECT_EQ(window->focusWidget(), window->canvas()) << name;
    }
    EXPECT_TRUE(tool<QCheckBox>("chkFill")->isChecked());
    EXPECT_TRUE(tool<QRadioButton>("optNegative")->isChecked());
}

TEST_F(SketchWindowTest, TriangleDrawnByClicksIsHandedBackRelativeToTheFirstCorner)
{
    open();
    openPalette();
    clickTool("chkFill");
    clickAt(50, 50);
    clickAt(70, 50);
    moveTo(60, 70);
    clickAt(60, 70);
    clickAt(52, 48); // point 0 again, within reach
    SketchWorkingCopy &work = window->sketches();
    ASSERT_EQ(work.sketchNext, 2);
    EXPECT_EQ(work.sketchItems[1].kind, 1);
    EXPECT_EQ(work.sketchItems[1].nPoints, 4);
    EXPECT_EQ(work.sketchItems[1].fillStyle, 0);
    EXPECT_EQ(shown(60, 56), kSketchFillColour) << "drawn filled on the surface";
    EXPECT_TRUE(tool<QPushButton>("cmdCurve")->isEnabled());

    click("cmdReturn");
    EXPECT_FALSE(window->sketchToolsOpen());
    EXPECT_EQ(palette(), nullptr) << "returning closes the palette";
    ASSERT_EQ(doc.tileCount(), 1);
    const Tile &returned = doc.tiles.back();
    EXPECT_GT(returned.sketchStart, 0);
    EXPECT_EQ(doc.xfReturn.sketchStart, returned.sketchStart);
    const auto items = run(returned);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0], (std::vector<Vertex>{{10, 10}, {30, 10}, {20, 30}, {10, 10}}));
    EXPECT_EQ(doc.sketches[returned.sketchStart].fillStyle, 0);
}

TEST_F(SketchWindowTest, EveryToolWithRealClicksThenExit)
{
    open();
    openPalette();
    // An open polyline of four points, then bent with "curve" and a corner drag.
    polyline({{45, 45}, {65, 45}, {65, 65}, {85, 65}});
    ASSERT_EQ(window->sketches().sketchNext, 2);
    EXPECT_EQ(window->sketches().sketchItems[1].kind, 0);
    clickTool("cmdCurve");
    EXPECT_TRUE(window->curveUnderway());
    press(65, 45);
    moveTo(65, 35);
    release(65, 35);
    clickTool("cmdCurve");
    EXPECT_FALSE(window->curveUnderway());
    EXPECT_FALSE(tool<QPushButton>("cmdCurve")->isEnabled());
    const Sketch &curve = window->sketches().sketchItems[1];
    ASSERT_EQ(curve.nPoints, 10);
    EXPECT_EQ(curve.points[0], (Vertex{55, 40})) << "first midpoint, after the drag";

    // A square dragged out with the polygon tool.
    clickTool("optPoly");
    tool<QScrollBar>("hscPoly")->setValue(4);
    EXPECT_EQ(tool<QLabel>("lblPoly")->text(), "4 sides");
    press(60, 60);
    moveTo(60, 66);
    moveTo(60, 70);
    release(70, 60);
    ASSERT_EQ(window->sketches().sketchNext, 3);
    const Sketch &square = window->sketches().sketchItems[2];
    EXPECT_EQ(square.kind, 1);
    ASSERT_EQ(square.nPoints, 5);
    EXPECT_EQ(square.points[0], (Vertex{70, 60}));
    // A press and release on the centre stores nothing.
    clickAt(90, 90);
    EXPECT_EQ(window->sketches().sketchNext, 3);

    // The delete tool removes the square; a click on nothing beeps.
    clickTool("optDelete");
    EXPECT_TRUE(window->deleteToolOn());
    clickAt(71, 61);
    EXPECT_NE(window->sketches().sketchItems[2].deletedMark, 0);
    const int beeps = dialogs.beeps;
    clickAt(100, 20);
    EXPECT_EQ(dialogs.beeps, beeps + 1);
    clickTool("optLine");
    EXPECT_FALSE(window->deleteToolOn());

    dialogs.expectYesNo(Answer::Yes);
    click("cmdExit");
    EXPECT_FALSE(doc.xformOpen);
    ASSERT_EQ(doc.tileCount(), 1);
    const auto items = run(doc.tiles.back());
    ASSERT_EQ(items.size(), 1u) << "the deleted square is not stored";
    EXPECT_EQ(items[0].size(), 10u);
    EXPECT_EQ(items[0][0], (Vertex{55 - kFirstX, 40 - kFirstY}));
}

TEST_F(SketchWindowTest, ExitWithACurveUnderWayFinishesIt)
{
    open();
    openPalette();
    polyline({{45, 45}, {65, 45}, {65, 65}});
    clickTool("cmdCurve");
    ASSERT_TRUE(window->curveUnderway());
    const QString caption = window->windowTitle();
    key(Qt::Key_Period);
    EXPECT_EQ(window->windowTitle(), caption) << "no zoom while a curve is under way";
    dialogs.expectYesNo(Answer::Yes);
    click("cmdExit");
    EXPECT_FALSE(window->curveUnderway());
    const auto items = run(doc.tiles.back());
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].size(), 5u) << "one piece of five samples";
}

TEST_F(SketchWindowTest, OtherCommandsCloseThePaletteAndDropALineBeingEntered)
{
    open();
    openPalette();
    clickAt(50, 50);
    clickAt(70, 50);
    ASSERT_NE(window->sketchToolsOpen(), false);
    click("cmdXforms");
    EXPECT_FALSE(window->sketchToolsOpen());
    EXPECT_EQ(palette(), nullptr);
    EXPECT_EQ(window->sketches().sketchNext, 1);
    // Without the palette a click is the point editor's again: no link, a beep.
    click("cmdXforms");
    const int beeps = dialogs.beeps;
    clickAt(60, 40);
    EXPECT_EQ(dialogs.beeps, beeps + 1);
    EXPECT_EQ(window->sketches().sketchNext, 1);
}

TEST_F(SketchWindowTest, SketchesSurviveExitSaveReloadAndAPickAgain)
{
    Tile square = squareAt(100, 100, 40);
    pickAs(square);
    openPalette();
    clickTool("chkFill");
    polyline({{50, 50}, {70, 50}, {70, 60}});
    clickAt(50, 70);
    clickAt(70, 70);
    clickAt(60, 76);
    clickAt(51, 71); // closes the second item
    dialogs.expectYesNo(Answer::Yes);
    click("cmdExit");
    ASSERT_EQ(doc.tileCount(), 1);
    ASSERT_EQ(run(doc.tiles.back()).size(), 2u);

    // Saved and loaded again, the tile keeps its run.
    const auto bytes = saveState(doc);
    ASSERT_TRUE(bytes.has_value());
    Document loaded;
    ASSERT_TRUE(loadState(loaded, *bytes, 0, 0).ok);
    doc = loaded;
    ASSERT_EQ(doc.tileCount(), 1);
    const auto stored = run(doc.tiles[0]);
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[1][0], (Vertex{10, 30}));

    // Picked again, the editor shows both items where they were drawn.
    Tile picked = doc.tiles[0];
    doc.tiles.clear();
    pickAs(picked);
    SketchWorkingCopy &work = window->sketches();
    ASSERT_EQ(work.sketchNext, 3);
    EXPECT_EQ(work.sketchItems[1].points[0], (Vertex{50, 50}));
    EXPECT_EQ(work.sketchItems[2].points[0], (Vertex{50, 70}));
    EXPECT_EQ(shown(60, 73), kSketchFillColour);

    // One more item, and all three are handed back.
    openPalette();
    polyline({{45, 45}, {55, 45}});
    dialogs.expectYesNo(Answer::Yes);
    click("cmdExit");
    const auto three = run(doc.tiles.back());
    ASSERT_EQ(three.size(), 3u);
    EXPECT_EQ(three[0][0], (Vertex{10, 10}));
    EXPECT_EQ(three[1][0], (Vertex{10, 30}));
    EXPECT_EQ(three[2], (std::vector<Vertex>{{5, 5}, {15, 5}}));
}

TEST_F(SketchWindowTest, TileEditorDrawsTheReturnedSketchWithEveryCopy)
{
    open();
    openPalette();
    clickTool("chkFill");
    clickAt(50, 50);
    clickAt(70, 50);
    clickAt(60, 70);
    clickAt(50, 50);
    click("cmdReturn");
    ASSERT_EQ(doc.tileCount(), 1);
    Tile copy = doc.tiles[0];
    for (Vertex &v : copy.verts)
        v.x += 200;
    doc.tiles.push_back(copy);

    ImageSurface surface(QSize(400, 200));
    TilingDrawer drawer(surface, doc);
    drawer.drawList();
    const QImage &image = surface.image();
    const Colour inverse = invertColor(doc.tiles[0].color);
    // Inside the triangle (110, 110), (130, 110), (120, 130) of each copy.
    EXPECT_EQ(qtColour(image.pixel(120, 116)), inverse);
    EXPECT_EQ(qtColour(image.pixel(320, 116)), inverse);
    // Outside it the tile's own colour.
    EXPECT_EQ(qtColour(image.pixel(135, 135)), doc.tiles[0].color);
    EXPECT_EQ(qtColour(image.pixel(335, 135)), doc.tiles[0].color);
}

} // namespace
} // namespace tessella::testing
