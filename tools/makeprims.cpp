// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the starter library "primitives.mvl": a palette of shapes on each lattice,
// every corner on a lattice node, each ready for the transform editor.
#include "document/document.h"
#include "document/mvlformat.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <vector>

using namespace tessella;

namespace {

Colour rgb(int r, int g, int b)
{
    return r + 256 * g + 65536 * b;
}

struct Shape
{
    std::vector<Vertex> corners; // relative to the shape's anchor
    Colour colour;
};

void place(Document &doc, int16_t grid, const Shape &shape, double ax, double ay)
{
    std::vector<Vertex> corners;
    for (const Vertex &v : shape.corners)
        corners.push_back({v.x + ax, v.y + ay});
    Tile tile;
    tile.setCorners(corners);
    tile.grid = grid;
    tile.color = shape.colour;
    doc.appendTile(tile);
}

// Shapes for a square lattice of spacing s (nodes every s units).
std::vector<Shape> squareLatticeShapes(double s)
{
    return {
        {{{0, 0}, {2 * s, 0}, {2 * s, 2 * s}, {0, 2 * s}}, rgb(230, 120, 90)},  // square
        {{{0, 0}, {3 * s, 0}, {3 * s, 2 * s}, {0, 2 * s}}, rgb(240, 190, 90)},  // rectangle
        {{{0, 0}, {2 * s, 2 * s}, {0, 2 * s}}, rgb(150, 200, 110)},             // right triangle
        {{{s, 0}, {2 * s, 2 * s}, {0, 2 * s}}, rgb(90, 180, 170)},              // isosceles
        {{{s, 0}, {3 * s, 0}, {2 * s, 2 * s}, {0, 2 * s}}, rgb(110, 150, 220)}, // parallelogram
        {{{s, 0}, {2 * s, 2 * s}, {s, 4 * s}, {0, 2 * s}}, rgb(170, 130, 210)}, // rhombus
        {{{s, 0}, {2 * s, 0}, {3 * s, 2 * s}, {0, 2 * s}}, rgb(220, 130, 170)}, // trapezoid
        {{{s, 0}, {2 * s, s}, {s, 3 * s}, {0, s}}, rgb(200, 170, 120)},         // kite
        {{{s, 0}, {3 * s, 0}, {4 * s, s}, {3 * s, 2 * s}, {s, 2 * s}, {0, s}},
         rgb(120, 190, 230)}, // hexagon
    };
}

// Shapes for the triangular lattice of spacing 16.
std::vector<Shape> hexLatticeShapes()
{
    const double h = 8 * std::sqrt(3.0); // row height
    return {
        {{{16, 0}, {32, 0}, {40, h}, {32, 2 * h}, {16, 2 * h}, {8, h}},
         rgb(240, 200, 80)},                                       // hexagon
        {{{16, 0}, {24, h}, {8, h}}, rgb(110, 190, 140)},          // triangle
        {{{16, 0}, {32, 0}, {24, h}, {8, h}}, rgb(120, 140, 220)}, // rhombus
    };
}

void lay(Document &doc, int16_t grid, const std::vector<Shape> &shapes, double originX,
         double originY, double stepX)
{
    double x = originX;
    for (const Shape &shape : shapes) {
        place(doc, grid, shape, x, originY);
        x += stepX;
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: makeprims OUT\n");
        return 2;
    }
    Document doc;
    // Rectangular nodes lie at 8 + 16i; a step of 80 keeps shapes apart on nodes.
    lay(doc, GridRectangular, squareLatticeShapes(16), 40, 40, 80);
    // Center-face nodes include (24i, 24j).
    lay(doc, GridCenterFace, squareLatticeShapes(24), 48, 48, 120);
    // Even rows of the triangular lattice start at x = 16m; 4 rows down keeps parity.
    const double h = 8 * std::sqrt(3.0);
    lay(doc, GridHexagonal, hexLatticeShapes(), 32, 4 * h, 64);
    doc.curTile = 0;
    doc.grid = GridRectangular;

    const auto bytes = writeDocument(doc);
    if (!bytes) {
        std::fprintf(stderr, "makeprims: document could not be written\n");
        return 1;
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes->data()),
              static_cast<std::streamsize>(bytes->size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "makeprims: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
