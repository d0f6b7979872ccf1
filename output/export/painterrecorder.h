// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/vectortarget.h"

#include <map>

class QPainter;

namespace tessella {

// SVG and PDF: the calls become painter calls on a vector paint device (pens and brushes
// as QPen and QBrush, polygons with the odd-even rule), so they stay vector records.
class PainterRecorder : public VectorTarget
{
public:
    explicit PainterRecorder(QPainter &painter);

    VectorHandle createSolidPen(int width, Colour colour) override;
    VectorHandle createSolidBrush(Colour colour) override;
    void select(VectorHandle handle) override;
    void polygon(std::span<const PixelPoint> points) override;
    void moveTo(PixelPoint point) override;
    void lineTo(PixelPoint point) override;
    void deleteObject(VectorHandle handle) override;

private:
    struct Object
    {
        bool pen;
        int width;
        Colour colour;
    };
    QPainter &painter_;
    std::map<VectorHandle, Object> objects_;
    VectorHandle nextHandle_ = 1;
    PixelPoint current_;
};

} // namespace tessella
