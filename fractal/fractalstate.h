// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fractal/mapping.h"

#include <cstdint>
#include <vector>

namespace tessella {

// One stored state of the reference shape and the panel's sliders (slider values, not
// the derived settings), so that an animation can move between key frames.
struct KeyFrame
{
    double centerX = 0;
    double centerY = 0;
    double cpInX = 0;
    double cpInY = 0;
    double cpOutX = 0;
    double cpOutY = 0;
    float radius = 0;
    float aspect = 0;
    double falloffValue = 0;
    int16_t baseValue = 0;
    int16_t granularityValue = 0;
    int16_t sizeValue = 0;
    int16_t squareValue = 0;
    int32_t hueValue = 0;
    int32_t lightValue = 0;
    friend bool operator==(const KeyFrame &, const KeyFrame &) = default;
};

// The fractal settings the whole application shares: the reference shape and mapping
// settings, the colour shifts and the render state. app/ owns one and passes it in.
struct FractalState
{
    MappingParams params;
    int hueShift = 0;
    int lightShift = 0;
    bool colorShiftOn = false;    // set while the panel is open
    bool fractalRendered = false; // the tile editor shows the mapped picture
    double segLength = 4.0;       // of the last rendering, mapped units
    std::vector<KeyFrame> keyFrames = std::vector<KeyFrame>(1);
    int curKeyFrame = 0;
};

} // namespace tessella
