// SPDX-License-Identifier: GPL-3.0-or-later
// "save image" through the real tile editor and the real print setup, quality and status
// windows, driven with real events; the exporter records the requests.
#include "saveimagefixture.h"

#include <QPushButton>
#include <QTimer>

#include <cmath>

using namespace tessella;
using namespace tessella::test;

namespace {

const QPoint kFrom(200, 150);

// A real click on an option button's indicator.
void clickOption(const QWidget *window, const char *name)
{
    QWidget *option = findControl<QWidget>(window, name);
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
}

struct TypeCase
{
    const char *path;
    const char *message;
};

class UnrecognisedType : public SaveImageTest, public ::testing::WithParamInterface<TypeCase>
{};

TEST_P(UnrecognisedType, IsRefusedWithTheLastFourCharactersAndLeavesTheEditorAsItWas)
{
    QTest::keyClick(window.get(), Qt::Key_Period);
    const ShownView before = shownView();
    const std::string path = dir.filePath(GetParam().path).toStdString();
    chooseSaveImage(path, std::string(GetParam().message));
    EXPECT_FALSE(command().busy());
    EXPECT_FALSE(window->lockedForExport());
    EXPECT_EQ(command().printSetupWindow(), nullptr);
    EXPECT_EQ(shownView(), before);
    EXPECT_EQ(command().imagePath().toStdString(), path);
}

INSTANTIATE_TEST_SUITE_P(SaveImage, UnrecognisedType,
                         ::testing::Values(TypeCase{"a.JPG", ".JPG is not a recognized file type"},
                                           TypeCase{"a.jpeg", "jpeg is not a recognized file type"},
                                           TypeCase{"a.Png",
                                                    ".Png is not a recognized file type"}));

TEST_F(SaveImageTest, CancelledSaveDialogStartsNothing)
{
    chooseSaveImage(std::nullopt);
    EXPECT_FALSE(command().busy());
    EXPECT_FALSE(window->lockedForExport());
    EXPECT_TRUE(command().imagePath().isEmpty());
}

struct AspectCase
{
    QPoint drag;
    int height; // widget pixels, signed
};

class FixedAspect : public SaveImageTest, public ::testing::WithParamInterface<AspectCase>
{};

TEST_P(FixedAspect, TenToEightGivesEightyPixelsForAHundredTowardsThePointer)
{
    chooseSaveImage(dir.filePath("a.png").toStdString());
    PrintSetupWindow *setup = command().printSetupWindow();
    ASSERT_NE(setup, nullptr);
    clickOption(setup, "optConstrain");
    pullOnCanvas(kFrom, kFrom + GetParam().drag);

    const AreaPull &pull = setup->pull();
    const double zoom = window->view().zoom();
    EXPECT_DOUBLE_EQ(zoom, 0.5);
    EXPECT_NEAR((pull.cornerX() - pull.anchorX()) * zoom, GetParam().drag.x(), 1e-9);
    EXPECT_NEAR((pull.cornerY() - pull.anchorY()) * zoom, GetParam().height, 1e-9);
    // The rubber band reaches the moving corner.
    const ImageSurface &canvas = window->canvas()->surface();
    EXPECT_EQ(canvas.pixel(int(std::floor(pull.cornerX() * zoom)),
                           int(std::floor(pull.cornerY() * zoom))),
              kRed);

    clickButton(setup, "cmdEnter");
    command().qualityWindow()->close();
    ASSERT_TRUE(waitUntilDone());
    EXPECT_EQ(command().aspectSettings().fixedAspect, 1);
}

INSTANTIATE_TEST_SUITE_P(SaveImage, FixedAspect,
                         ::testing::Values(AspectCase{{100, 30}, 80}, AspectCase{{100, -30}, -80},
                                           AspectCase{{-100, -30}, -80},
                                           AspectCase{{-100, 30}, 80}));

TEST_F(SaveImageTest, EitherCornerPullsTheSameArea)
{
    const QPoint to = kFrom + QPoint(120, 70);
    std::vector<PrintArea> areas;
    for (auto [a, b] : {std::pair{kFrom, to}, std::pair{to, kFrom}}) {
        chooseSaveImage(dir.filePath("a.svg").toStdString());
        pullAndEnter(a, b);
        dialogs.expectMessage();
        ASSERT_TRUE(waitUntilDone());
        areas.push_back(requests.back().area);
    }
    EXPECT_EQ(areas[0], areas[1]);
    // The second dialog offered the first export's file, with the image filters.
    std::vector<FileDialogOptions> shown;
    for (const ScriptedDialogs::Shown &d : dialogs.log)
        if (d.kind == ScriptedDialogs::Kind::SaveFile)
            shown.push_back(d.options);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].initialFile, "");
    EXPECT_EQ(shown[1].initialFile, dir.filePath("a.svg").toStdString());
    EXPECT_EQ(shown[1].title, "save image");
    EXPECT_EQ(shown[1].filter.rfind("Bitmap (*.bmp)|*.bmp|JPEG (*.jpg)|*.jpg|", 0), 0u);
    EXPECT_TRUE(
        shown[1].filter.ends_with("|PNG (*.png)|*.png|SVG (*.svg)|*.svg|PDF (*.pdf)|*.pdf"));
    EXPECT_EQ(areas[0].width(), 240);
    EXPECT_EQ(areas[0].height(), 140);
}

