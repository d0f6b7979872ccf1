// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fractal/fractalstate.h"
#include "platform/surface.h"

#include <vector>

namespace tessella {

// The key frames of an animation over the tiling (plane units): every key frame's
// reference shape, the path of the centre between consecutive key frames in framesPerKey
// straight pieces, and the two control-point handles of the segment leaving the current
// key frame. The current key frame and its segment are red, the rest in the surface's pen
// colour, which is left as it was. Nothing is drawn for a single key frame.
void ShowPaths(Surface &surface, const std::vector<KeyFrame> &keys, int curKeyFrame,
               int framesPerKey);

// The reference shape of a frame between two key frames, in green.
void drawFrameShape(Surface &surface, const MappingParams &frame);

} // namespace tessella
