// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/surface.h"

#include <cstdint>

namespace tessella {

// Draws the lattice of grid-list entry `grid` for a canvas of width x height plane units:
// dots as black filled circles of radius 1 pixel, points as single black pixels. Only
// the marks that can reach the surface's kept area are visited, so the work follows the
// viewport, not the canvas.
void drawLattice(Surface &surface, int16_t grid, double width, double height);

} // namespace tessella