TEST_F(SaveImageTest, EnterOnAnEmptyAreaBeepsAndTheWindowCannotBeClosedBeforeIt)
{
    QTest::keyClick(window.get(), Qt::Key_Period);
    const ShownView before = shownView();
    chooseSaveImage(dir.filePath("a.bmp").toStdString());
    PrintSetupWindow *setup = command().printSetupWindow();
    ASSERT_NE(setup, nullptr);
    EXPECT_TRUE(window->lockedForExport());
    EXPECT_DOUBLE_EQ(window->view().zoomPct(), 50);
    EXPECT_FALSE(findControl<QWidget>(window.get(), "cmdFiles")->isEnabled());

    const std::vector<std::pair<QPoint, QPoint>> emptyPulls = {
        {kFrom, kFrom}, {kFrom, kFrom + QPoint(90, 0)}, {kFrom, kFrom + QPoint(0, 90)}};
    clickButton(setup, "cmdEnter"); // nothing pulled yet
    for (auto [a, b] : emptyPulls)
        pullAndEnter(a, b);
    EXPECT_EQ(dialogs.beeps, 4);
    setup->close();
    EXPECT_TRUE(setup->isVisible());
    EXPECT_EQ(command().qualityWindow(), nullptr);

    pullAndEnter(kFrom, kFrom + QPoint(60, 40));
    EXPECT_FALSE(setup->isVisible());
    command().qualityWindow()->close();
    ASSERT_TRUE(waitUntilDone());
    EXPECT_TRUE(requests.empty());
    EXPECT_FALSE(window->lockedForExport());
    EXPECT_EQ(shownView(), before);
}

struct QualityCase
{
    const char *option;
    int zoom;
    bool heavy; // the view list's "heavy" chosen first
};

class QualityChoice : public SaveImageTest, public ::testing::WithParamInterface<QualityCase>
{};

TEST_P(QualityChoice, GivesTheZoomAndTheViewComesBack)
{
    if (GetParam().heavy) {
        clickButton(window.get(), "cmdView");
        clickListItem(window.get(), "lstViews", 0);
    }
    const ShownView before = shownView();
    const QString path = dir.filePath("a.png");
    chooseSaveImage(path.toStdString());
    pullAndEnter(kFrom, kFrom + QPoint(50, 25));
    QualityWindow *quality = command().qualityWindow();
    ASSERT_NE(quality, nullptr);
    clickOption(quality, GetParam().option);
    dialogs.expectMessage("saved as:\n" + path.toStdString());
    clickButton(quality, "cmdOK");
    ASSERT_TRUE(waitUntilDone());
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].qualityZoom, GetParam().zoom);
    EXPECT_EQ(requests[0].heavy, GetParam().heavy);
    EXPECT_EQ(requests[0].format, ImageFormat::Png);
    EXPECT_EQ(requests[0].area.width(), 100);
    EXPECT_EQ(requests[0].area.height(), 50);
    EXPECT_EQ(shownView(), before);
}

INSTANTIATE_TEST_SUITE_P(SaveImage, QualityChoice,
                         ::testing::Values(QualityCase{"opt100", 1, false},
                                           QualityCase{"opt200", 2, true},
                                           QualityCase{"opt400", 4, false},
                                           QualityCase{"opt800", 8, true}));

