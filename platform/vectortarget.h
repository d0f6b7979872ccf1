// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/surface.h"

#include <cstdint>
#include <span>

namespace tessella {

// A drawing object of a vector target: a pen or a brush the target created, or one of
// the stock objects below. Handles of created objects are positive.
using VectorHandle = int32_t;

// Stock objects that exist as long as the target and are never deleted.
inline constexpr VectorHandle kStockBlackPen = -1;   // solid, width 1, black
inline constexpr VectorHandle kStockWhiteBrush = -2; // solid white

// A recorder of vector drawing (enhanced or Windows metafile), fed the same pixel points
// as the canvas. Pens and brushes are created, selected and deleted explicitly, in the
// order the drawing code issues them, so a recorder can write one record per call.
class VectorTarget
{
public:
    virtual ~VectorTarget() = default;

    // A solid pen of `width` pixels; a solid brush.
    virtual VectorHandle createSolidPen(int width, Colour colour) = 0;
    virtual VectorHandle createSolidBrush(Colour colour) = 0;
    // Makes a pen or brush (created or stock) the current one of its kind.
    virtual void select(VectorHandle handle) = 0;
    // Closed polygon outlined with the current pen, filled with the current brush by the
    // alternate rule.
    virtual void polygon(std::span<const PixelPoint> points) = 0;
    virtual void moveTo(PixelPoint point) = 0;
    // Line from the current position with the current pen; moves the current position.
    virtual void lineTo(PixelPoint point) = 0;
    // Deletes a created pen or brush; stock objects are left alone.
    virtual void deleteObject(VectorHandle handle) = 0;
};

} // namespace tessella
