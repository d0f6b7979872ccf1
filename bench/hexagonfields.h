// SPDX-License-Identifier: GPL-3.0-or-later
// The hexagon documents the benchmarks draw, map and export.
#pragma once

#include "document/document.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace tessella {

// Regular hexagons of side 16 with their corners on the hexagonal lattice, column by
// column (columns 24 apart, every other one half a row down), about square overall.
// With `someSelected`, one tile in about 97 is selected, so hatching is drawn too.
inline Document latticeHexagons(int count, bool someSelected = false)
{
    const double h = 8 * std::sqrt(3.0);
    const int rows = int(std::ceil(std::sqrt(count * 24 / (2 * h))));
    Document doc;
    doc.tiles.reserve(std::size_t(count));
    for (int i = 0; int(doc.tiles.size()) < count; ++i) {
        for (int j = 0; j < rows && int(doc.tiles.size()) < count; ++j) {
            const double cx = 24.0 * i;
            const double cy = h * (2 * j + (i & 1));
            Tile tile;
            tile.setCorners({{cx - 16, cy},
                             {cx - 8, cy - h},
                             {cx + 8, cy - h},
                             {cx + 16, cy},
                             {cx + 8, cy + h},
                             {cx - 8, cy + h}});
            tile.grid = GridHexagonal;
            tile.color = Colour((i * 40503 + j * 9973) & 0xffffff);
            if (someSelected)
                tile.selected = (i + j) % 97 == 0 ? kTrue : kFalse;
            doc.tiles.push_back(tile);
        }
    }
    return doc;
}

// Rows of pointy-top hexagons, 100 to a row, large enough to cover a 1920 x 1080 area.
inline Document hexagonRows(int count, double radius = 11)
{
    const double width = std::sqrt(3.0) * radius;
    Document doc;
    doc.grid = GridHexagonal;
    for (int i = 0; i < count; ++i) {
        const int row = i / 100, col = i % 100;
        const double cx = col * width + (row % 2) * width / 2;
        const double cy = row * 1.5 * radius;
        std::vector<Vertex> corners;
        for (int k = 0; k < 6; ++k) {
            const double a = std::numbers::pi / 6 + k * std::numbers::pi / 3;
            corners.push_back({cx + radius * std::cos(a), cy + radius * std::sin(a)});
        }
        Tile tile;
        tile.setCorners(corners);
        tile.color = 0x3080c0 + 0x010203 * (i % 40);
        tile.grid = GridHexagonal;
        doc.tiles.push_back(std::move(tile));
    }
    return doc;
}

} // namespace tessella
