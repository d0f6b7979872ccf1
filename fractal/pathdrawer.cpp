// SPDX-License-Identifier: GPL-3.0-or-later
#include "fractal/pathdrawer.h"

#include "fractal/keyframes.h"
#include "fractal/referenceshape.h"

namespace tessella {

namespace {

constexpr Colour kCurrentColour = 255; // red
constexpr Colour kFrameColour = 65280; // green

} // namespace

void ShowPaths(Surface &surface, const std::vector<KeyFrame> &keys, int curKeyFrame,
               int framesPerKey)
{
    const int count = int(keys.size());
    if (count < 2 || framesPerKey < 1)
        return;
    const Colour drawColour = surface.penColour();
    const int width = surface.penWidth();
    surface.setPenWidth(1);
    for (int k = 0; k < count; ++k) {
        const KeyFrame &key = keys[std::size_t(k)];
        surface.setPenColour(k == curKeyFrame ? kCurrentColour : drawColour);
        drawReferenceOutline(surface, key.centerX, key.centerY, key.radius, key.aspect,
                             key.squareValue / 10.0);
    }
    for (int k = 0; k + 1 < count; ++k) {
        const KeyFrame &from = keys[std::size_t(k)];
        surface.setPenColour(k == curKeyFrame ? kCurrentColour : drawColour);
        surface.setPoint(from.centerX, from.centerY);
        for (int s = 1; s <= framesPerKey; ++s) {
            const PathPoint p = pathPoint(keys, k, double(s) / framesPerKey);
            surface.lineTo(p.x, p.y);
        }
    }
    if (curKeyFrame >= 0 && curKeyFrame + 1 < count) {
        const KeyFrame &from = keys[std::size_t(curKeyFrame)];
        const KeyFrame &to = keys[std::size_t(curKeyFrame) + 1];
        surface.setPenColour(kCurrentColour);
        surface.setPenWidth(4);
        surface.setPoint(from.cpOutX, from.cpOutY);
        surface.setPoint(to.cpInX, to.cpInY);
    }
    surface.setPenColour(drawColour);
    surface.setPenWidth(width);
}

void drawFrameShape(Surface &surface, const MappingParams &frame)
{
    const Colour before = surface.penColour();
    const int width = surface.penWidth();
    surface.setPenColour(kFrameColour);
    surface.setPenWidth(1);
    drawReferenceOutline(surface, frame.refCenterX, frame.refCenterY, frame.refRadius,
                         frame.refAspect, frame.squareness);
    surface.setPenColour(before);
    surface.setPenWidth(width);
}

} // namespace tessella
