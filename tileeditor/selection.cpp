// SPDX-License-Identifier: GPL-3.0-or-later
#include "tileeditor/selection.h"

#include "tileeditor/hittester.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

namespace tessella {

namespace {

constexpr double kVertexReach = 4; // plane units on each axis, exclusive

uint32_t refKey(int16_t t, int16_t v)
{
    return (uint32_t(uint16_t(t)) << 16) | uint16_t(v);
}

} // namespace

bool Marquee::contains(const Vertex &v) const
{
    const double left = std::min(x1, x2), right = std::max(x1, x2);
    const double top = std::min(y1, y2), bottom = std::max(y1, y2);
    return left < v.x && v.x < right && top < v.y && v.y < bottom;
}

bool inclusionTestT(const Document &doc, int16_t grid, const Marquee &marquee, std::size_t t)
{
    if (t >= doc.tiles.size() || doc.tiles[t].grid != grid)
        return false;
    const Tile &tile = doc.tiles[t];
    for (int j = 0; j < tile.usableVerts(); ++j) {
        if (marquee.contains(tile.verts[std::size_t(j)]))
            return true;
    }
    return false;
}

namespace {

std::unordered_set<uint32_t> selectedKeys(const Document &doc)
{
    std::unordered_set<uint32_t> keys;
    for (const VertexRef &ref : doc.vtxSel)
        keys.insert(refKey(ref.tile, ref.vertex));
    return keys;
}

// `selected` holds the keys of the selection and gains those appended.
int appendVerticesInMarquee(Document &doc, int16_t grid, const Marquee &marquee, std::size_t t,
                            std::unordered_set<uint32_t> &selected)
{
    if (t >= doc.tiles.size() || t > std::size_t(kMaxRecords) || doc.tiles[t].grid != grid)
        return 0;
    const Tile &tile = doc.tiles[t];
    int added = 0;
    for (int j = 0; j < tile.usableVerts(); ++j) {
        if (!marquee.contains(tile.verts[std::size_t(j)]))
            continue;
        const VertexRef ref{int16_t(t), int16_t(j)};
        // A vertex selected twice would be dragged twice as far.
        if (!selected.insert(refKey(ref.tile, ref.vertex)).second)
            continue;
        if (!doc.appendVertexRef(ref))
            break;
        ++added;
    }
    return added;
}

} // namespace

int selectVerticesInMarquee(Document &doc, int16_t grid, const Marquee &marquee, std::size_t t)
{
    std::unordered_set<uint32_t> selected = selectedKeys(doc);
    return appendVerticesInMarquee(doc, grid, marquee, t, selected);
}

std::optional<std::size_t> findVertexRef(const Document &doc, int16_t t, int16_t v)
{
    const VertexRef wanted{t, v};
    for (std::size_t i = 0; i < doc.vtxSel.size(); ++i) {
        if (doc.vtxSel[i] == wanted)
            return i;
    }
    return std::nullopt;
}

void removeVertexRef(Document &doc, std::size_t i)
{
    if (i < doc.vtxSel.size())
        doc.vtxSel.erase(doc.vtxSel.begin() + std::ptrdiff_t(i));
}

bool toggleVerticesNear(Document &doc, int16_t grid, double x, double y)
{
    const std::size_t before = doc.vtxSel.size();
    const std::size_t last = std::min<std::size_t>(doc.tiles.size(), std::size_t(kMaxRecords) + 1);
    for (std::size_t t = 0; t < last; ++t) {
        const Tile &tile = doc.tiles[t];
        if (tile.grid != grid)
            continue;
        for (int j = 0; j < tile.usableVerts(); ++j) {
            const Vertex &v = tile.verts[std::size_t(j)];
            if (!(std::fabs(v.x - x) < kVertexReach && std::fabs(v.y - y) < kVertexReach))
                continue;
            if (const auto i = findVertexRef(doc, int16_t(t), int16_t(j)))
                removeVertexRef(doc, *i);
            else
                doc.appendVertexRef({int16_t(t), int16_t(j)});
        }
    }
    return doc.vtxSel.size() != before;
}

void selectAllTiles(Document &doc, int16_t grid)
{
    for (Tile &tile : doc.tiles) {
        if (tile.grid == grid)
            tile.selected = kTrue;
    }
}

void selectNoTiles(Document &doc, int16_t grid)
{
    for (Tile &tile : doc.tiles) {
        if (tile.grid == grid)
            tile.selected = kFalse;
    }
    doc.vtxSel.clear();
}

void invertTileSelection(Document &doc, int16_t grid)
{
    for (Tile &tile : doc.tiles) {
        if (tile.grid == grid)
            tile.selected = tile.selected != 0 ? kFalse : kTrue;
    }
}

void selectTilesByColour(Document &doc, int16_t grid, Colour colour)
{
    for (Tile &tile : doc.tiles) {
        if (tile.grid == grid && tile.color == colour)
            tile.selected = kTrue;
    }
}

Colour pickedColour(Colour shown, Colour tileColour)
{
    return shown == kCanvasBackground || shown == kProbeColour ? tileColour : shown;
}

void SelectionTool::pressTile(double x, double y)
{
    HitTester tester(ctx_.doc, ctx_.host.drawSettings(), ctx_.host.canvasSurface(),
                     ctx_.host.tileBoxes());
    if (!groupTile(ctx_.doc, tester, x, y)) {
        ctx_.dialogs.beep();
        return;
    }
    ctx_.host.refreshBackground();
}

void SelectionTool::pressByColor(double x, double y)
{
    Surface &canvas = ctx_.host.canvasSurface();
    HitTester tester(ctx_.doc, ctx_.host.drawSettings(), canvas, ctx_.host.tileBoxes());
    const std::optional<std::size_t> found = tester.foundTile(x, y);
    const std::optional<PixelPoint> p = canvasPixelAt(canvas, x, y);
    if (!found || !p) {
        ctx_.dialogs.beep();
        return;
    }
    const Colour c = pickedColour(canvas.pixel(p->x, p->y), ctx_.doc.tiles[*found].color);
    selectTilesByColour(ctx_.doc, grid(), c);
    ctx_.host.refreshBackground();
}

void SelectionTool::pressVertex(double x, double y)
{
    if (!toggleVerticesNear(ctx_.doc, grid(), x, y)) {
        ctx_.dialogs.beep();
        return;
    }
    ctx_.host.refreshBackground();
}

void SelectionTool::startMarquee(double x, double y)
{
    marquee_ = {x, y, x, y};
    marqueeActive_ = true;
    ctx_.host.refreshBackground();
}

void SelectionTool::drawMarquee(double x, double y)
{
    if (!marqueeActive_)
        return;
    Surface &canvas = ctx_.host.canvasSurface();
    canvas.clear();
    marquee_.x2 = x;
    marquee_.y2 = y;
    const int fillStyle = canvas.fillStyle();
    canvas.setFillStyle(kFillTransparent);
    const Marquee &m = marquee_;
    canvas.line(m.x1, m.y1, x, m.y1, kRed);
    canvas.lineTo(x, y, kRed);
    canvas.lineTo(m.x1, y, kRed);
    canvas.lineTo(m.x1, m.y1, kRed);
    canvas.setFillStyle(fillStyle);
    ctx_.host.previewsDrawn();
}

void SelectionTool::endMarquee(double x, double y, bool vertices)
{
    if (!marqueeActive_)
        return;
    marqueeActive_ = false;
    marquee_.x2 = x;
    marquee_.y2 = y;
    const int16_t g = grid();
    std::unordered_set<uint32_t> selected;
    if (vertices)
        selected = selectedKeys(ctx_.doc);
    for (std::size_t t = 0; t < ctx_.doc.tiles.size(); ++t) {
        if (vertices)
            appendVerticesInMarquee(ctx_.doc, g, marquee_, t, selected);
        else if (inclusionTestT(ctx_.doc, g, marquee_, t))
            ctx_.doc.tiles[t].selected = kTrue;
    }
    ctx_.host.refreshBackground();
}

} // namespace tessella
