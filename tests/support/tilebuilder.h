// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The one place tests build tiles and small documents; every test folder includes it as
// "tests/support/tilebuilder.h".

#include "document/document.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace tessella::test {

inline constexpr Colour kTileColour = 0x336699;

// An axis-aligned square's corners, clockwise on screen (y grows downwards) from (x, y).
inline std::vector<Vertex> squareCorners(double x, double y, double side)
{
    return {{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}};
}

// A regular polygon's corners around (cx, cy), the first straight right of the centre.
inline std::vector<Vertex> regularCorners(int n, double cx, double cy, double radius)
{
    std::vector<Vertex> out;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * std::numbers::pi * i / n;
        out.push_back({cx + radius * std::cos(a), cy + radius * std::sin(a)});
    }
    return out;
}

inline Tile polygonTile(const std::vector<Vertex> &corners, Colour colour = kTileColour,
                        int16_t grid = GridRectangular)
{
    Tile tile;
    tile.setCorners(corners);
    tile.color = colour;
    tile.grid = grid;
    return tile;
}

inline Tile squareTile(double x, double y, double side, Colour colour = kTileColour,
                       int16_t grid = GridRectangular)
{
    return polygonTile(squareCorners(x, y, side), colour, grid);
}

// The tile's corners 0 .. nVerts - 1 (without the spare closing element).
inline std::vector<Vertex> cornersOf(const Tile &tile)
{
    return {tile.verts.begin(), tile.verts.begin() + tile.usableVerts()};
}

// A document holding `tiles`, curTile 0, with the grid list on `grid`.
inline Document documentOf(std::vector<Tile> tiles, int16_t grid = GridRectangular)
{
    Document doc;
    doc.tiles = std::move(tiles);
    doc.grid = grid;
    return doc;
}

// n squares in a row at y = 10, one side apart, coloured firstColour, firstColour + 1, ...
inline Document squareRow(int n, double side, Colour firstColour, int16_t grid = GridRectangular)
{
    std::vector<Tile> tiles;
    for (int i = 0; i < n; ++i)
        tiles.push_back(squareTile(2 * side * i, 10, side, firstColour + i, grid));
    return documentOf(std::move(tiles), grid);
}

} // namespace tessella::test
