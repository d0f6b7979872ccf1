// SPDX-License-Identifier: GPL-3.0-or-later
#include "fractal/mapping.h"

#include <cmath>

namespace tessella {

namespace {

constexpr double kPi = 3.14159265358979;
constexpr double kTwoPi = 6.28318530717958;
// Points this close to the centre all map to one point.
constexpr double kCentreRadius = 0.01;

} // namespace

double MappingParams::aspect() const
{
    return refAspect == 0 || !std::isfinite(refAspect) ? 1.0 : double(refAspect);
}

bool MappingParams::hasCircle() const
{
    return std::isfinite(refRadius) && refRadius > 0 && std::isfinite(refCenterX) &&
           std::isfinite(refCenterY);
}

double getSquare(float a)
{
    if (!std::isfinite(a))
        return 1;
    // Far-off angles are first brought near the first turn; folding a huge float by pi/2
    // would not change it.
    if (std::fabs(a) > 4 * kPi)
        a = float(std::fmod(double(a), kTwoPi));
    // Fold into the first octant, each step in float as the angle is stored.
    while (!(a < kPi / 4)) {
        if (a < kPi / 2)
            a = float(kPi / 2 - a);
        else
            a = float(a - kPi / 2);
    }
    const double s = std::sin(double(a));
    return 1 / std::sqrt(1 - s * s);
}

RadialMapping::RadialMapping(const MappingParams &params) : p_(params), aspect_(params.aspect()) {}

double RadialMapping::refRadiusAt(float a) const
{
    return (double(p_.squareness) * getSquare(a) + (1 - double(p_.squareness))) * p_.refRadius;
}

double RadialMapping::radialMap(double r, double a) const
{
    if (r < kCentreRadius)
        return p_.decay == MappingParams::Decay::Outward ? 0 : 1;
    const double ref = refRadiusAt(float(a));
    if (p_.variant == MappingParams::Variant::Pinch) {
        const double pinch = p_.pinch;
        if (pinch == 0)
            return r;
        const double t = (r / ref) / 2 / std::fabs(pinch);
        return r * (1 - pinch / std::sqrt(t * t + 1));
    }
    if (p_.variant == MappingParams::Variant::Wave) {
        const double amp = p_.waveAmp * ref / 4;
        return r + amp * std::cos(r * kPi / ref + p_.wavePhase);
    }
    const bool outward = p_.decay == MappingParams::Decay::Outward;
    if (p_.method == MappingParams::Method::Exponential) {
        const double fall = std::pow(double(p_.expBase), -ref / r);
        return outward ? ref * fall : ref * (1 - fall);
    }
    const double f = p_.falloff;
    const double q = std::pow(ref / r, f);
    return outward ? ref / std::pow(1 + q, 1 / f) : ref * std::pow(1 - 1 / (1 + q), 1 / f);
}

void RadialMapping::pointTransform(double &x, double &y) const
{
    const double dx = x - p_.refCenterX;
    const double dy = y - p_.refCenterY;
    const double r = std::sqrt(dx * dx + dy * dy);
    // On the vertical through the centre the angle is taken from a tiny positive offset.
    const double d = std::fabs(dx) <= kCentreRadius ? kCentreRadius : dx;
    double a = std::atan(dy / d);
    if (d < 0)
        a += kPi;
    if (a < 0)
        a += kTwoPi;
    const double mapped = radialMap(r, a);
    x = std::cos(a) * mapped * aspect_;
    y = std::sin(a) * mapped;
}

} // namespace tessella
