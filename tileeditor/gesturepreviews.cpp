// SPDX-License-Identifier: GPL-3.0-or-later
// The drag previews of the tile gestures, drawn on the canvas's transient layer.
#include "tileeditor/tilegestures.h"

#include "document/geometry.h"

#include <vector>

namespace tessella {

namespace {

// Outline of the tile's corners displaced by `delta` (only corner `only` when given),
// in the current pen colour and fill style.
void outlineDisplaced(Surface &canvas, const Tile &tile, Vertex delta, int only = -1)
{
    std::vector<PixelPoint> pixels;
    for (int j = 0; j < tile.usableVerts(); ++j) {
        Vertex v = tile.verts[std::size_t(j)];
        if (only < 0 || only == j) {
            v.x += delta.x;
            v.y += delta.y;
        }
        const std::optional<PixelCoord> p =
            planeToPixelFloor(v.x, v.y, canvas.originX(), canvas.originY(), canvas.zoom());
        if (!p)
            return;
        pixels.push_back({p->x, p->y});
    }
    if (!pixels.empty())
        canvas.polygon(pixels);
}

// Clears the transient layer and draws with a transparent fill; the pen colour and a
// solid fill come back afterwards.
class PreviewScope
{
public:
    explicit PreviewScope(Surface &canvas) : canvas_(canvas), pen_(canvas.penColour())
    {
        canvas_.clear();
        canvas_.setFillStyle(kFillTransparent);
    }
    ~PreviewScope()
    {
        canvas_.setPenColour(pen_);
        canvas_.setFillStyle(kFillSolid);
    }
    PreviewScope(const PreviewScope &) = delete;
    PreviewScope &operator=(const PreviewScope &) = delete;

private:
    Surface &canvas_;
    Colour pen_;
};

} // namespace

void TileGestures::previewDrag(Vertex delta)
{
    const bool placing = !rotating() || gesturePhase_ == 2;
    if (action_ == (kind_ == Kind::Tile ? int(TileVertex) : int(GroupVertex)))
        previewVertexDrag(delta);
    else if (kind_ == Kind::Group && placing)
        previewGroupDrag(delta);
    else if (kind_ == Kind::Tile && placing)
        previewTileDrag(delta);
}

void TileGestures::previewTileDrag(Vertex delta)
{
    Surface &canvas = ctx_.host.canvasSurface();
    {
        PreviewScope scope(canvas);
        if (gestureTileValid()) {
            canvas.setPenColour(kRed);
            outlineDisplaced(canvas, ctx_.doc.tiles[std::size_t(rotation_.gestureTile)], delta);
        }
    }
    ctx_.host.previewsDrawn();
}

void TileGestures::previewGroupDrag(Vertex delta)
{
    Surface &canvas = ctx_.host.canvasSurface();
    {
        PreviewScope scope(canvas);
        for (const Tile &tile : ctx_.doc.tiles) {
            if (!inGroup(tile))
                continue;
            canvas.setPenColour(tile.color);
            outlineDisplaced(canvas, tile, delta);
        }
    }
    ctx_.host.previewsDrawn();
}

void TileGestures::previewVertexDrag(Vertex delta)
{
    Surface &canvas = ctx_.host.canvasSurface();
    const Document &doc = ctx_.doc;
    const int16_t g = grid();
    {
        PreviewScope scope(canvas);
        canvas.setPenColour(kRed);
        for (const VertexRef &ref : doc.vtxSel) {
            if (!doc.hasTile(ref.tile))
                continue;
            const Tile &tile = doc.tiles[std::size_t(ref.tile)];
            if (tile.grid != g || ref.vertex < 0 || ref.vertex >= tile.usableVerts())
                continue;
            outlineDisplaced(canvas, tile, delta, ref.vertex);
        }
    }
    ctx_.host.previewsDrawn();
}

} // namespace tessella
