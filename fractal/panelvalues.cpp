// SPDX-License-Identifier: GPL-3.0-or-later
#include "fractal/panelvalues.h"

#include <numbers>

namespace tessella {

FrameSettings frameSettingsFrom(const PanelValues &values, const MappingParams &shape)
{
    FrameSettings out;
    MappingParams &p = out.params;
    p.refCenterX = shape.refCenterX;
    p.refCenterY = shape.refCenterY;
    p.refRadius = shape.refRadius;
    p.refAspect = shape.refAspect;
    // Single precision as the panel keeps them, so a frame matches what the panel shows.
    p.renderSize = float(values.size / 10.0);
    p.squareness = float(values.square / 10.0);
    p.falloff = float(values.falloff / 10.0);
    p.expBase = float(values.base / 10.0);
    p.granularity = values.granularity;
    p.smoothing = values.smoothing;
    p.method =
        values.exponential ? MappingParams::Method::Exponential : MappingParams::Method::Hyperbolic;
    p.decay = values.inward ? MappingParams::Decay::Inward : MappingParams::Decay::Outward;
    p.variant = values.pinchOn  ? MappingParams::Variant::Pinch
                : values.waveOn ? MappingParams::Variant::Wave
                                : MappingParams::Variant::None;
    p.pinch = values.pinch / 10.0;
    p.waveAmp = values.amp / 20.0;
    p.wavePhase = values.phi / 10.0 * std::numbers::pi;
    out.hueShift = values.hue;
    out.lightShift = values.light;
    return out;
}

} // namespace tessella
