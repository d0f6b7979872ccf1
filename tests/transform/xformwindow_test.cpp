// SPDX-License-Identifier: GPL-3.0-or-later
// The transform editor window driven with real key and mouse events.
#include "xformwindowfixture.h"

#include <QPalette>

namespace tessella::testing {
namespace {

// Editor corners of the 40 x 40 square at (100, 100): (40, 40), (80, 40), (80, 80), (40, 80).

TEST_F(XformWindowTest, OpensWithItsControlsPromptAndTotal)
{
    open();
    EXPECT_EQ(window->objectName(), "frmXform");
    EXPECT_EQ(window->windowTitle(), "tile transformation   100%");
    EXPECT_EQ(text("txtTotal"), "4 points");
    EXPECT_EQ(notice(), "select a transformation");
    EXPECT_TRUE(control<QLabel>("lblNotice")->isVisible());
    QListWidget *views = control<QListWidget>("lstViews");
    ASSERT_EQ(views->count(), 6);
    EXPECT_EQ(views->item(5)->text(), "xform preview");
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(views->item(i)->isSelected()) << i;
    EXPECT_FALSE(views->item(5)->isSelected());
    QListWidget *xforms = control<QListWidget>("lstXforms");
    ASSERT_EQ(xforms->count(), 7);
    EXPECT_EQ(xforms->item(6)->text(), "glide reflection");
    EXPECT_EQ(xforms->currentRow(), 0);
    EXPECT_FALSE(xforms->isVisible());
    QScrollBar *segments = control<QScrollBar>("hscnPoints");
    EXPECT_FALSE(segments->isVisible());
    EXPECT_EQ(segments->minimum(), 2);
    EXPECT_EQ(segments->maximum(), 26);
    EXPECT_EQ(segments->value(), 2);
    EXPECT_EQ(text("txtnPoints"), "# of line segments = 1");
    for (const char *name :
         {"cmdXforms", "cmdViews", "cmdCurves", "cmdClear", "cmdDoodle", "cmdReturn", "cmdExit"})
        EXPECT_NE(control<QPushButton>(name), nullptr);
    EXPECT_EQ(control<QPushButton>("cmdReturn")->text(), "return to tiles");
    EXPECT_EQ(control<QPushButton>("cmdClear")->text(), "clear edge");
    EXPECT_EQ(window->canvas()->accessibleName(), "picBox");
    EXPECT_FALSE(window->canvas()->accessibleDescription().isEmpty());
    // The polygon sits in the middle of a drawing area three times its size.
    EXPECT_EQ(window->view().areaWidth(), 120);
    EXPECT_EQ(window->chain().firstNode->x, 40);
    EXPECT_EQ(window->chain().firstNode->y, 40);
}

TEST_F(XformWindowTest, EachTransformationArmsItsPrompt)
{
    open();
    const std::pair<int, const char *> prompts[] = {{XformTranslate, "select a source edge"},
                                                    {XformCenterRotation, "select an edge"},
                                                    {XformVertexRotation, "select a source edge"},
                                                    {XformGlide, "select a source edge"}};
    for (auto [index, prompt] : prompts) {
        choose(index);
        EXPECT_EQ(notice().toStdString(), prompt) << index;
        EXPECT_EQ(window->transformations().xformIndex(), index);
        EXPECT_TRUE(window->transformations().anyPending()) << index;
    }
    EXPECT_TRUE(window->transformations().pendGlide);
    EXPECT_FALSE(window->transformations().pendTranslate) << "one pending selection at a time";
    choose(XformNone);
    EXPECT_FALSE(control<QListWidget>("lstXforms")->isVisible());
    EXPECT_EQ(notice(), "select a transformation");
}

TEST_F(XformWindowTest, ReflectWidensTheSurfaceAndUnreflectRestoresIt)
{
    open();
    choose(XformReflect);
    EXPECT_NE(doc.xfReflected, 0);
    EXPECT_NEAR(window->view().areaWidth(), 160, 1e-9);
    EXPECT_EQ(text("txtTotal"), "6 points");
    // Sketching and clearing refuse while reflected.
    dialogs.expectMessage("reflected polygons can not be modified");
    click("cmdClear");
    dialogs.expectMessage("reflected polygons can not be modified");
    click("cmdDoodle");
    choose(XformUnreflect);
    EXPECT_EQ(doc.xfReflected, 0);
    EXPECT_NEAR(window->view().areaWidth(), 120, 1e-9);
    EXPECT_EQ(notice(), "select a transformation");
    EXPECT_EQ(text("txtTotal"), "4 points");
}

TEST_F(XformWindowTest, NoLinkMeansAClickBeeps)
{
    open();
    clickAt(60, 40);
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(nodes().size(), 5u);
}

TEST_F(XformWindowTest, TranslateLinksOppositeEdgesAndAddedPointsAreMirrored)
{
    open();
    choose(XformTranslate);
    clickAt(60, 40);
    Node *corner0 = window->chain().firstNode;
    EXPECT_EQ(corner0->lineColr, kColourSource);
    EXPECT_EQ(notice(), "edit points on the red line\nor select a new transformation");
    EXPECT_EQ(control<QListWidget>("lstXforms")->currentRow(), XformTranslate);
    // The bottom edge, from (80, 80) to (40, 80), is the destination.
    EXPECT_EQ(nodes()[2]->lineColr, kColourDestination);

    // A click on the red edge adds a point and its image on the destination.
    clickAt(60, 40);
    EXPECT_EQ(text("txtTotal"), "6 points");
    const std::vector<Node *> chain = nodes();
    ASSERT_EQ(chain.size(), 7u);
    EXPECT_EQ(chain[1]->x, 60);
    EXPECT_EQ(chain[1]->y, 40);
    EXPECT_EQ(chain[1]->ptColr, kColourSource);
    EXPECT_EQ(chain[4]->x, 60);
    EXPECT_EQ(chain[4]->y, 80);
}

TEST_F(XformWindowTest, DraggedPointMovesItsImageOnReleaseOrLiveWithPreview)
{
    open();
    choose(XformTranslate);
    clickAt(60, 40);
    clickAt(60, 40);
    Node *point = nodes()[1];
    Node *image = nodes()[4];

    press(60, 40);
    moveTo(62, 30);
    EXPECT_EQ(point->x, 62);
    EXPECT_EQ(point->y, 30);
    EXPECT_EQ(image->y, 80) << "without preview the destination waits for the release";
    release(62, 30);
    EXPECT_EQ(image->x, 62);
    EXPECT_EQ(image->y, 70);

    // With "xform preview" the image follows during the drag.
    click("cmdViews");
    clickItem("lstViews", XformWindow::ViewXformPreview);
    EXPECT_FALSE(control<QListWidget>("lstViews")->isVisible());
    ASSERT_TRUE(window->viewSelected(XformWindow::ViewXformPreview));
    press(62, 30);
    moveTo(58, 50);
    EXPECT_EQ(image->x, 58);
    EXPECT_EQ(image->y, 90);
    release(58, 50);
    EXPECT_EQ(image->y, 90);
}

TEST_F(XformWindowTest, CurveModeSegmentsAndTheSegmentBar)
{
    open();
    choose(XformTranslate);
    clickAt(60, 40);
    QPushButton *curves = control<QPushButton>("cmdCurves");
    const QColor normal = curves->palette().color(QPalette::Button);
    click("cmdCurves");
    EXPECT_EQ(curves->palette().color(QPalette::Button), QColor(220, 110, 0));
    QScrollBar *segments = control<QScrollBar>("hscnPoints");
    EXPECT_TRUE(segments->isVisible());
    EXPECT_TRUE(control<QLineEdit>("txtnPoints")->isVisible());

    // A straight red segment becomes a curve of 10 line segments with both handles.
    clickAt(60, 40);
    Node *corner0 = window->chain().firstNode;
    EXPECT_EQ(corner0->nPoints, 11);
    EXPECT_TRUE(corner0->fActive);
    EXPECT_TRUE(corner0->fLink->bActive);
    EXPECT_EQ(segments->value(), 11);
    EXPECT_EQ(text("txtnPoints"), "# of line segments = 10");
    EXPECT_EQ(text("txtTotal"), "22 points") << "source and destination curved";

    segments->setValue(6);
    EXPECT_EQ(corner0->nPoints, 6);
    EXPECT_EQ(text("txtnPoints"), "# of line segments = 5");
    EXPECT_EQ(text("txtTotal"), "12 points");

    // A right click on the red segment makes it straight again.
    clickAt(60, 40, Qt::RightButton);
    EXPECT_EQ(corner0->nPoints, 2);
    EXPECT_FALSE(corner0->fActive);

    click("cmdCurves");
    EXPECT_EQ(curves->palette().color(QPalette::Button), normal);
    EXPECT_FALSE(segments->isVisible());
}

TEST_F(XformWindowTest, ZoomKeysStepToEightHundredAndBeepBeyond)
{
    open(squareAt(100, 100, 30));
    const char *captions[] = {"tile transformation    141%", "tile transformation    200%",
                              "tile transformation    283%", "tile transformation    400%",
                              "tile transformation    566%", "tile transformation    800%"};
    for (const char *caption : captions) {
        key(Qt::Key_Period);
        EXPECT_EQ(window->windowTitle().toStdString(), caption);
    }
    EXPECT_EQ(dialogs.beeps, 0);
    key(Qt::Key_Period);
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(window->windowTitle(), "tile transformation    800%");
    // The screen keeps pixels for the window's part of the 720-pixel surface only.
    EXPECT_LE(window->canvas()->surface().image().width(), window->width());
    EXPECT_LE(window->canvas()->surface().image().height(), window->height());
    key(Qt::Key_Slash);
    EXPECT_EQ(window->windowTitle(), "tile transformation    100%");
    key(Qt::Key_Comma);
    EXPECT_EQ(dialogs.beeps, 2);
}

TEST_F(XformWindowTest, ReachIsSixScreenPixelsAtTwoHundredPercent)
{
    open();
    choose(XformTranslate);
    clickAt(60, 40);
    clickAt(60, 40);
    ASSERT_EQ(nodes().size(), 7u);
    key(Qt::Key_Period);
    key(Qt::Key_Period);
    ASSERT_EQ(window->windowTitle(), "tile transformation    200%");
    // Five screen pixels off the point: still a hit, the press drags it.
    QTest::mousePress(window->canvas(), Qt::LeftButton, {}, at(60, 40, 5));
    EXPECT_TRUE(window->pointEditor().dragPoint);
    EXPECT_EQ(window->pointEditor().dragNode, nodes()[1]);
    QTest::mouseRelease(window->canvas(), Qt::LeftButton, {}, at(60, 40, 5));
    EXPECT_EQ(nodes().size(), 7u);
    // Seven pixels off it misses the point and adds one on the red segment instead.
    QTest::mouseClick(window->canvas(), Qt::LeftButton, {}, at(60, 40, 7));
    ASSERT_EQ(nodes().size(), 9u);
    EXPECT_DOUBLE_EQ(nodes()[2]->x, 63.5);
}

TEST_F(XformWindowTest, PanBarsMoveALargeSurface)
{
    open(squareAt(0, 0, 400)); // a 1200 x 1200 drawing area
    QScrollBar *h = control<QScrollBar>("hscPan");
    QScrollBar *v = control<QScrollBar>("vscPan");
    ASSERT_TRUE(h->isVisible());
    ASSERT_TRUE(v->isVisible());
    EXPECT_EQ(h->singleStep(), 25);
    EXPECT_EQ(h->pageStep(), 250);
    h->setValue(0);
    const QPoint left = window->canvas()->surfaceOffset();
    h->setValue(150); // 1200 twips: 80 pixels
    EXPECT_EQ(window->canvas()->surfaceOffset().x(), left.x() + 80);
    EXPECT_NEAR(window->canvas()->toEditor(QPointF(0, 0)).x(), 80, 1e-9);
    // The prompt stays at the visible left edge.
    QLabel *label = control<QLabel>("lblNotice");
    EXPECT_EQ(label->x(), window->canvas()->x() + 5);
    EXPECT_LE(window->canvas()->surface().image().width(), window->width());
}

TEST_F(XformWindowTest, HugePolygonKeepsOnlyTheWindowsPixels)
{
    // A 9000 x 6000 pixel surface: only the window's part of it is held.
    Tile wide;
    wide.setCorners({{0, 0}, {3000, 0}, {3000, 2000}, {0, 2000}});
    open(wide);
    EXPECT_EQ(window->view().surfaceWidthPx(), 9000);
    EXPECT_LE(window->canvas()->surface().image().width(), window->width());
    EXPECT_LE(window->canvas()->surface().image().height(), window->height());
    key(Qt::Key_Period); // more than 45000 twips already
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(window->windowTitle(), "tile transformation   100%");
}

TEST_F(XformWindowTest, ViewListHidesPromptsAndCurves)
{
    open();
    click("cmdViews");
    clickItem("lstViews", XformWindow::ViewPrompts);
    EXPECT_FALSE(control<QLabel>("lblNotice")->isVisible());
    click("cmdViews");
    clickItem("lstViews", XformWindow::ViewPrompts);
    EXPECT_TRUE(control<QLabel>("lblNotice")->isVisible());
    click("cmdViews");
    clickItem("lstViews", XformWindow::ViewCurves);
    EXPECT_FALSE(window->viewSelected(XformWindow::ViewCurves));
}

TEST_F(XformWindowTest, ClearEdgeRemovesTheAddedPoints)
{
    open();
    choose(XformTranslate);
    clickAt(60, 40);
    clickAt(60, 40);
    ASSERT_EQ(nodes().size(), 7u);
    click("cmdClear");
    EXPECT_EQ(notice(), "select an edge to clear");
    EXPECT_EQ(control<QListWidget>("lstXforms")->currentRow(), XformNone);
    clickAt(50, 40);
    EXPECT_EQ(nodes().size(), 6u) << "the source edge is straight again";
    // A second press of the button toggles the wait off.
    click("cmdClear");
    click("cmdClear");
    EXPECT_FALSE(window->transformations().pendClear);
}

TEST_F(XformWindowTest, ReturnToTilesHandsBackOnceAndKeepsTheChain)
{
    open();
    choose(XformTranslate);
    clickAt(60, 40);
    clickAt(60, 40);
    Node *added = nodes()[1];
    click("cmdReturn");
    ASSERT_EQ(handBacks.size(), 1u);
    EXPECT_EQ(handBacks[0], HandBack::Return);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(doc.xformOpen);
    ASSERT_EQ(doc.tileCount(), 1);
    // The polygon comes back in plane coordinates, with the added point and its image.
    const Tile &back = doc.tiles[0];
    ASSERT_EQ(back.nVerts, 6);
    EXPECT_EQ(back.verts[0], (Vertex{100, 100}));
    EXPECT_EQ(back.verts[1], (Vertex{120, 100}));
    EXPECT_EQ(back.verts[4], (Vertex{120, 140}));
    EXPECT_EQ(back.verts[6], back.verts[0]);
    EXPECT_EQ(back.color, 0x00c000);
    EXPECT_EQ(doc.nodeRecCount(), 7);

    // Showing and hiding the window hands nothing back; "return to transform" shows the
    // same chain.
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    EXPECT_EQ(handBacks.size(), 1u);
    EXPECT_EQ(nodes()[1], added);
    EXPECT_EQ(window->chain().firstNode->lineColr, kColourSource);
    EXPECT_EQ(text("txtTotal"), "6 points");
}

TEST_F(XformWindowTest, ExitAsksAndNoKeepsEverything)
{
    open();
    dialogs.expectYesNo(Answer::No);
    click("cmdExit");
    ASSERT_EQ(dialogs.log.size(), 1u);
    EXPECT_EQ(dialogs.log[0].text,
              "if you exit this window you will not be able to continue editing this polygon");
    EXPECT_EQ(dialogs.log[0].secondLine, "Do you want to Exit now?");
    EXPECT_TRUE(window->cancelExit());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(doc.xformOpen);
    EXPECT_TRUE(handBacks.empty());

    // The close box asks the same question; No keeps the window.
    dialogs.expectYesNo(Answer::No);
    window->close();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(unloads, 0);
}

TEST_F(XformWindowTest, ExitYesHandsBackAndUnloads)
{
    open();
    choose(XformReflect);
    ASSERT_NE(doc.xfReflected, 0);
    dialogs.expectYesNo(Answer::Yes);
    window->close(); // the close box behaves as "exit"
    EXPECT_FALSE(window->cancelExit());
    EXPECT_FALSE(doc.xformOpen);
    EXPECT_EQ(doc.xfReflected, 0);
    ASSERT_EQ(handBacks.size(), 1u);
    EXPECT_EQ(handBacks[0], HandBack::Exit);
    EXPECT_EQ(unloads, 1);
    EXPECT_FALSE(window->isVisible());
    ASSERT_EQ(doc.tileCount(), 1);
    EXPECT_EQ(doc.tiles[0].nVerts, 6) << "the reflected outline is handed back";
}

TEST_F(XformWindowTest, ApplicationEndUnloadsWithoutAsking)
{
    open();
    doc.closing = true;
    window->close();
    EXPECT_EQ(unloads, 1);
    EXPECT_TRUE(handBacks.empty());
    EXPECT_FALSE(window->isVisible());
}

} // namespace
} // namespace tessella::testing
