// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/document.h"
#include "document/records.h"
#include "platform/surface.h"

#include <cstdint>
#include <string>

namespace tessella {

// The degree sign of the rotation readout, U+00B0 in UTF-8.
inline constexpr const char *kDegreeSign = "\xc2\xb0";

// The picture and arithmetic of a rotation gesture (single tile or the selected group).
// Angles are radians; the readout shows the negated angle in whole degrees. The
// previews draw on the surface's transient layer only; with commit they also write the
// rotated vertices into the document and add the angle to each tile's `angle`.
class RotationPreview
{
public:
    // A new gesture about `centre`: both angles 0 and the readout "0°".
    void start(int gestureTile, Vertex centre);

    // The turned outline of tile `gestureTile` in red. Without the space bar the angle
    // snaps down to a multiple of 15 degrees, and an angle already shown is not drawn
    // again unless committing. Returns whether anything was drawn.
    bool previewTileRotation(Document &doc, Surface &surface, bool commit, bool spaceDown);
    // The same for every selected tile of `grid`, each outlined in its own colour.
    bool previewGroupRotation(Document &doc, Surface &surface, int16_t grid, bool commit,
                              bool spaceDown);

    // `lblRotval`'s caption.
    const std::string &label() const { return label_; }

    int gestureTile = 0;
    Vertex gestureCenter;
    double rotAngle = 0;
    double lastAngle = 0;

private:
    // Snapping, the early return and the readout; false when nothing is to be drawn.
    bool prepare(bool commit, bool spaceDown);
    // Draws (and with commit stores) one tile turned by rotAngle.
    void turnTile(Tile &tile, Surface &surface, bool commit);

    std::string label_ = std::string("0") + kDegreeSign;
};

// The readout for an angle: -angle in whole degrees (halves to even) and the degree sign.
std::string rotationLabel(double angle);

} // namespace tessella
