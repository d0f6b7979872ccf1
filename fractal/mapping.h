// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tessella {

// The reference shape and every setting the radial mapping reads, as one value: the
// fractal panel's controls write it, key frames store it, a rendering reads it once.
// Lengths are plane units, angles radians.
struct MappingParams
{
    enum class Method { Exponential, Hyperbolic };
    enum class Decay { Inward, Outward };
    enum class Variant { None, Pinch, Wave }; // "pinch" and "wave" exclude each other

    // The reference shape; no circle has been pulled while refRadius is 0.
    double refCenterX = 0;
    double refCenterY = 0;
    double refRadius = 0;
    float refAspect = 1; // x offsets are multiplied by it; 0 counts as 1

    float squareness = 0; // 0 circle, 1 square
    float falloff = 1;    // hyperbolic exponent
    float expBase = 2;    // exponential base
    float renderSize = 1; // the mapped reference circle spans renderSize * 2/2.2 of the surface
    int granularity = 3;  // exponent of the longest undivided piece (surface units 4 * 2^g)
    bool smoothing = true;
    Method method = Method::Hyperbolic;
    Decay decay = Decay::Outward;
    Variant variant = Variant::None;
    double pinch = 0;     // -1 .. 1
    double waveAmp = 0;   // 0 .. 1, times a quarter of the reference radius
    double wavePhase = 0; // radians

    // The aspect the mapping uses: 0 (or not finite) counts as 1.
    double aspect() const;
    // A circle has been pulled and can be mapped.
    bool hasCircle() const;
    friend bool operator==(const MappingParams &, const MappingParams &) = default;
};

// Distance from the centre to the edge of a square of half-side 1 in direction a
// (radians); 1 for an angle that is not finite.
double getSquare(float a);

// The mapping of one point, with its settings read once.
class RadialMapping
{
public:
    explicit RadialMapping(const MappingParams &params);

    const MappingParams &params() const { return p_; }

    // Radius of the reference shape in direction a.
    double refRadiusAt(float a) const;
    // The mapped radius of a point at distance r from the centre in direction a.
    double radialMap(double r, double a) const;
    // Replaces the plane point by its mapped offset from the reference centre.
    void pointTransform(double &x, double &y) const;

private:
    MappingParams p_;
    double aspect_;
};

} // namespace tessella
