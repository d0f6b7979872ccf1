// SPDX-License-Identifier: GPL-3.0-or-later
// "save image" end to end: the real windows and the real export engine write files that
// are read back here.
#include "saveimagefixture.h"

#include "platform/imagesurface.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QTimer>

using namespace tessella;
using namespace tessella::test;

namespace {

// At 50 % a widget pixel is two plane units: (10, 10) .. (60, 35) pulls the area from
// (20, 20) to (120, 70), 100 x 50 plane units.
const QPoint kAreaFrom(10, 10);
const QPoint kAreaTo(60, 35);

struct RasterCase
{
    const char *file;
    const char *option;
    int scale; // file pixels per plane unit: the zoom, halved by the smoothing above 1
};

class RasterExport : public SaveImageTest, public ::testing::WithParamInterface<RasterCase>
{};

TEST_P(RasterExport, WritesTheAreaAtTheQualitysScale)
{
    engine = exportImage;
    const QString path = dir.filePath(GetParam().file);
    chooseSaveImage(path.toStdString());
    pullAndEnter(kAreaFrom, kAreaTo);
    dialogs.expectMessage("saved as:\n" + path.toStdString());
    chooseQuality(GetParam().option);
    ASSERT_TRUE(waitUntilDone());

    const QImage image(path);
    ASSERT_FALSE(image.isNull());
    const int s = GetParam().scale;
    EXPECT_EQ(image.size(), QSize(100 * s, 50 * s));
    // Plane points inside the first and second tile and outside both; the file's corner
    // is the area's corner (20, 20).
    auto at = [&](int x, int y) { return image.pixel((x - 20) * s, (y - 20) * s); };
    EXPECT_EQ(at(60, 50), toQColor(kTileColour).rgb());
    EXPECT_EQ(at(110, 50), toQColor(0x00aa00).rgb());
    EXPECT_EQ(at(22, 22), qRgb(255, 255, 255));
}

INSTANTIATE_TEST_SUITE_P(SaveImage, RasterExport,
                         ::testing::Values(RasterCase{"a.png", "opt200", 1},
                                           RasterCase{"a.bmp", "opt100", 1},
                                           RasterCase{"a.png", "opt400", 2}));

TEST_F(SaveImageTest, CancelledPosterWritesNothingAndLeavesTheOldFile)
{
    engine = exportImage;
    const auto before = shownView();
    const QString path = dir.filePath("poster.jpg");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old picture") == 11 && old.flush());
    old.close();
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, [&] {
        StatusWindow *status = command().statusWindow();
        if (status && status->isVisible())
            QTest::mouseClick(findControl<QPushButton>(status, "Command1"), Qt::LeftButton);
    });
    clicker.start(5);
    chooseSaveImage(path.toStdString());
    pullAndEnter(QPoint(5, 5), QPoint(600, 450)); // 1190 x 890 units, 9520 x 7120 pixels
    chooseQuality("opt800");
    ASSERT_TRUE(waitUntilDone());
    ASSERT_EQ(requests.size(), 1u);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("old picture"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    EXPECT_EQ(shownView(), before);
}

} // namespace
