// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/export/exportsink.h"
#include "platform/imagesurface.h"
#include "tests/support/files.h"

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <functional>
#include <random>
#include <vector>

namespace tessella::test {

// The 1-2-1 smoothing written the plain way: every output pixel sums its clamped 3 x 3
// window channel by channel.
inline const auto referenceSmooth = [](const QImage &source) -> QImage {
    const int w = source.width(), h = source.height();
    QImage out((w + 1) / 2, (h + 1) / 2, QImage::Format_RGB32);
    const int weight[3] = {1, 2, 1};
    for (int oy = 0; oy < out.height(); ++oy)
        for (int ox = 0; ox < out.width(); ++ox) {
            int sum[3] = {0, 0, 0};
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const QRgb p = source.pixel(std::clamp(2 * ox + dx, 0, w - 1),
                                                std::clamp(2 * oy + dy, 0, h - 1));
                    const int k = weight[dx + 1] * weight[dy + 1];
                    sum[0] += qRed(p) * k, sum[1] += qGreen(p) * k, sum[2] += qBlue(p) * k;
                }
            out.setPixel(ox, oy, qRgb(sum[0] / 16, sum[1] / 16, sum[2] / 16));
        }
    return out;
};

// A drawing of random filled and outlined polygons over a `width` x `height` canvas, the
// same for every band it is asked for.
inline std::function<void(Surface &)> randomPolygons(int width, int height, unsigned seed,
                                                     int count = 40)
{
    return [=](Surface &surface) {
        std::mt19937 rng(seed);
        std::uniform_int_distribution<int> px(-20, width + 20), py(-20, height + 20);
        std::uniform_int_distribution<int> colour(0, 0xffffff), corners(3, 7);
        for (int i = 0; i < count; ++i) {
            std::vector<PixelPoint> points(std::size_t(corners(rng)));
            for (PixelPoint &p : points)
                p = {px(rng), py(rng)};
            surface.setPenColour(colour(rng)), surface.setFillColour(colour(rng));
            surface.setFillStyle(i % 5 == 0 ? kFillUpwardDiagonal : kFillSolid);
            surface.polygon(points);
        }
    };
}

// The whole picture drawn at once onto one surface.
inline const auto drawWhole = [](int width, int height, const std::function<void(Surface &)> &draw,
                                 int lineWidth = 1) -> QImage {
    ImageSurface surface(QSize(width, height), QPoint(0, 0), 0xffffff);
    surface.setPenWidth(lineWidth);
    draw(surface);
    return surface.image().convertToFormat(QImage::Format_RGB32);
};

// Records progress and cancels after a number of calls.
struct RecordingSink : ExportSink
{
    explicit RecordingSink(int cancelAfter = -1) : cancelAfter(cancelAfter) {}
    void progress(double fraction) override { fractions.push_back(fraction); }
    bool cancelled() override { return cancelAfter >= 0 && int(fractions.size()) >= cancelAfter; }
    std::vector<double> fractions;
    int cancelAfter;
};

} // namespace tessella::test
