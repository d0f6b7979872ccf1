// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace tessella {

// Stored flags are 16-bit: 0 false, -1 true; code tests for non-zero.
inline constexpr int16_t kTrue = -1;
inline constexpr int16_t kFalse = 0;

// No table may hold more than this many records (indices are 16-bit).
inline constexpr int kMaxRecords = 32767;

// Packed colour: red + 256 * green + 65536 * blue.
using Colour = int32_t;

// A plane point in plane units (one unit is one canvas pixel at 100 %).
struct Vertex
{
    double x = 0;
    double y = 0;
    friend bool operator==(const Vertex &, const Vertex &) = default;
};

// One selected vertex: (tile index, vertex index).
struct VertexRef
{
    int16_t tile = 0;
    int16_t vertex = 0;
    friend bool operator==(const VertexRef &, const VertexRef &) = default;
};

// One polygon of the tiling. `verts` is the allocated vertex array: it may hold a
// spare element beyond nVerts (kept so that files round-trip byte for byte).
struct Tile
{
    int16_t nVerts = 0;
    std::vector<Vertex> verts;
    // An empty `verts` is written as "never allocated" unless this is set
    // (a zero-length block read from a file).
    bool vertsAllocated = false;
    double reflected = 0; // 1.0 when the sketch is still to be mirrored
    double angle = 0;     // radians still to be applied to the sketch
    Colour color = 0;
    int32_t sketchStart = 0; // 0: no sketch
    std::array<uint8_t, 16> reserved{};
    int16_t grid = 0;
    int16_t selected = 0;
    int16_t deleted = 0;

    // Vertices the polygon may safely use: never more than are stored.
    int usableVerts() const;
    // Replaces the corners, keeping a closing copy of the first as the spare element.
    void setCorners(const std::vector<Vertex> &corners);
    friend bool operator==(const Tile &, const Tile &) = default;
};

// One sketch item inside a tile: points relative to the tile's first vertex,
// before the tile's rotation and mirroring.
struct Sketch
{
    int16_t count = 0; // run length, read only in the first item of a run
    int16_t kind = 0;  // 0 open polyline, 1 closed polygon
    int16_t deletedMark = 0;
    int16_t fillStyle = 0; // 0 solid, 1 transparent
    int16_t field5 = 0;    // not interpreted; kept for round trips
    int16_t negative = 0;
    int16_t nPoints = 0;
    std::vector<Vertex> points;
    bool pointsAllocated = false;

    int usablePoints() const;
    friend bool operator==(const Sketch &, const Sketch &) = default;
};

// The saved form of one element of the transform editor's edge chain (68 bytes on disk).
struct NodeRecord
{
    int16_t anchored = 0;
    int16_t rotCenter = 0;
    int16_t refCenter = 0;
    double x = 0;
    double y = 0;
    int32_t lineColr = 0;
    int32_t ptColr = 0;
    int16_t nPoints = 0;
    int16_t fActive = 0;
    double fcpX = 0;
    double fcpY = 0;
    int16_t bActive = 0;
    double bcpX = 0;
    double bcpY = 0;
    friend bool operator==(const NodeRecord &, const NodeRecord &) = default;
};

} // namespace tessella
