// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/document.h"
#include "document/records.h"
#include "platform/surface.h"
#include "platform/vectortarget.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace tessella {

inline constexpr Colour kRed = 255;
inline constexpr Colour kBlack = 0;
inline constexpr Colour kWhite = 0xffffff;

// What the drawing reads besides the document and the surface's scale.
struct DrawSettings
{
    int16_t grid = GridRectangular; // the grid list's current index

    // The view list ("lines", "fills", "sketches"; "heavy" only sets the line width).
    bool lines = true;
    bool fills = true;
    bool sketches = true;

    // Colour shifts of the fractal panel.
    bool colorShiftOn = false;
    int hueShift = 0;
    double lightShift = 0;

    // A pixel hit test is running: a tile redrawn in its own colour gets no hatch.
    bool hitTesting = false;
    // The probe pass of a hit test: drawTile paints the bare polygon in the surface's
    // current pen and fill colour. Keyed on this flag, never on the colour, so a tile that
    // happens to be RGB(1, 1, 1) draws normally.
    bool probePass = false;

    // Vector export is on while a target is set; every polygon and sketch line is drawn
    // into it as well, in pixel points.
    VectorTarget *vectorTarget = nullptr;
    int exportPenWidth = 1;

    // Fractal rendering: the tiles hold mapped vertices, so sketches are placed from the
    // unmapped tiles in `fractalSnapshot`, passed through `pointTransform` and put at
    // x * mapScale + mapCenterX, y * mapScale + mapCenterY (surface plane units).
    bool rendering = false;
    std::function<void(double &x, double &y)> pointTransform;
    double mapScale = 1;
    double mapCenterX = 0;
    double mapCenterY = 0;
    const std::vector<Tile> *fractalSnapshot = nullptr;
};

// Filled circle of radius r pixels in colour c (pen and fill colour are left at c) centred
// on the plane point (x, y), in the surface's current fill style. The centre is taken as
// (x - originX) * zoom, rounded, so dots stay put in an export band too.
void drawDot(Surface &surface, double x, double y, int r, Colour c);

// Draws the tiling of one grid onto a surface, in the surface's scale: pixel =
// floor((plane - origin) * zoom). Shapes whose pixels lie outside the surface's kept
// area are skipped on the surface (never in the vector target); non-finite coordinates
// skip the shape. Table indices are checked: a stale index draws nothing.
class TilingDrawer
{
public:
    TilingDrawer(Surface &surface, const Document &doc, const DrawSettings &settings = {});

    DrawSettings &settings() { return settings_; }
    const DrawSettings &settings() const { return settings_; }
    Surface &surface() { return surface_; }

    // Every tile of the current grid in index order, then their sketches.
    void drawList();
    // Tile i's polygon (or, in the probe pass, its bare shape).
    void drawTile(std::size_t i);
    // Tile i's sketch items (only with "sketches" on).
    void drawSketch(std::size_t i);

    // The "new tile" rubber band: clears the transient layer, a red dot at point 0 and
    // red lines through the first newCount points to the pointer (x, y).
    void drawNewtile(std::span<const Vertex> newPts, int newCount, double x, double y);
    // Filled circle of radius r pixels in colour c centred on the plane point (x, y).
    void drawDot(double x, double y, int r, Colour c) { tessella::drawDot(surface_, x, y, r, c); }

    // Overlays of the full redraw: the points of a tile being entered, then a red dot at
    // every selected vertex (entries naming no vertex are skipped).
    void drawNewTileOverlay(std::span<const Vertex> newPts, int newCount);
    void drawVertexSelection();

    // Pixel polygon of the points under the surface's scale; false when a coordinate is
    // not finite (the shape is then skipped).
    bool toPixels(std::span<const Vertex> points, std::vector<PixelPoint> &out) const;

private:
    Colour tileColour(const Tile &tile) const;
    // Sketch point k of an item, in surface plane units; false when not finite.
    bool placeSketchPoint(const Tile &tile, Vertex origin, Vertex p, double &x, double &y) const;
    void drawPolylineItem(const Tile &tile, Vertex origin, const Sketch &item, Colour ic);
    void drawPolygonItem(const Tile &tile, Vertex origin, const Sketch &item, Colour ic);
    bool visible(std::span<const PixelPoint> pixels) const;
    // True when no corner can reach the kept pixels (a quick test in plane units).
    bool clearlyOutside(std::span<const Vertex> points) const;
    void exportPolygon(std::span<const PixelPoint> pixels, Colour penColour, Colour brushColour);

    Surface &surface_;
    const Document &doc_;
    DrawSettings settings_;
    std::vector<PixelPoint> pixels_; // reused polygon buffer
    std::vector<Vertex> points_;     // reused sketch buffer
};

// Gesture anchors: tile i's vertex 0; the first selected tile of `grid`. Both leave
// `anchor` unchanged when there is no such vertex.
void setAnchorFromTile(const Document &doc, std::size_t i, Vertex &anchor);
void anchorFirstSelected(const Document &doc, int16_t grid, Vertex &anchor);

} // namespace tessella
