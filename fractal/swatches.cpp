// SPDX-License-Identifier: GPL-3.0-or-later
#include "fractal/swatches.h"

#include "document/colour.h"
#include "document/numeric.h"

namespace tessella {

namespace {

QImage blankStrip()
{
    QImage image(kSwatchWidth, kSwatchHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

void column(QImage &image, int x, Colour c)
{
    if (x < 0 || x >= image.width())
        return;
    const QRgb rgb = qRgb(redOf(c), greenOf(c), blueOf(c));
    for (int y = 0; y < image.height(); ++y)
        image.setPixel(x, y, rgb);
}

// Shifts are slider values 0 .. 360; anything else is folded into that turn.
int wrap(long long v)
{
    return int(((v % 360) + 360) % 360);
}

} // namespace

SwatchStrips paintSwatches(int hueShift, int lightShift)
{
    SwatchStrips s{blankStrip(), blankStrip(), blankStrip(), blankStrip()};
    for (int i = 0; i <= 360; i += 2) {
        const Colour c = hsvToRgb(i, 100, 100);
        column(s.colrFrom, i / 2, c);
        column(s.colrTo, wrap((long long)hueShift + i) / 2, c);
        double v = i / 1.8;
        if (i > 180)
            v = 200 - v;
        const Colour g = hsvToRgb(0, 0, int(roundHalfEven(v)));
        column(s.valFrom, i / 2, g);
        column(s.valTo, wrap((long long)i + lightShift) / 2, g);
    }
    return s;
}

} // namespace tessella