class VectorFile : public SaveImageTest, public ::testing::WithParamInterface<const char *>
{};

TEST_P(VectorFile, IsExportedAtEnterWithoutTheQualityWindow)
{
    chooseSaveImage(dir.filePath(GetParam()).toStdString());
    dialogs.expectMessage();
    pullAndEnter(kFrom, kFrom + QPoint(50, 25));
    EXPECT_EQ(command().qualityWindow(), nullptr);
    ASSERT_TRUE(waitUntilDone());
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].qualityZoom, 2);
    EXPECT_EQ(classifyImagePath(requests[0].path), requests[0].format);
}

INSTANTIATE_TEST_SUITE_P(SaveImage, VectorFile,
                         ::testing::Values("a.emf", "a.wmf", "a.svg", "a.pdf"));

struct OutcomeCase
{
    ExportResult::Status status;
    const char *engineMessage;
    std::optional<std::string> shown; // "<path>" stands for the file's path
};

class Outcome : public SaveImageTest, public ::testing::WithParamInterface<OutcomeCase>
{};

TEST_P(Outcome, IsReportedAndTheEditorComesBackRedrawn)
{
    const ShownView before = shownView();
    const QString path = dir.filePath("a.jpg");
    engine = [&](const Document &, const ExportRequest &, ExportSink *) {
        return ExportResult{GetParam().status, QString(GetParam().engineMessage)};
    };
    chooseSaveImage(path.toStdString());
    pullAndEnter(kFrom, kFrom + QPoint(50, 25));
    if (GetParam().shown) {
        std::string text = *GetParam().shown;
        if (const auto at = text.find("<path>"); at != std::string::npos)
            text.replace(at, 6, path.toStdString());
        dialogs.expectMessage(text);
    }
    clickButton(command().qualityWindow(), "cmdOK");
    ASSERT_TRUE(waitUntilDone());
    EXPECT_EQ(shownView(), before);
    EXPECT_FALSE(window->lockedForExport());
    EXPECT_TRUE(findControl<QWidget>(window.get(), "cmdFiles")->isEnabled());
    // The canvas shows the tiling at the kept zoom again (a tile's inside).
    const QPoint inside(int(70 * window->view().zoom()), int(70 * window->view().zoom()));
    EXPECT_EQ(window->canvas()->surface().pixel(inside.x(), inside.y()), kTileColour);
}

INSTANTIATE_TEST_SUITE_P(
    SaveImage, Outcome,
    ::testing::Values(OutcomeCase{ExportResult::Status::Written, "", "saved as:\n<path>"},
                      OutcomeCase{ExportResult::Status::Failed, "file not saved\nx",
                                  "file not saved\nx"},
                      OutcomeCase{ExportResult::Status::Refused, "the image is too large",
                                  "the image is too large"},
                      OutcomeCase{ExportResult::Status::Cancelled, "", std::nullopt}));

TEST_F(SaveImageTest, CancelInTheStatusWindowEndsTheExportWithinABand)
{
    const ShownView before = shownView();
    int uncancelledRuns = 0;
    engine = [&](const Document &, const ExportRequest &, ExportSink *sink) {
        for (int band = 0; band < 1'000'000; ++band) {
            sink->progress(band / 1e6);
            if (sink->cancelled())
                return ExportResult{ExportResult::Status::Cancelled, {}};
        }
        ++uncancelledRuns;
        return ExportResult{ExportResult::Status::Written, {}};
    };
    // Clicks "cancel" as soon as the status window shows progress.
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, [&] {
        StatusWindow *status = command().statusWindow();
        if (status && status->isVisible())
            QTest::mouseClick(findControl<QPushButton>(status, "Command1"), Qt::LeftButton);
    });
    clicker.start(5);
    chooseSaveImage(dir.filePath("a.bmp").toStdString());
    pullAndEnter(kFrom, kFrom + QPoint(50, 25));
    clickButton(command().qualityWindow(), "cmdOK");
    ASSERT_TRUE(waitUntilDone());
    EXPECT_EQ(uncancelledRuns, 0);
    EXPECT_EQ(requests.size(), 1u);
    EXPECT_EQ(shownView(), before);
}

} // namespace
