// SPDX-License-Identifier: GPL-3.0-or-later
#include "tileeditor/view/tilingdrawer.h"

#include "document/colour.h"
#include "document/geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tessella {

TilingDrawer::TilingDrawer(Surface &surface, const Document &doc, const DrawSettings &settings)
    : surface_(surface), doc_(doc), settings_(settings)
{}

bool TilingDrawer::toPixels(std::span<const Vertex> points, std::vector<PixelPoint> &out) const
{
    out.clear();
    const double zoom = surface_.zoom();
    const double ox = surface_.originX();
    const double oy = surface_.originY();
    for (const Vertex &v : points) {
        const std::optional<PixelCoord> p = planeToPixelFloor(v.x, v.y, ox, oy, zoom);
        if (!p) {
            return false;
        }
        out.push_back({p->x, p->y});
    }
    return true;
}

bool TilingDrawer::visible(std::span<const PixelPoint> pixels) const
{
    if (pixels.empty()) {
        return false;
    }
    int left = pixels[0].x, right = left, top = pixels[0].y, bottom = top;
    for (const PixelPoint &p : pixels) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    // Room for the widest pen's half width and the rasteriser's rounding.
    const int margin = surface_.penWidth() + 2;
    return surface_.mayTouch(left - margin, top - margin, right + margin, bottom + margin);
}

bool TilingDrawer::clearlyOutside(std::span<const Vertex> points) const
{
    const std::optional<PixelRect> area = surface_.visibleArea();
    const double zoom = surface_.zoom();
    if (!area || !(zoom > 0) || !std::isfinite(zoom) || points.empty()) {
        return false;
    }
    // The kept pixels in plane units, widened by the pen and a pixel of rounding; a
    // comparison in doubles is far cheaper than converting every corner.
    const double margin = surface_.penWidth() + 3;
    const double left = surface_.originX() + (area->left - margin) / zoom;
    const double right = surface_.originX() + (area->right + margin) / zoom;
    const double top = surface_.originY() + (area->top - margin) / zoom;
    const double bottom = surface_.originY() + (area->bottom + margin) / zoom;
    bool allLeft = true, allRight = true, allAbove = true, allBelow = true;
    for (const Vertex &v : points) {
        allLeft = allLeft && v.x < left;
        allRight = allRight && v.x > right;
        allAbove = allAbove && v.y < top;
        allBelow = allBelow && v.y > bottom;
    }
    return allLeft || allRight || allAbove || allBelow;
}

Colour TilingDrawer::tileColour(const Tile &tile) const
{
    if (settings_.colorShiftOn) {
        return shiftColour(tile.color, settings_.hueShift, settings_.lightShift);
    }
    return tile.color;
}

void TilingDrawer::drawList()
{
    const std::vector<Tile> &tiles = doc_.tiles;
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        if (tiles[i].grid == settings_.grid) {
            drawTile(i);
        }
    }
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        if (tiles[i].grid == settings_.grid && tiles[i].sketchStart != 0) {
            drawSketch(i);
        }
    }
}

void TilingDrawer::exportPolygon(std::span<const PixelPoint> pixels, Colour penColour,
                                 Colour brushColour)
{
    VectorTarget &target = *settings_.vectorTarget;
    const VectorHandle brush = target.createSolidBrush(brushColour);
    const VectorHandle pen = target.createSolidPen(settings_.exportPenWidth, penColour);
    target.select(settings_.lines ? kStockBlackPen : pen);
    target.select(settings_.fills ? brush : kStockWhiteBrush);
    target.polygon(pixels);
    target.deleteObject(brush);
    target.deleteObject(pen);
}

