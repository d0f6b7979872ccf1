// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fractal/keyframes.h"

namespace tessella {

// The fractal panel's slider positions and options as plain values, so that a run from
// the command line or a key-frame file sees the same settings as the panel.
struct PanelValues
{
    int size = 10;
    int square = 0;
    int falloff = 10;
    int base = 20;
    int granularity = 3;
    int pinch = 0;
    int amp = 0;
    int phi = 0;
    int hue = 0;
    int light = 0;
    bool smoothing = true;
    bool exponential = false;
    bool inward = false;
    bool pinchOn = false;
    bool waveOn = false;
    friend bool operator==(const PanelValues &, const PanelValues &) = default;
};

// The mapping and colour shifts the values give, around the reference shape of `shape`
// (centre, radius, aspect); the same conversions as the panel's sliders.
FrameSettings frameSettingsFrom(const PanelValues &values, const MappingParams &shape);

} // namespace tessella
