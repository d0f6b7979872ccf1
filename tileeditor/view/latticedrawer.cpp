// SPDX-License-Identifier: GPL-3.0-or-later
#include "tileeditor/view/latticedrawer.h"

#include "document/geometry.h"
#include "document/lattice.h"
#include "tileeditor/view/tilingdrawer.h"

#include <cmath>
#include <limits>
#include <optional>

namespace tessella {

void drawLattice(Surface &surface, int16_t grid, double width, double height)
{
    const double zoom = surface.zoom();
    const double ox = surface.originX();
    const double oy = surface.originY();
    if (!(zoom > 0) || !std::isfinite(zoom)) {
        return;
    }
    // The kept pixels back in plane units, widened by the dot radius and a pixel of
    // rounding on each side.
    double left = -std::numeric_limits<double>::infinity();
    double top = left;
    double right = std::numeric_limits<double>::infinity();
    double bottom = right;
    if (const std::optional<PixelRect> area = surface.visibleArea()) {
        left = ox + (double(area->left) - 2) / zoom;
        top = oy + (double(area->top) - 2) / zoom;
        right = ox + (double(area->right) + 3) / zoom;
        bottom = oy + (double(area->bottom) + 3) / zoom;
    }
    forEachLatticeMarkIn(grid, width, height, left, top, right, bottom,
                         [&](const LatticeMark &mark) {
                             if (mark.dot) {
                                 drawDot(surface, mark.x, mark.y, 1, kBlack);
                             } else if (const std::optional<PixelCoord> p =
                                            planeToPixelFloor(mark.x, mark.y, ox, oy, zoom)) {
                                 surface.setPixel(p->x, p->y, kBlack);
                             }
                         });
}

} // namespace tessella
