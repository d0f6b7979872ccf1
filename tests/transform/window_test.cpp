// SPDX-License-Identifier: GPL-3.0-or-later
// The transform editor's screen. The view: zoom, reach, caption and pan bars; the drawer's
// picture read back from an image surface. The window and its sketch tools palette,
// offscreen, driven with real key and mouse events: the wiring of controls, surface and
// hand-back to the model. What the model does with a click is tested without widgets;
// here only that it gets there.
#include "document/colour.h"
#include "document/documentfile.h"
#include "platform/imagesurface.h"
#include "platform/scripteddialogs.h"
#include "transform/sketchwindow.h"
#include "transform/xformcanvas.h"
#include "transform/xformdrawer.h"
#include "transform/xformview.h"
#include "transform/xformwindow.h"

#include "tests/qtapp.h"
#include "tests/support/tilebuilder.h"
#include "tests/widgetdriver.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>

namespace tessella::testing {
namespace {

TEST(XformView, ZoomLimitsAndPanBarsInTwipSteps)
{
    // A surface may outgrow the window by 22600 twips, 1506.7 pixels: every surface allowed
    // one step is refused the next.
    for (auto [h, allowed] : {std::pair{1600.0, true}, {1610.0, false}}) {
        XformView view;
        view.open(100, h, 600, 100);
        EXPECT_EQ(view.zoomIn(), allowed) << h;
        EXPECT_FALSE(view.zoomIn());
    }
    // A small surface stops at 800 %; the reach stays six screen pixels.
    XformView view;
    view.open(90, 60, 800, 600);
    while (view.zoomIn())
        EXPECT_NEAR(view.hitRadius() * view.zoomFactor(), 6.0, 1e-5);
    EXPECT_EQ(view.caption(), "tile transformation    800%");
    view = XformView();
    view.open(300, 200, 800, 600); // fits: centred, no bars
    EXPECT_FALSE(view.horizontalBar().visible || view.verticalBar().visible);
    EXPECT_EQ(std::tuple(view.surfaceLeftPx(), view.surfaceTopPx()), std::tuple(250, 200));
    EXPECT_EQ(std::tuple(view.toEditorX(250), view.noticeX()), std::tuple(0.0, 5.0));

    view.open(1602, 1402, 800, 600);
    const XformView::PanBar &h = view.horizontalBar();
    const XformView::PanBar &v = view.verticalBar();
    // Ranges (24030 - 12000 - 48) / 8 and (21030 - 9000 - 96) / 8; opening places the
    // surface at (12000 - 24030) / 2 - 120 and (9000 - 21030) / 2 - 240 twips.
    EXPECT_EQ(std::tuple(h.visible, h.maximum, h.value, view.surfaceLeftPx()),
              std::tuple(true, 1497, 766, -409));
    EXPECT_EQ(std::tuple(v.visible, v.maximum, v.value), std::tuple(true, 1491, 781));
    view.scrollHorizontal(150); // 1200 twips
    EXPECT_EQ(std::tuple(view.surfaceLeftPx(), view.noticeX(), view.toEditorX(0)),
              std::tuple(-80, 85.0, 80.0))
        << "the notice stays at the visible edge";
    view.scrollHorizontal(100000);
    view.scrollVertical(-5);
    EXPECT_EQ(std::tuple(h.value, v.value, view.surfaceTopPx()), std::tuple(1497, 0, 0));
    // A zoom out leaves the value past the new range: it is clamped and the surface
    // still covers the window.
    ASSERT_TRUE(view.zoomIn());
    view.alignScrolls(800, 600);
    view.scrollHorizontal(h.maximum);
    view.resetZoom();
    view.alignScrolls(800, 600);
    EXPECT_EQ(h.value, h.maximum);
    EXPECT_GE(view.surfaceLeftPx() + view.surfaceWidthPx(), 800 - 4);
    view.alignScrolls(1700, 1500); // the window grows past the surface
    EXPECT_EQ(std::tuple(h.visible, view.surfaceLeftPx()), std::tuple(false, 49));
    // A degenerate area and window stay usable.
    view.open(0, std::nan(""), 0, -5);
    EXPECT_EQ(
        std::tuple(view.areaWidth(), view.areaHeight(), view.windowWidth(), view.windowHeight()),
        std::tuple(1.0, 1.0, 1, 1));
}

constexpr Colour kWhite = 0xffffff, kRed = 255;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The square with corners at editor (30, 30), (60, 30), (60, 60), (30, 60) on a 90 x 90
// drawing area, with sketch items and previews.
struct Scene
{
    Chain chain;
    std::vector<Sketch> items{Sketch{}};
    XformDrawSettings settings;
    Sketch entering;
    std::optional<RegularPreview> regular;
};

// Each picture: the scene with what its setup adds, and the pixels it must show. Then a
// viewport at 800 % and dots at its borders, and numbers that are not finite.
TEST(XformDrawer, PicturesViewportsAndDotsShowOnlyTheirOwnPixels)
{
    constexpr Colour kFill = kSketchFillColour, kCurve = kOutlineColour;
    // clang-format off
    const struct { const char *name; void (*setup)(Scene &); std::vector<std::tuple<int, int, Colour>> probes; }
    pictures[] = {
        {"RolesCurveAndHandles", [](Scene &s) { // the first segment curved through (45, 15)
             Node *a = s.chain.firstNode, *b = a->fLink;
             std::tie(a->nPoints, a->fcpX, a->fcpY, a->fActive, a->lineColr) = std::tuple(11, 40, 10, true, kRed);
             std::tie(b->bcpX, b->bcpY, b->lineColr, b->ptColr) = std::tuple(50, 10, kColourDestination, kColourWarning);
             s.settings.curveMode = true;
         },
         {{45, 30, kRed}, {60, 45, kColourDestination}, {60, 30, kColourWarning}, {45, 15, kCurve},
          {40, 10, kCurve}, {35, 20, kCurve}, {44, 10, kWhite}}},
        {"Previews", [](Scene &s) {
             s.regular = RegularPreview{45, 45, 10, 6, false, true};
             s.entering.points = {{20, 80}};
             s.entering.nPoints = 1;
         },
         {{45, 45, kFill}, {20, 80, 0}}},
        {"NonFiniteNumbersDrawNothingOfTheirOwn", [](Scene &s) {
             s.chain.firstNode->fLink->x = kNaN;
             s.items.push_back({.nPoints = 5, .points = {{35, 35}, {kInf, 35}, {55, 55}, {35, 55}, {35, 35}}});
         },
         {{45, 30, kWhite}, {45, 60, 0}, {45, 55, 0}}},
    };
    // clang-format on
    for (const auto &[name, setup, probes] : pictures) {
        Scene s;
        ASSERT_TRUE(s.chain.openFromTile(test::squareTile(0, 0, 30), false));
        s.settings.areaWidth = s.settings.areaHeight = 90;
        s.settings.tileColour = 0x0000ff;
        setup(s);
        ImageSurface surface(QSize(90, 90), QPoint(0, 0), kWhite);
        drawXform(surface, s.chain, s.items, static_cast<int>(s.items.size()), s.settings,
                  s.entering.nPoints ? &s.entering : nullptr, s.regular);
        for (const auto &[x, y, colour] : probes)
            EXPECT_EQ(surface.pixel(x, y), colour) << name << " " << x << ", " << y;
        EXPECT_EQ(surface.penWidth(), 1) << "the caller's pen is left as it was";
    }

    Chain chain;
    ASSERT_TRUE(chain.openFromTile(test::squareTile(0, 0, 30), false));
    // 800 %: the surface is 720 pixels wide, the viewport 40 x 40 around the right edge.
    ImageSurface viewport(QSize(40, 40), QPoint(460, 400), kWhite);
    viewport.setScale(8);
    drawXform(viewport, chain, {Sketch{}}, 1, XformDrawSettings{});
    EXPECT_EQ(std::tuple(viewport.pixel(480, 420), viewport.pixel(470, 420)), std::tuple(0, kWhite))
        << "the edge from (60, 30) to (60, 60)";
    // Dots straddling the viewport's right, bottom and top borders show the half inside.
    for (auto [x, y] : {std::pair{62.625, 52.5}, {60.0, 55.125}, {61.5, 49.75}})
        drawXformDot(viewport, x, y, kRed, 3);
    EXPECT_EQ(
        std::tuple(viewport.pixel(499, 420), viewport.pixel(480, 439), viewport.pixel(492, 400)),
        std::tuple(kRed, kRed, kRed));

    ImageSurface surface(QSize(90, 90), QPoint(0, 0), kWhite);
    const QImage before = surface.image();
    for (double bad : {kNaN, 1e300, -1e300, kInf}) {
        EXPECT_FALSE(surfacePixel(surface, bad, 0) || surfacePixel(surface, 0, bad)) << bad;
        drawXformDot(surface, bad, 10, 0, 2);
        drawXformDot(surface, 10, bad, 0, 2);
    }
    EXPECT_EQ(surface.image(), before) << "nothing drawn, not even at a wrapped position";
}

// The 40 x 40 square at (100, 100) opens with its corners at editor (40, 40), (80, 40),
// (80, 80) and (40, 80).
const Tile kSquare = test::squareTile(100, 100, 40, 0x00c000);
using Points = std::vector<Vertex>;

// The real window on a polygon handed over as by the pick. The hand-back callback stands
// in for the tile editor: it appends xfReturn once per hand-back.
class XformWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::qtApp();
        dialogs.onFailure = [](const std::string &what) { ADD_FAILURE() << what; };
    }
    void TearDown() override
    {
        EXPECT_TRUE(dialogs.allConsumed()) << dialogs.pending() << " dialogs never shown";
        doc.closing = true;
        window.reset();
    }

