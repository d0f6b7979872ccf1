// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/export/exportsink.h"
#include "platform/fileio.h"
#include "platform/imagesurface.h"
#include "tests/support/files.h"

#include <QImageReader>
#include <QTemporaryDir>
#include <QtEndian>

#include <functional>

namespace tessella::test {

inline const auto readImage = [](const QString &path) {
    return QImageReader(path).read().convertToFormat(QImage::Format_RGB32);
};
// Little-endian fields of a file's bytes.
const auto u32At = [](const auto &b, auto i) { return qFromLittleEndian<uint32_t>(b.data() + i); };
const auto u16At = [](const auto &b, auto i) { return qFromLittleEndian<uint16_t>(b.data() + i); };

// The 1-2-1 smoothing written the plain way: every output pixel sums its clamped 3 x 3
// window channel by channel.
inline const auto referenceSmooth = [](const QImage &source) -> QImage {
    const int w = source.width(), h = source.height();
    QImage out((w + 1) / 2, (h + 1) / 2, QImage::Format_RGB32);
    for (int oy = 0; oy < out.height(); ++oy)
        for (int ox = 0; ox < out.width(); ++ox) {
            int sum[3] = {0, 0, 0};
            for (int d = 0; d < 9; ++d) { // weights 1, 2, 1 both ways
                const int dx = d % 3 - 1, dy = d / 3 - 1, k = (2 - dx * dx) * (2 - dy * dy);
                const QRgb p = source.pixel(std::clamp(2 * ox + dx, 0, w - 1),
                                            std::clamp(2 * oy + dy, 0, h - 1));
                sum[0] += qRed(p) * k, sum[1] += qGreen(p) * k, sum[2] += qBlue(p) * k;
            }
            out.setPixel(ox, oy, qRgb(sum[0] / 16, sum[1] / 16, sum[2] / 16));
        }
    return out;
};

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
