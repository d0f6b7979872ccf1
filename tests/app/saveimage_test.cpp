// SPDX-License-Identifier: GPL-3.0-or-later
// "save image" through the real tile editor and the real print setup and quality windows,
// driven with real events; the exporter records the requests.
#include "saveimagefixture.h"

#include <cmath>

using namespace tessella;
using namespace tessella::test;

namespace {

const QPoint kFrom(200, 150);

struct StopCase
{
    std::optional<const char *> file; // nothing: the dialog is cancelled
    std::optional<std::string> message;
};

class StopsBeforeTheArea : public SaveImageTest, public ::testing::WithParamInterface<StopCase>
{};

TEST_P(StopsBeforeTheArea, AndLeavesTheEditorAsItWas)
{
    QTest::keyClick(window.get(), Qt::Key_Period);
    const auto before = shownView();
    std::optional<std::string> path;
    if (GetParam().file)
        path = dir.filePath(*GetParam().file).toStdString();
    chooseSaveImage(path, GetParam().message);
    EXPECT_FALSE(command().busy());
    EXPECT_FALSE(window->lockedForExport());
    EXPECT_EQ(shownView(), before);
    EXPECT_EQ(command().imagePath().toStdString(), path.value_or(""));
    const std::string &filter = dialogs.log[0].options.filter;
    EXPECT_TRUE(filter.starts_with("Bitmap (*.bmp)|*.bmp|JPEG (*.jpg)|*.jpg|Enhanced Metafile"));
    EXPECT_TRUE(filter.ends_with("|*.wmf|PNG (*.png)|*.png|SVG (*.svg)|*.svg|PDF (*.pdf)|*.pdf"));
}

INSTANTIATE_TEST_SUITE_P(SaveImage, StopsBeforeTheArea,
                         ::testing::Values(StopCase{"a.JPG", ".JPG is not a recognized file type"},
                                           StopCase{std::nullopt, std::nullopt}));

struct AspectCase
{
    QPoint from, drag; // widget pixels
    PrintArea area;
};

class FixedAspect : public SaveImageTest, public ::testing::WithParamInterface<AspectCase>
{};

TEST_P(FixedAspect, TenToEightGivesEightyPixelsForAHundredTowardsThePointerFromEitherCorner)
{
    chooseSaveImage(dir.filePath("a.svg").toStdString());
    PrintSetupWindow *setup = command().printSetupWindow();
    ASSERT_NE(setup, nullptr);
    clickOption(setup, "optConstrain");
    pullOnCanvas(GetParam().from, GetParam().from + GetParam().drag);
    const double zoom = window->view().zoom();
    // The rubber band reaches the moving corner.
    const AreaPull &pull = setup->pull();
    EXPECT_EQ(window->canvas()->surface().pixel(int(std::floor(pull.cornerX() * zoom)),
                                                int(std::floor(pull.cornerY() * zoom))),
              kRed);
    dialogs.expectMessage();
    clickButton(setup, "cmdEnter");
    ASSERT_TRUE(waitUntilDone());
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].area, GetParam().area);
    EXPECT_EQ(requests[0].area.height() * zoom, 80);
    EXPECT_EQ(command().aspectSettings().fixedAspect, 1);
}

// Rows in pairs: down, then back from the far corner; up, then back.
INSTANTIATE_TEST_SUITE_P(
    SaveImage, FixedAspect,
    ::testing::Values(AspectCase{{200, 150}, {100, 30}, {400, 300, 600, 460}},
                      AspectCase{{300, 230}, {-100, -30}, {400, 300, 600, 460}},
                      AspectCase{{200, 150}, {100, -30}, {400, 140, 600, 300}},
                      AspectCase{{300, 70}, {-100, 30}, {400, 140, 600, 300}}));