    void open(const Tile &tile = kSquare, std::optional<Vertex> displayVertex0 = std::nullopt)
    {
        doc.xfTile = tile;
        doc.xformOpen = true;
        XformCallbacks callbacks;
        callbacks.handBack = [this](HandBack how) {
            handBacks.push_back(how);
            doc.tiles.push_back(doc.xfReturn);
            doc.curTile = static_cast<int16_t>(doc.tileCount() - 1);
        };
        callbacks.unloaded = [this] { ++unloads; };
        window = std::make_unique<XformWindow>(doc, dialogs, callbacks);
        window->resize(900, 700);
        ASSERT_TRUE(window->Form_Load(displayVertex0));
        show();
    }
    void show()
    {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    template <class T> T *control(const char *name) const
    {
        return test::findControl<T>(window.get(), name);
    }
    template <class T> T *tool(const char *name) const
    {
        return test::findControl<T>(window->sketchWindow(), name);
    }
    void click(const char *button) { test::clickButton(window.get(), button); }
    void choose(int index)
    {
        if (!control<QListWidget>("lstXforms")->isVisible())
            click("cmdXforms");
        test::clickListItem(window.get(), "lstXforms", index);
    }
    void clickTool(const char *name)
    {
        QWidget *c = tool<QWidget>(name);
        QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(8, c->height() / 2));
    }
    // Real mouse events at editor points.
    QWidget *canvas() const { return window->canvas(); }
    QPoint at(double x, double y) const { return window->canvas()->toWidget(x, y); }
    void down(double x, double y) { QTest::mousePress(canvas(), Qt::LeftButton, {}, at(x, y)); }
    void moveTo(double x, double y) { QTest::mouseMove(canvas(), at(x, y)); }
    void up(double x, double y) { QTest::mouseRelease(canvas(), Qt::LeftButton, {}, at(x, y)); }
    void clickAt(double x, double y, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mouseClick(canvas(), b, {}, at(x, y));
    }
    void key(Qt::Key k) { QTest::keyClick(window.get(), k); }
    std::string text(const char *n) const { return control<QLineEdit>(n)->text().toStdString(); }
    std::string notice() const { return control<QLabel>("lblNotice")->text().toStdString(); }
    std::string title() const { return window->windowTitle().toStdString(); }
    Node *node(int k) const { return k ? node(k - 1)->fLink : window->chain().firstNode; }

