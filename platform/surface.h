// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tessella {

// Packed colour: red + 256 * green + 65536 * blue.
using Colour = int32_t;

inline constexpr Colour kProbeColour = 0x010101; // RGB(1, 1, 1)
inline constexpr Colour kCanvasBackground = 0xf7f7f7;
inline constexpr Colour kInvalidColour = -1; // pixel() outside the surface

// Fill styles, as the drawing code stores them.
enum FillStyle : int {
    kFillSolid = 0,
    kFillTransparent = 1,
    kFillHorizontal = 2,
    kFillVertical = 3,
    kFillUpwardDiagonal = 4, // lines rising to the right
    kFillDownwardDiagonal = 5,
    kFillCross = 6,
    kFillDiagonalCross = 7,
};

// A point in canvas pixels.
struct PixelPoint
{
    int x = 0;
    int y = 0;
    friend bool operator==(const PixelPoint &, const PixelPoint &) = default;
};

// A box of canvas pixels, edges included.
struct PixelRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const PixelRect &, const PixelRect &) = default;
};

// A drawing target with a persistent background picture and a transient layer on top.
// Coordinates are canvas pixels, except setPoint/lineTo/line which take plane units and
// use the surface's scale: pixel = floor((plane - origin) * zoom). Non-finite or absurd
// plane coordinates are skipped, never drawn at a wrapped position.
class Surface
{
public:
    virtual ~Surface() = default;

    // Scale of the plane-unit calls: `zoom` pixels per plane unit, the plane point
    // (originX, originY) at canvas pixel (0, 0).
    virtual void setScale(double zoom, double originX = 0, double originY = 0) = 0;
    virtual double zoom() const = 0;
    virtual double originX() const = 0;
    virtual double originY() const = 0;

    // Erases the transient drawing: the surface shows the background picture again.
    virtual void clear() = 0;
    // The picture as it is now becomes the background picture.
    virtual void commitBackground() = 0;
    // Both layers become plain `background`.
    virtual void clearAll(Colour background) = 0;

    virtual void setPenColour(Colour colour) = 0;
    virtual Colour penColour() const = 0;
    virtual void setPenWidth(int pixels) = 0; // 1 .. 64
    virtual int penWidth() const = 0;
    virtual void setDashed(bool dashed) = 0;
    virtual bool dashed() const = 0;
    virtual void setFillColour(Colour colour) = 0;
    virtual Colour fillColour() const = 0;
    virtual void setFillStyle(int style) = 0; // FillStyle; unknown values fill nothing
    virtual int fillStyle() const = 0;

    // Closed polygon, filled with the fill colour and style by the alternate (odd-even)
    // rule and outlined with the pen.
    virtual void polygon(std::span<const PixelPoint> points) = 0;
    // Outline of an open polyline with the pen.
    virtual void polyline(std::span<const PixelPoint> points) = 0;
    // Ellipse in the box from (left, top) to (right, bottom), filled and outlined.
    virtual void ellipse(int left, int top, int right, int bottom) = 0;
    // A line between two pixel points in the pen (or the given) colour.
    virtual void linePixels(PixelPoint from, PixelPoint to) = 0;
    virtual void linePixels(PixelPoint from, PixelPoint to, Colour colour) = 0;

    // Plane-unit calls. setPoint sets the point and makes it the current position; lineTo
    // draws from the current position and moves it; line draws between two plane points and
    // leaves the current position at the second. The colour overloads leave the pen colour
    // as it was.
    virtual void setPoint(double x, double y) = 0;
    virtual void setPoint(double x, double y, Colour colour) = 0;
    virtual void lineTo(double x, double y) = 0;
    virtual void lineTo(double x, double y, Colour colour) = 0;
    virtual void line(double x1, double y1, double x2, double y2) = 0;
    virtual void line(double x1, double y1, double x2, double y2, Colour colour) = 0;

    // One canvas pixel; kInvalidColour outside the surface.
    virtual Colour pixel(int x, int y) const = 0;
    virtual void setPixel(int x, int y, Colour colour) = 0;

    // Between beginBatch and endBatch (they nest) a surface may keep its drawing state
    // open across calls; many small shapes then draw much faster. Reading pixels inside a
    // batch is allowed.
    virtual void beginBatch() {}
    virtual void endBatch() {}

    // The canvas pixels the surface keeps, edges included; nothing for a surface without
    // bounds. Drawing code uses it to skip shapes that cannot show.
    virtual std::optional<PixelRect> visibleArea() const { return std::nullopt; }
    // False only when nothing drawn inside the box (canvas pixels, edges included) can
    // reach a kept pixel.
    bool mayTouch(int left, int top, int right, int bottom) const
    {
        const std::optional<PixelRect> area = visibleArea();
        return !area || (right >= area->left && left <= area->right && bottom >= area->top &&
                         top <= area->bottom);
    }

    // Convenience for callers holding a vector.
    void polygon(const std::vector<PixelPoint> &points) { polygon(std::span(points)); }
};

// Keeps a surface in batch mode for a scope.
class SurfaceBatch
{
public:
    explicit SurfaceBatch(Surface &surface) : surface_(surface) { surface_.beginBatch(); }
    ~SurfaceBatch() { surface_.endBatch(); }
    SurfaceBatch(const SurfaceBatch &) = delete;
    SurfaceBatch &operator=(const SurfaceBatch &) = delete;

private:
    Surface &surface_;
};

} // namespace tessella
