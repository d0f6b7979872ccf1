// SPDX-License-Identifier: GPL-3.0-or-later
#include "fractal/referenceshape.h"

#include <cmath>

namespace tessella {

namespace {

constexpr double kPi = 3.14159265358979;
constexpr Colour kShapeColour = 255;

double distance(double x1, double y1, double x2, double y2)
{
    return std::hypot(x2 - x1, y2 - y1);
}

} // namespace

ReferenceGestures::Press ReferenceGestures::press(int button, double x, double y, double tolerance)
{
    MappingParams &p = state_.params;
    drag_ = Drag::None;
    if (p.refRadius == 0) {
        if (button != 1)
            return Press::Pan;
        p.refCenterX = x;
        p.refCenterY = y;
        drag_ = Drag::Pull;
        return Press::Handled;
    }
    const double aspectX = p.refCenterX + double(p.refAspect) * p.refRadius;
    if (distance(x, y, aspectX, p.refCenterY) < tolerance) {
        if (button == 1) {
            drag_ = Drag::Aspect;
        } else {
            p.refAspect = 1;
            extendedFillFrame();
        }
        return Press::Handled;
    }
    if (distance(x, y, p.refCenterX, p.refCenterY - p.refRadius) < tolerance) {
        drag_ = Drag::Radius;
        return Press::Handled;
    }
    if (std::fabs(x - p.refCenterX) < tolerance && std::fabs(y - p.refCenterY) < tolerance) {
        if (button == 1) {
            drag_ = Drag::Centre;
        } else {
            setSquareSlider_(1);
            extendedFillFrame();
        }
        return Press::Handled;
    }
    return button == 1 ? Press::Ignored : Press::Pan;
}

bool ReferenceGestures::move(double x, double y)
{
    MappingParams &p = state_.params;
    switch (drag_) {
    case Drag::None:
        return false;
    case Drag::Pull:
    case Drag::Radius:
        p.refRadius = distance(p.refCenterX, p.refCenterY, x, y);
        break;
    case Drag::Aspect:
        // On the centre's vertical the aspect would be 0, which counts as 1 anyway.
        if (p.refRadius > 0)
            p.refAspect = float((x - p.refCenterX) / p.refRadius);
        break;
    case Drag::Centre:
        p.refCenterX = x;
        p.refCenterY = y;
        break;
    }
    extendedFillFrame();
    return true;
}

void ReferenceGestures::release()
{
    if (drag_ != Drag::None)
        extendedFillFrame();
    drag_ = Drag::None;
}

void drawCmarquis(Surface &surface, MappingParams &p)
{
    const Colour before = surface.penColour();
    const int width = surface.penWidth();
    if (p.refAspect == 0)
        p.refAspect = 1;
    const double aspect = p.refAspect;
    surface.setPenColour(kShapeColour);
    surface.setPenWidth(4);
    surface.setPoint(p.refCenterX, p.refCenterY);
    surface.setPoint(p.refCenterX, p.refCenterY - p.refRadius);
    surface.setPoint(p.refCenterX + aspect * p.refRadius, p.refCenterY);
    surface.setPenWidth(1);
    const double sq = p.squareness;
    for (int i = 0; i <= 120; ++i) {
        const double a = i == 120 ? 0 : i / 60.0 * kPi;
        const double s = sq * getSquare(float(a)) + 1 - sq;
        surface.lineTo(p.refCenterX + aspect * p.refRadius * std::cos(a) * s,
                       p.refCenterY + p.refRadius * std::sin(a) * s);
    }
    surface.setPenColour(before);
    surface.setPenWidth(width);
}

} // namespace tessella