    Document doc;
    ScriptedDialogs dialogs;
    std::unique_ptr<XformWindow> window;
    std::vector<HandBack> handBacks;
    int unloads = 0;
};

// A translation chosen and edited with the list, the surface and the curve controls,
// then handed back.
TEST_F(XformWindowTest, TranslationEditedWithRealEventsAndHandedBack)
{
    open();
    EXPECT_EQ(
        std::tuple(text("txtTotal"), notice(), control<QLineEdit>("txtnPoints")->isReadOnly()),
        std::tuple("4 points", "select a transformation", true));
    clickAt(60, 40); // no link yet: a beep, counted below
    // The arrow keys in the list choose as a click does.
    choose(XformNone);
    QListWidget *list = control<QListWidget>("lstXforms");
    list->setFocus();
    for (Qt::Key k : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up})
        QTest::keyClick(list, k);
    EXPECT_EQ(std::tuple(list->currentRow(), notice()),
              std::tuple(int(XformTranslate), "select a source edge"));
    clickAt(60, 40);
    EXPECT_EQ(notice(), "edit points on the red line\nor select a new transformation");
    clickAt(60, 40);
    Node *point = node(1), *image = node(4);
    EXPECT_EQ(std::tuple(text("txtTotal"), image->x, image->y), std::tuple("6 points", 60.0, 80.0));

    // Zoom keys; at 200 % five screen pixels (2.5 units) off the point still hit it, seven
    // miss it and add a point.
    key(Qt::Key_Period), key(Qt::Key_Period);
    EXPECT_EQ(title(), "tile transformation    200%");
    down(62.5, 40);
    EXPECT_EQ(window->pointEditor().dragNode, point);
    key(Qt::Key_Slash);
    EXPECT_EQ(title(), "tile transformation    200%") << "no zoom while dragging";
    up(62.5, 40);
    clickAt(63.5, 40);
    EXPECT_DOUBLE_EQ(node(2)->x, 63.5);
    clickAt(63.5, 40, Qt::RightButton);
    key(Qt::Key_Slash), key(Qt::Key_Comma);
    EXPECT_EQ(std::tuple(dialogs.beeps, title(), text("txtTotal")),
              std::tuple(2, "tile transformation    100%", "6 points"));
    point = node(1), image = node(4);

    // Without "xform preview" the image waits for the release; with it, it follows.
    down(60, 40), moveTo(62, 30);
    EXPECT_EQ(std::tuple(point->x, point->y, image->y), std::tuple(62.0, 30.0, 80.0));
    up(62, 30);
    EXPECT_EQ(std::tuple(image->x, image->y), std::tuple(62.0, 70.0));
    click("cmdViews");
    test::clickListItem(window.get(), "lstViews", XformWindow::ViewXformPreview);
    down(62, 30), moveTo(58, 50);
    EXPECT_EQ(std::tuple(image->x, image->y), std::tuple(58.0, 90.0));
    up(58, 50);

    // Curve mode: the segment bar and its text follow the model.
    QScrollBar *segments = control<QScrollBar>("hscnPoints");
    click("cmdCurves");
    clickAt(50, 45); // on the red segment from the first corner to the point
    EXPECT_EQ(
        std::tuple(segments->isVisible(), segments->value(), text("txtnPoints") + text("txtTotal")),
        std::tuple(true, 11, "# of line segments = 1024 points"));
    segments->setValue(6);
    EXPECT_EQ(std::tuple(window->chain().firstNode->nPoints, text("txtnPoints") + text("txtTotal")),
              std::tuple(6, "# of line segments = 514 points"));
    click("cmdCurves");
    EXPECT_FALSE(segments->isVisible());

    click("cmdReturn");
    ASSERT_EQ(handBacks, std::vector{HandBack::Return});
    EXPECT_EQ(std::tuple(window->isVisible(), doc.xformOpen,
                         doc.nodeRecs == window->chain().saveChain(), doc.tiles.at(0).nVerts,
                         doc.tiles[0].verts[0]),
              std::tuple(false, true, true, int16_t(14), Vertex{100, 100}));
    // "return to transform" shows the same chain again; showing hands nothing back.
    show();
    EXPECT_EQ(std::tuple(handBacks.size(), node(1), text("txtTotal")),
              std::tuple(1u, point, "14 points"));

    // "clear edge" waits for the edge, clears it and shows the new total.
    click("cmdClear");
    EXPECT_EQ(std::tuple(notice(), list->currentRow()),
              std::tuple("select an edge to clear", int(XformNone)));
    clickAt(50, 45);
    EXPECT_EQ(text("txtTotal"), "9 points") << "the curved image stays";
    QTest::keyClick(list, Qt::Key_G);
    EXPECT_EQ(list->currentRow(), XformGlide) << "other keys reach the list's own search";

    // Saved with the document, the pending transform reopens on its chain where its
    // display copy lay ("return to transform" takes the copy out first).
    choose(XformNone);
    click("cmdReturn");
    const auto [saved, returned, bytes] = std::tuple(doc.nodeRecs, doc.xfReturn, saveState(doc));
    window.reset();
    doc = Document{};
    ASSERT_TRUE(bytes && loadState(doc, *bytes, 0, 0).ok && doc.xfResume != 0);
    const Vertex displayCorner = doc.currentTile()->verts[0];
    doc.tiles.erase(doc.tiles.begin() + doc.curTile);
    open(doc.xfTile, displayCorner);
    EXPECT_EQ(std::tuple(doc.xfResume, window->chain().saveChain(), text("txtTotal")),
              std::tuple(0, saved, "9 points"));
    click("cmdReturn");
    EXPECT_EQ(doc.xfReturn.verts, returned.verts) << "handed back where it was";

    // A reflected polygon refuses the sketch tools; exit asks first, and so does the close box.
    show();
    choose(XformReflect);
    ASSERT_NEAR(window->view().areaWidth(), 160, 1e-9);
    dialogs.expectMessage("reflected polygons can not be modified");
    click("cmdDoodle");
    dialogs.expectYesNo(Answer::No);
    click("cmdExit");
    EXPECT_TRUE(window->cancelExit() && window->isVisible());
    dialogs.expectYesNo(Answer::Yes);
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->cancelExit() || doc.xformOpen || doc.xfReflected);
    EXPECT_EQ(std::tuple(handBacks.back(), unloads, doc.tiles.back().nVerts),
              std::tuple(HandBack::Exit, 1, int16_t(2 * 9 - 2)))
        << "the reflected outline";

    // A huge polygon: the window keeps only its own pixels and pans with the bars.
    open(test::squareTile(0, 0, 2000)); // a 6000-pixel surface
    int right = -1;                     // the button row: no button covers the next one
    for (const char *b :
         {"cmdXforms", "cmdViews", "cmdCurves", "cmdClear", "cmdDoodle", "cmdReturn", "cmdExit"}) {
        EXPECT_GT(control<QPushButton>(b)->x(), right) << b;
        right = control<QPushButton>(b)->geometry().right();
    }
    EXPECT_EQ(window->view().surfaceWidthPx(), 6000);
    const QImage &shown = window->canvas()->surface().image();
    EXPECT_TRUE(shown.width() <= window->width() && shown.height() <= window->height());
    key(Qt::Key_Period); // beyond 45000 twips already
    EXPECT_EQ(dialogs.beeps, 3);
    QScrollBar *h = control<QScrollBar>("hscPan"), *v = control<QScrollBar>("vscPan");
    ASSERT_TRUE(h->isVisible() && v->isVisible());
    EXPECT_EQ(v->geometry().bottom() + 1, h->y()) << "the bars meet, neither covers the other";
    h->setValue(150); // 1200 twips: 80 pixels
    EXPECT_NEAR(window->canvas()->toEditor(QPointF(0, 0)).x(), 80, 1e-9);
    EXPECT_EQ(control<QLabel>("lblNotice")->x(), window->canvas()->x() + 5);
}

