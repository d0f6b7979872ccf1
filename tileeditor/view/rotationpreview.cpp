// SPDX-License-Identifier: GPL-3.0-or-later
#include "tileeditor/view/rotationpreview.h"

#include "document/geometry.h"
#include "document/numeric.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace tessella {

namespace {

constexpr Colour kOutlineRed = 255;
constexpr Colour kOutlineBlack = 0;

} // namespace

std::string rotationLabel(double angle)
{
    const std::optional<int> degrees =
        roundToInt(-angle * 180 / std::numbers::pi, -1000000000, 1000000000);
    return std::to_string(degrees.value_or(0)) + kDegreeSign;
}

void RotationPreview::start(int tile, Vertex centre)
{
    gestureTile = tile;
    gestureCenter = centre;
    rotAngle = 0;
    lastAngle = 0;
    label_ = rotationLabel(0);
}

bool RotationPreview::prepare(bool commit, bool spaceDown)
{
    if (!std::isfinite(rotAngle)) {
        return false;
    }
    if (!spaceDown) {
        const double steps = rotAngle * 12 / std::numbers::pi;
        rotAngle = rotAngle - (steps - std::floor(steps)) * std::numbers::pi / 12;
        if (rotAngle == lastAngle && !commit) {
            return false;
        }
    }
    lastAngle = rotAngle;
    label_ = rotationLabel(rotAngle);
    return true;
}

void RotationPreview::turnTile(Tile &tile, Surface &surface, bool commit)
{
    const double zoom = surface.zoom();
    const double ox = surface.originX();
    const double oy = surface.originY();
    std::vector<PixelPoint> pixels;
    bool finite = true;
    for (int j = 0; j < tile.usableVerts(); ++j) {
        Vertex &v = tile.verts[std::size_t(j)];
        const Vertex turned = rotatePoint(gestureCenter.x, gestureCenter.y, v.x, v.y, rotAngle);
        const std::optional<PixelCoord> p = planeToPixelFloor(turned.x, turned.y, ox, oy, zoom);
        if (p) {
            pixels.push_back({p->x, p->y});
        } else {
            finite = false;
        }
        if (commit) {
            v = turned;
        }
    }
    if (commit) {
        tile.angle += rotAngle;
    }
    if (finite && !pixels.empty()) {
        surface.polygon(std::span<const PixelPoint>(pixels));
    }
}

bool RotationPreview::previewTileRotation(Document &doc, Surface &surface, bool commit,
                                          bool spaceDown)
{
    if (!doc.hasTile(gestureTile) || !prepare(commit, spaceDown)) {
        return false;
    }
    surface.clear();
    surface.setFillStyle(kFillTransparent);
    surface.setPenColour(kOutlineRed);
    turnTile(doc.tiles[std::size_t(gestureTile)], surface, commit);
    surface.setPenColour(kOutlineBlack);
    surface.setFillStyle(kFillSolid);
    return true;
}

bool RotationPreview::previewGroupRotation(Document &doc, Surface &surface, int16_t grid,
                                           bool commit, bool spaceDown)
{
    if (!prepare(commit, spaceDown)) {
        return false;
    }
    surface.clear();
    surface.setFillStyle(kFillTransparent);
    for (Tile &tile : doc.tiles) {
        if (tile.grid == grid && tile.selected != 0) {
            surface.setPenColour(tile.color);
            turnTile(tile, surface, commit);
        }
    }
    surface.setPenColour(kOutlineBlack);
    surface.setFillStyle(kFillSolid);
    return true;
}

} // namespace tessella