void TilingDrawer::drawTile(std::size_t i)
{
    if (i >= doc_.tiles.size()) {
        return;
    }
    const Tile &tile = doc_.tiles[i];
    const std::span<const Vertex> corners(tile.verts.data(), std::size_t(tile.usableVerts()));
    if (!settings_.probePass && !settings_.vectorTarget && clearlyOutside(corners)) {
        return;
    }
    const Colour c = tileColour(tile);
    if (!toPixels(corners, pixels_) || pixels_.empty()) {
        return;
    }
    if (settings_.probePass) {
        surface_.setFillStyle(kFillSolid);
        surface_.polygon(std::span<const PixelPoint>(pixels_));
        return;
    }
    if (visible(pixels_)) {
        surface_.setPenColour(settings_.lines ? kBlack : c);
        surface_.setFillColour(settings_.fills ? c : kWhite);
        const bool hatch = tile.selected != 0 && !settings_.hitTesting;
        surface_.setFillStyle(hatch ? kFillUpwardDiagonal : kFillSolid);
        surface_.polygon(std::span<const PixelPoint>(pixels_));
        surface_.setFillStyle(kFillSolid);
    }
    if (settings_.vectorTarget) {
        exportPolygon(pixels_, c, c);
    }
}

bool TilingDrawer::placeSketchPoint(const Tile &tile, Vertex origin, Vertex p, double &x,
                                    double &y) const
{
    if (tile.reflected != 0) {
        p = reflectPoint(0, 0, p.x, p.y, std::numbers::pi / 2);
    }
    const Vertex q = rotatePoint(0, 0, p.x, p.y, tile.angle);
    x = q.x + origin.x;
    y = q.y + origin.y;
    if (settings_.rendering) {
        if (settings_.pointTransform) {
            settings_.pointTransform(x, y);
        }
        x = x * settings_.mapScale + settings_.mapCenterX;
        y = y * settings_.mapScale + settings_.mapCenterY;
    }
    return std::isfinite(x) && std::isfinite(y);
}

void TilingDrawer::drawPolylineItem(const Tile &tile, Vertex origin, const Sketch &item, Colour ic)
{
    const Colour lc = item.negative != 0 ? ic : kBlack;
    VectorTarget *target = settings_.vectorTarget;
    const double zoom = surface_.zoom();
    const double ox = surface_.originX();
    const double oy = surface_.originY();
    // After a point that cannot be placed the line starts afresh at the next one.
    bool penDown = false;
    for (int k = 0; k < item.usablePoints(); ++k) {
        double x = 0, y = 0;
        std::optional<PixelCoord> p;
        if (placeSketchPoint(tile, origin, item.points[std::size_t(k)], x, y)) {
            p = planeToPixelRound(x, y, ox, oy, zoom);
        }
        if (!p) {
            penDown = false;
            continue;
        }
        if (penDown) {
            surface_.lineTo(x, y, lc);
        } else {
            surface_.setPoint(x, y, lc);
        }
        if (target) {
            const VectorHandle pen = target->createSolidPen(settings_.exportPenWidth, lc);
            target->select(pen);
            if (penDown) {
                target->lineTo({p->x, p->y});
            } else {
                target->moveTo({p->x, p->y});
            }
            target->deleteObject(pen);
        }
        penDown = true;
    }
}

void TilingDrawer::drawPolygonItem(const Tile &tile, Vertex origin, const Sketch &item, Colour ic)
{
    points_.clear();
    for (int k = 0; k < item.usablePoints(); ++k) {
        double x = 0, y = 0;
        if (!placeSketchPoint(tile, origin, item.points[std::size_t(k)], x, y)) {
            return;
        }
        points_.push_back({x, y});
    }
    if (!toPixels(points_, pixels_) || pixels_.empty()) {
        return;
    }
    const Colour penColour = item.negative != 0 ? ic : kBlack;
    if (visible(pixels_)) {
        surface_.setFillStyle(item.fillStyle);
        surface_.setFillColour(ic);
        surface_.setPenColour(penColour);
        surface_.polygon(std::span<const PixelPoint>(pixels_));
        surface_.setFillStyle(kFillSolid);
    }
    if (settings_.vectorTarget) {
        exportPolygon(pixels_, penColour, ic);
    }
}

