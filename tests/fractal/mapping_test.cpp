// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/records.h"
#include "fractal/mapping.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <string>

namespace tessella {
namespace {

constexpr double kPi = std::numbers::pi;

using M = MappingParams::Method;
using D = MappingParams::Decay;
using V = MappingParams::Variant;

MappingParams circle(double r, M m, D d)
{
    return {.refCenterX = 100, .refCenterY = -40, .refRadius = r, .method = m, .decay = d};
}

// The formulas evaluated straight from polar coordinates, independently of the code's
// angle folding: the square's edge from the cosine of the angle to the nearest axis.
struct Oracle
{
    MappingParams p;

    double shapeRadius(double a) const
    {
        const double q = std::fmod(a, kPi / 2), toAxis = std::min(q, kPi / 2 - q);
        return (p.squareness / std::cos(toAxis) + 1 - p.squareness) * p.refRadius;
    }

    Vertex map(double x, double y) const
    {
        const double dx = x - p.refCenterX, dy = y - p.refCenterY;
        const double a = std::atan2(dy, dx) + (dy < 0 ? 2 * kPi : 0);
        const double r = std::hypot(dx, dy), ref = shapeRadius(a);
        const bool out = p.decay == MappingParams::Decay::Outward;
        double mapped = 0;
        if (p.variant == MappingParams::Variant::Pinch) {
            const double t = r / ref / (2 * std::fabs(p.pinch));
            mapped = r - r * p.pinch / std::hypot(t, 1.0);
        } else if (p.variant == MappingParams::Variant::Wave) {
            mapped = r + p.waveAmp * ref / 4 * std::cos(kPi * r / ref + p.wavePhase);
        } else if (p.method == MappingParams::Method::Exponential) {
            const double e = std::exp(-std::log(double(p.expBase)) * ref / r);
            mapped = out ? ref * e : ref - ref * e;
        } else {
            const double rf = std::pow(r, p.falloff), qf = std::pow(ref, p.falloff);
            mapped = ref * std::pow((out ? rf : qf) / (rf + qf), 1 / p.falloff);
        }
        return {mapped * std::cos(a) * p.refAspect, mapped * std::sin(a)};
    }
};

TEST(MappingOracle, EveryMethodDecayAndVariantAgreesWithTheFormulasAtRandomPoints)
{
    // clang-format off
    const struct { const char *name; M method; D decay; V variant; } cases[] = {
        {"exp out", M::Exponential, D::Outward, V::None}, {"exp in", M::Exponential, D::Inward, V::None},
        {"hyp out", M::Hyperbolic, D::Outward, V::None},  {"hyp in", M::Hyperbolic, D::Inward, V::None},
        {"pinch", M::Hyperbolic, D::Outward, V::Pinch},   {"wave", M::Exponential, D::Inward, V::Wave},
    };
    // clang-format on
    for (const auto &c : cases) {
        std::mt19937 rng(1234);
        std::uniform_real_distribution<double> coord(-900, 900), unit(0, 1);
        for (int trial = 0; trial < 400; ++trial) {
            MappingParams p = circle(20 + 300 * unit(rng), c.method, c.decay);
            p.variant = c.variant, p.squareness = float(std::round(unit(rng) * 40 - 10) / 10);
            p.falloff = float(std::round(5 + unit(rng) * 15) / 10);
            p.expBase = float(std::round(14 + unit(rng) * 26) / 10);
            p.refAspect = float(0.3 + unit(rng) * 2);
            p.pinch = (unit(rng) < 0.5 ? -1 : 1) * std::round(1 + unit(rng) * 9) / 10;
            p.waveAmp = unit(rng), p.wavePhase = unit(rng) * 2 * kPi;
            double x = coord(rng), y = coord(rng);
            if (std::fabs(x - p.refCenterX) <= 0.5)
                x += 1; // the vertical through the centre takes its angle from an offset
            const Vertex expected = Oracle{p}.map(x, y);
            RadialMapping(p).pointTransform(x, y);
            const double scale = std::max(1.0, p.refRadius * 3);
            ASSERT_NEAR(x, expected.x, 2e-5 * scale) << c.name << " trial " << trial;
            ASSERT_NEAR(y, expected.y, 2e-5 * scale) << c.name << " trial " << trial;
        }
    }
}

TEST(ReferenceShape, AngleThatIsNotFiniteCountsAsAxis)
{
    // Folding a NaN would never end.
    EXPECT_TRUE(getSquare(std::nanf("")) == 1 && getSquare(INFINITY) == 1);
    EXPECT_TRUE(std::isfinite(getSquare(1e30f)));
    EXPECT_NEAR(getSquare(-0.5f), 1 / std::cos(0.5), 1e-6);
}

// The points and settings the formulas leave undefined.
TEST(PointTransform, EdgeInputsHaveTheirOwnAnswers)
{
    const auto mapped = [](const MappingParams &p, double x, double y) {
        RadialMapping(p).pointTransform(x, y);
        return Vertex{x, y};
    };
    // The centre goes to the centre outward and to the rim at angle 0 inward.
    for (D decay : {D::Outward, D::Inward}) {
        MappingParams p = circle(60, M::Exponential, decay);
        p.refAspect = 1.5f;
        EXPECT_EQ(mapped(p, p.refCenterX, p.refCenterY),
                  (Vertex{decay == D::Outward ? 0 : 1.5, 0}));
        // Points on the centre's vertical stay finite.
        for (double dy : {-500.0, -0.005, 0.005, 500.0}) {
            const Vertex v = mapped(p, p.refCenterX, p.refCenterY + dy);
            EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.y)) << dy;
        }
    }
    // Pinch 0 is the identity about the centre.
    MappingParams p = circle(60, M::Hyperbolic, D::Outward);
    p.variant = V::Pinch, p.pinch = 0;
    const Vertex same = mapped(p, 230, 17);
    EXPECT_TRUE(std::abs(same.x - 130) < 1e-9 && std::abs(same.y - 57) < 1e-9);
    // Aspect 0 counts as 1; a negative one mirrors.
    p.variant = V::None;
    const Vertex one = mapped(p, 300, 10);
    p.refAspect = 0;
    EXPECT_EQ(mapped(p, 300, 10), one);
    p.refAspect = -1;
    EXPECT_EQ(mapped(p, 300, 10), (Vertex{-one.x, one.y}));
}

} // namespace
} // namespace tessella