// Every tool with real clicks on a polygon that brings one sketch item along, in a sketch
// table that an unreferenced run fills: the exit reclaims it and hands back the kept items
// relative to the first corner.
TEST_F(XformWindowTest, EveryToolWithRealClicksThenExit)
{
    doc.sketches.assign(kMaxRecords - 1, Sketch{.nPoints = 2, .points = {{1, 1}, {2, 2}}});
    doc.sketches[0] = Sketch{}, doc.sketches[1].count = kMaxRecords - 2;
    Tile tile = kSquare;
    tile.sketchStart = doc.appendSketchRun({Sketch{.nPoints = 2, .points = {{-30, 0}, {-20, 0}}}});
    open(tile);
    click("cmdDoodle");
    ASSERT_NE(window->sketchWindow(), nullptr);
    EXPECT_TRUE(tool<QRadioButton>("optLine")->isChecked()) << "the palette shows its tool";
    clickTool("chkFill");
    EXPECT_EQ(window->focusWidget(), canvas()) << "the palette hands the focus back";
    // Back on point 0, within reach: a closed, filled triangle.
    for (const Vertex &p : Points{{50, 50}, {70, 50}, {60, 70}, {52, 48}})
        clickAt(p.x, p.y);
    ASSERT_EQ(window->sketches().sketchNext, 3);
    EXPECT_EQ(window->canvas()->surface().image().pixel(at(60, 56)), QColor(180, 180, 180).rgb());
    // An open polyline bent with "curve" and a corner drag.
    for (const Vertex &p : Points{{45, 45}, {65, 45}, {65, 65}, {85, 65}})
        clickAt(p.x, p.y);
    clickAt(85, 65, Qt::RightButton);
    clickTool("cmdCurve");
    key(Qt::Key_Period);
    EXPECT_EQ(title(), "tile transformation   100%") << "no zoom now";
    down(65, 45), moveTo(65, 35), up(65, 35);
    clickTool("cmdCurve");
    EXPECT_EQ(std::tuple(window->curveUnderway(), window->sketches().sketchItems[3].points[0]),
              std::tuple(false, Vertex{55, 40}));
    // A square dragged out with the polygon tool, then deleted.
    clickTool("optPoly");
    tool<QScrollBar>("hscPoly")->setValue(4);
    down(60, 60), moveTo(60, 66), up(70, 60);
    ASSERT_EQ(window->sketches().sketchNext, 5);
    clickTool("optDelete");
    clickAt(71, 61);
    clickAt(100, 20); // nothing to delete there
    EXPECT_EQ(std::tuple(window->sketches().sketchItems[4].deletedMark, dialogs.beeps),
              std::tuple(kTrue, 1));
    // A line still open when the window exits is dropped.
    clickTool("optLine");
    clickAt(45, 75);
    dialogs.expectYesNo(Answer::Yes);
    click("cmdExit");
    EXPECT_FALSE(window->sketchToolsOpen());
    const std::vector<Sketch> &kept = doc.sketches;
    ASSERT_EQ(std::tuple(doc.tiles.at(0).sketchStart, doc.sketchCount(), kept[2].count),
              std::tuple(2, 4, int16_t(3)));
    EXPECT_EQ(std::tuple(kept[2].points, kept[3].points, kept[4].points.size(), kept[3].fillStyle),
              std::tuple(Points{{-30, 0}, {-20, 0}}, Points{{10, 10}, {30, 10}, {20, 30}, {10, 10}},
                         10u, int16_t(0)));
}

} // namespace
} // namespace tessella::testing