void TilingDrawer::drawSketch(std::size_t i)
{
    if (!settings_.sketches || i >= doc_.tiles.size()) {
        return;
    }
    const Tile &tile = doc_.tiles[i];
    if (tile.usableVerts() == 0) {
        return;
    }
    Vertex origin = tile.verts[0];
    if (settings_.rendering) {
        // The tile's own vertices hold mapped positions now.
        const std::vector<Tile> *snapshot = settings_.fractalSnapshot;
        if (!snapshot || i >= snapshot->size() || (*snapshot)[i].usableVerts() == 0) {
            return;
        }
        origin = (*snapshot)[i].verts[0];
    }
    // Only the part of the run that lies in 1 .. sketchCount is used; the stored values
    // stay as they are so that files round-trip.
    const std::vector<Sketch> &sketches = doc_.sketches;
    const int64_t sketchCount = sketches.empty() ? 0 : int64_t(sketches.size()) - 1;
    const int64_t start = tile.sketchStart;
    if (start <= 0 || start > sketchCount) {
        return;
    }
    const int64_t count = sketches[std::size_t(start)].count;
    if (count <= 0) {
        return;
    }
    const int64_t last = std::min(start + count - 1, sketchCount);
    const Colour ic = invertColor(tile.color);
    for (int64_t k = start; k <= last; ++k) {
        const Sketch &item = sketches[std::size_t(k)];
        if (item.kind == 0) {
            drawPolylineItem(tile, origin, item, ic);
        } else if (item.kind == 1) {
            drawPolygonItem(tile, origin, item, ic);
        }
    }
}

void drawDot(Surface &surface, double x, double y, int r, Colour c)
{
    const std::optional<PixelCoord> centre =
        planeToPixelRound(x, y, surface.originX(), surface.originY(), surface.zoom());
    if (!centre) {
        return;
    }
    surface.setPenColour(c);
    surface.setFillColour(c);
    r = std::clamp(r, 0, 4096);
    const int64_t left = int64_t(centre->x) - r, right = int64_t(centre->x) + r;
    const int64_t top = int64_t(centre->y) - r, bottom = int64_t(centre->y) + r;
    if (!surface.mayTouch(int(left) - 1, int(top) - 1, int(right) + 1, int(bottom) + 1)) {
        return;
    }
    surface.ellipse(int(left), int(top), int(right), int(bottom));
}

void TilingDrawer::drawNewtile(std::span<const Vertex> newPts, int newCount, double x, double y)
{
    surface_.clear();
    if (newPts.empty()) {
        return;
    }
    drawDot(newPts[0].x, newPts[0].y, 3, kRed);
    const int n = std::min<int>(newCount, int(std::min<std::size_t>(newPts.size(), 32767)));
    if (n <= 0) {
        return;
    }
    surface_.setPoint(newPts[0].x, newPts[0].y);
    for (int j = 1; j < n; ++j) {
        surface_.lineTo(newPts[std::size_t(j)].x, newPts[std::size_t(j)].y, kRed);
    }
    surface_.lineTo(x, y, kRed);
}

void TilingDrawer::drawNewTileOverlay(std::span<const Vertex> newPts, int newCount)
{
    const int n = std::min<int>(newCount, int(std::min<std::size_t>(newPts.size(), 32767)));
    if (n <= 0) {
        return;
    }
    drawDot(newPts[0].x, newPts[0].y, 1, kRed);
    for (int j = 1; j < n; ++j) {
        const Vertex &a = newPts[std::size_t(j - 1)];
        const Vertex &b = newPts[std::size_t(j)];
        surface_.line(a.x, a.y, b.x, b.y, kRed);
    }
}

void TilingDrawer::drawVertexSelection()
{
    for (const VertexRef &ref : doc_.vtxSel) {
        if (!doc_.hasTile(ref.tile)) {
            continue;
        }
        const Tile &tile = doc_.tiles[std::size_t(ref.tile)];
        if (ref.vertex < 0 || ref.vertex >= tile.usableVerts()) {
            continue;
        }
        const Vertex &v = tile.verts[std::size_t(ref.vertex)];
        drawDot(v.x, v.y, 2, kRed);
    }
}

void setAnchorFromTile(const Document &doc, std::size_t i, Vertex &anchor)
{
    if (i < doc.tiles.size() && doc.tiles[i].usableVerts() > 0) {
        anchor = doc.tiles[i].verts[0];
    }
}

void anchorFirstSelected(const Document &doc, int16_t grid, Vertex &anchor)
{
    for (std::size_t i = 0; i < doc.tiles.size(); ++i) {
        const Tile &tile = doc.tiles[i];
        if (tile.grid == grid && tile.selected != 0) {
            setAnchorFromTile(doc, i, anchor);
            return;
        }
    }
}

} // namespace tessella