TEST_F(SaveImageTest, EnterOnAnEmptyAreaBeepsAndTheWindowCannotBeClosedBeforeIt)
{
    QTest::keyClick(window.get(), Qt::Key_Period);
    const auto before = shownView();
    chooseSaveImage(dir.filePath("a.bmp").toStdString());
    PrintSetupWindow *setup = command().printSetupWindow();
    ASSERT_NE(setup, nullptr);
    EXPECT_TRUE(window->lockedForExport());
    EXPECT_DOUBLE_EQ(window->view().zoomPct(), 50);
    EXPECT_FALSE(findControl<QWidget>(window.get(), "cmdFiles")->isEnabled());

    auto enterBeeps = [&] {
        const int before = dialogs.beeps;
        clickButton(setup, "cmdEnter");
        return dialogs.beeps == before + 1;
    };
    EXPECT_TRUE(enterBeeps()); // nothing pulled yet
    for (QPoint d : {QPoint(0, 0), QPoint(90, 0), QPoint(0, 90)}) {
        pullOnCanvas(kFrom, kFrom + d);
        EXPECT_TRUE(enterBeeps()) << d.x() << ", " << d.y();
    }
    // A fixed aspect of a billion puts the corner beyond the area's 32-bit integers.
    clickOption(setup, "optConstrain");
    for (const char *box : {"txtWidth", "txtHeight"}) {
        QWidget *text = findControl<QWidget>(setup, box);
        QTest::keyClick(text, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(text, box[3] == 'W' ? "0.0001" : "100000");
    }
    pullOnCanvas(kFrom, kFrom + QPoint(10, 5));
    EXPECT_TRUE(enterBeeps());
    clickOption(setup, "optFree");
    setup->close();
    EXPECT_TRUE(setup->isVisible());

    // Closing the quality window ends the export without writing.
    pullAndEnter(kFrom, kFrom + QPoint(60, 40));
    EXPECT_FALSE(setup->isVisible());
    command().qualityWindow()->close();
    ASSERT_TRUE(waitUntilDone());
    EXPECT_TRUE(requests.empty());
    EXPECT_FALSE(window->lockedForExport());
    EXPECT_EQ(shownView(), before);
}

struct PassCase
{
    const char *option;
    int zoom;
    bool heavy; // the view list's "heavy" chosen first
    ExportResult::Status status;
    const char *engineMessage;
    std::optional<std::string> shown; // "@" stands for the file's path
};

class Pass : public SaveImageTest, public ::testing::WithParamInterface<PassCase>
{};

TEST_P(Pass, GetsTheQualitysZoomReportsTheOutcomeAndGivesTheViewBackRedrawn)
{
    const PassCase &c = GetParam();
    if (c.heavy) {
        clickButton(window.get(), "cmdView");
        clickListItem(window.get(), "lstViews", 0);
    }
    const auto before = shownView();
    engine = [&](const Document &, const ExportRequest &, ExportSink *) {
        return ExportResult{c.status, QString(c.engineMessage)};
    };
    const std::string path = dir.filePath("a.jpg").toStdString();
    chooseSaveImage(path);
    pullAndEnter(kFrom, kFrom + QPoint(50, 25));
    if (std::optional<std::string> text = c.shown) {
        if (const auto at = text->find('@'); at != std::string::npos)
            text->replace(at, 1, path);
        dialogs.expectMessage(text);
    }
    chooseQuality(c.option);
    ASSERT_TRUE(waitUntilDone());
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].qualityZoom, c.zoom);
    EXPECT_EQ(requests[0].heavy, c.heavy);
    EXPECT_EQ(requests[0].area, (PrintArea{400, 300, 500, 350}));
    EXPECT_EQ(shownView(), before);
    EXPECT_TRUE(findControl<QWidget>(window.get(), "cmdFiles")->isEnabled());
    // The canvas shows the tiling at 100 % again: (70, 70) lies inside the first tile.
    EXPECT_EQ(window->canvas()->surface().pixel(70, 70), kTileColour);
}

using S = ExportResult::Status;
INSTANTIATE_TEST_SUITE_P(
    SaveImage, Pass,
    ::testing::Values(PassCase{"opt100", 1, false, S::Written, "", "saved as:\n@"},
                      PassCase{"opt200", 2, true, S::Failed, "file not saved\nx",
                               "file not saved\nx"},
                      PassCase{"opt400", 4, false, S::Refused, "the image is too large",
                               "the image is too large"},
                      PassCase{"opt800", 8, true, S::Cancelled, "", std::nullopt}));

} // namespace
