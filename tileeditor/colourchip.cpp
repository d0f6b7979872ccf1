// SPDX-License-Identifier: GPL-3.0-or-later
#include "tileeditor/colourchip.h"

#include "tileeditor/hittester.h"
#include "tileeditor/selection.h"

namespace tessella {

bool ColourChip::pressed(int button)
{
    if (button == 2) {
        if (const std::optional<Colour> chosen = getColor())
            colour_ = *chosen;
        return false;
    }
    armed_ = true;
    raised_ = false;
    return true;
}

std::optional<Colour> ColourChip::getColor()
{
    const std::optional<int32_t> chosen = ctx_.dialogs.chooseColor(colour_);
    if (!chosen)
        return std::nullopt;
    return Colour(*chosen & 0xffffff);
}

bool ColourChip::pick(double x, double y)
{
    Surface &canvas = ctx_.host.canvasSurface();
    HitTester tester(ctx_.doc, ctx_.host.drawSettings(), canvas, ctx_.host.tileBoxes());
    const std::optional<std::size_t> found = tester.foundTile(x, y);
    const std::optional<PixelPoint> p = canvasPixelAt(canvas, x, y);
    if (found && p)
        colour_ = pickedColour(canvas.pixel(p->x, p->y), ctx_.doc.tiles[*found].color);
    else
        ctx_.dialogs.beep();
    disarm();
    ctx_.host.refreshBackground();
    return found && p;
}

void ColourChip::disarm()
{
    armed_ = false;
    raised_ = true;
}

} // namespace tessella
