// SPDX-License-Identifier: GPL-3.0-or-later
#include "tileeditor/view/viewrenderer.h"

#include "tileeditor/view/latticedrawer.h"

namespace tessella {

void renderView(Surface &surface, const Document &doc, const DrawSettings &settings,
                const ViewFrame &frame)
{
    surface.clearAll(kCanvasBackground);
    SurfaceBatch batch(surface);
    surface.setPenWidth(1);
    drawLattice(surface, settings.grid, frame.extentWidth, frame.extentHeight);
    surface.setPenWidth(frame.lineWidth);

    TilingDrawer drawer(surface, doc, settings);
    if (frame.picture) {
        frame.picture(drawer);
    } else {
        drawer.drawList();
    }
    drawer.drawNewTileOverlay(frame.newPts, frame.newCount);
    drawer.drawVertexSelection();
    surface.commitBackground();
}

} // namespace tessella
