// SPDX-License-Identifier: GPL-3.0-or-later
#include "fractal/referenceshape.h"

#include "fractal/keyframes.h"

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
    if (const Drag cp = controlPointAt(x, y, tolerance); cp != Drag::None) {
        if (button == 1) {
            drag_ = cp;
        } else {
            // Straightens both segments of the current key frame.
            initCP(state_.keyFrames, state_.curKeyFrame);
            extendedFillFrame();
        }
        return Press::Handled;
    }
    return button == 1 ? Press::AskNewKeyFrame : Press::Pan;
}

ReferenceGestures::Drag ReferenceGestures::controlPointAt(double x, double y,
                                                          double tolerance) const
{
    const auto &keys = state_.keyFrames;
    const int cur = state_.curKeyFrame;
    if (cur < 0 || cur + 1 >= int(keys.size()))
        return Drag::None;
    const KeyFrame &from = keys[std::size_t(cur)];
    const KeyFrame &to = keys[std::size_t(cur) + 1];
    if (distance(x, y, from.cpOutX, from.cpOutY) < tolerance)
        return Drag::CpOut;
    if (distance(x, y, to.cpInX, to.cpInY) < tolerance)
        return Drag::CpIn;
    return Drag::None;
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
    case Drag::CpOut:
    case Drag::CpIn: {
        // The key frames may have changed under the drag (a file loaded, a frame deleted).
        const std::size_t cur = std::size_t(state_.curKeyFrame);
        if (cur + 1 >= state_.keyFrames.size())
            return false;
        KeyFrame &k = state_.keyFrames[drag_ == Drag::CpOut ? cur : cur + 1];
        (drag_ == Drag::CpOut ? k.cpOutX : k.cpInX) = x;
        (drag_ == Drag::CpOut ? k.cpOutY : k.cpInY) = y;
        return true;
    }
    }
    extendedFillFrame();
    return true;
}

void ReferenceGestures::release()
{
    if (drag_ != Drag::None && drag_ != Drag::CpOut && drag_ != Drag::CpIn)
        extendedFillFrame();
    drag_ = Drag::None;
}

void drawReferenceOutline(Surface &surface, double cx, double cy, double radius, double aspect,
                          double squareness)
{
    if (aspect == 0)
        aspect = 1;
    // The first line starts at the aspect handle.
    surface.setPoint(cx + aspect * radius, cy, surface.penColour());
    for (int i = 0; i <= 120; ++i) {
        const double a = i == 120 ? 0 : i / 60.0 * kPi;
        const double s = squareness * getSquare(float(a)) + 1 - squareness;
        surface.lineTo(cx + aspect * radius * std::cos(a) * s, cy + radius * std::sin(a) * s);
    }
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
    drawReferenceOutline(surface, p.refCenterX, p.refCenterY, p.refRadius, aspect, p.squareness);
    surface.setPenColour(before);
    surface.setPenWidth(width);
}

} // namespace tessella
