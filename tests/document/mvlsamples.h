// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/document.h"
#include "document/mvlformat.h"
#include "tests/support/tilebuilder.h"

#include <cstdint>
#include <vector>

namespace tessella::testing {

inline const auto corner = [](double x, double y, int16_t anchored = kTrue,
                              int16_t nPoints = 2) -> NodeRecord {
    return {anchored, 0, 0, x, y, 0, 0, nPoints, 0, x + 1, y + 2, 0, x - 1, y - 2};
};

// A triangle chain with one added point on its first edge; the closing record sits
// on the first corner.
inline const auto triangleChain = []() -> std::vector<NodeRecord> {
    NodeRecord mid = corner(25, 10, kFalse, 5);
    mid.lineColr = 255, mid.ptColr = 16711680, mid.fActive = kTrue;
    return {corner(10, 10), mid, corner(40, 10), corner(25, 40), corner(10, 10)};
};

// A regular hexagon of side 16 centred on (ox + 8, oy + 13.9): a corner near (ox, oy).
inline const auto hexagonTile = [](double ox, double oy, Colour colour) -> Tile {
    return test::polygonTile(test::regularCorners(6, ox + 8, oy + 13.9, 16), colour, GridHexagonal);
};

// A document exercising every corner of the format: spare elements, a zero-length
// and a never-allocated vertex array, reserved bytes, field 5, an unreferenced sketch
// run, a sketch without points and a pending transform.
inline const auto sampleDocument = []() -> Document {
    Tile a = hexagonTile(100, 50, 0x3366cc);
    a.reserved = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    a.angle = 0.5, a.reflected = 1.0, a.selected = kTrue, a.sketchStart = 3;
    // clang-format off
    Document doc = test::documentOf({a, Tile{.verts = {}, .vertsAllocated = true, .color = 0x00ff00},
                                     Tile{.verts = {}, .color = 0x123456, .grid = GridRectangular}},
                                    GridHexagonal);
    doc.sketches = {Sketch{},
        {.count = 2, .kind = 1, .field5 = 77, .nPoints = 2, .points = {{1, 2}, {3, 4}, {1, 2}},
         .pointsAllocated = true},
        {.negative = kTrue, .points = {}},
        {.count = 1, .fillStyle = 1, .nPoints = 3, .points = {{0, 0}, {5, 5}, {10, 0}},
         .pointsAllocated = true}};
    // clang-format on
    doc.nodeRecs = triangleChain(), doc.xformOpen = true;
    doc.nodeRecs[3].refCenter = doc.xfReflected = kTrue;
    return doc;
};

// A document as it stands in the editor before a load: edited, with a selection and
// sketch items of its own, no transform pending.
inline const auto editedDocument = []() -> Document {
    Document doc = test::documentOf({hexagonTile(0, 0, 0x0000ff), hexagonTile(50, 0, 0x00ff00)},
                                    GridCenterFace);
    doc.curTile = 1, doc.vtxSel = {{1, 3}}, doc.dirty = true, doc.appendSketchRun({Sketch{}});
    return doc;
};

inline const auto bytesOf = [](const Document &doc) -> std::vector<uint8_t> {
    return writeDocument(doc).value_or(std::vector<uint8_t>{});
};

} // namespace tessella::testing
