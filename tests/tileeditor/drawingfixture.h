// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/document.h"
#include "platform/imagesurface.h"
#include "platform/vectortarget.h"

#include <span>
#include <string>
#include <vector>

namespace tessella::test {

inline constexpr Colour kRgbRed = 0x0000ff;
inline constexpr Colour kRgbGreen = 0x00ff00;
inline constexpr Colour kRgbBlue = 0xff0000;

// An axis-aligned square tile on `grid`, corners clockwise from (x, y).
inline Tile squareTile(double x, double y, double side, Colour colour,
                       int16_t grid = GridRectangular)
{
    Tile tile;
    tile.setCorners({{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}});
    tile.color = colour;
    tile.grid = grid;
    return tile;
}

inline Sketch sketchItem(int16_t kind, std::vector<Vertex> points, int16_t count = 0)
{
    Sketch item;
    item.kind = kind;
    item.count = count;
    item.nPoints = static_cast<int16_t>(points.size());
    item.points = std::move(points);
    item.pointsAllocated = true;
    return item;
}

// Pixels of the box (edges included) of `surface` that have `colour`.
inline int countColour(const ImageSurface &surface, int left, int top, int right, int bottom,
                       Colour colour)
{
    int n = 0;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            n += surface.pixel(x, y) == colour ? 1 : 0;
        }
    }
    return n;
}

// A vector target that writes down every call and hands out increasing handles.
class RecordingTarget : public VectorTarget
{
public:
    VectorHandle createSolidPen(int width, Colour colour) override
    {
        calls.push_back("pen " + std::to_string(width) + " " + std::to_string(colour));
        ++live;
        return ++last;
    }
    VectorHandle createSolidBrush(Colour colour) override
    {
        calls.push_back("brush " + std::to_string(colour));
        ++live;
        return ++last;
    }
    void select(VectorHandle handle) override { calls.push_back("select " + name(handle)); }
    void polygon(std::span<const PixelPoint> points) override
    {
        std::string text = "polygon";
        for (const PixelPoint &p : points) {
            text += " " + std::to_string(p.x) + "," + std::to_string(p.y);
        }
        calls.push_back(text);
    }
    void moveTo(PixelPoint p) override
    {
        calls.push_back("moveTo " + std::to_string(p.x) + "," + std::to_string(p.y));
    }
    void lineTo(PixelPoint p) override
    {
        calls.push_back("lineTo " + std::to_string(p.x) + "," + std::to_string(p.y));
    }
    void deleteObject(VectorHandle handle) override
    {
        calls.push_back("delete " + name(handle));
        if (handle > 0) {
            --live;
        }
    }

    static std::string name(VectorHandle handle)
    {
        if (handle == kStockBlackPen) {
            return "blackPen";
        }
        if (handle == kStockWhiteBrush) {
            return "whiteBrush";
        }
        return "#" + std::to_string(handle);
    }

    std::vector<std::string> calls;
    int live = 0; // created and not yet deleted
    VectorHandle last = 0;
};

// An image surface that counts the shapes handed to it.
class CountingSurface : public ImageSurface
{
public:
    using ImageSurface::ImageSurface;
    using ImageSurface::polygon;
    void polygon(std::span<const PixelPoint> points) override
    {
        ++polygons;
        ImageSurface::polygon(points);
    }
    void ellipse(int left, int top, int right, int bottom) override
    {
        ++ellipses;
        ImageSurface::ellipse(left, top, right, bottom);
    }
    int polygons = 0;
    int ellipses = 0;
};

} // namespace tessella::test
