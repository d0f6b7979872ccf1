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

MappingParams circle(double radius, MappingParams::Method method, MappingParams::Decay decay)
{
    MappingParams p;
    p.refCenterX = 100;
    p.refCenterY = -40;
    p.refRadius = radius;
    p.method = method;
    p.decay = decay;
    return p;
}

// The formulas evaluated straight from polar coordinates, independently of the code's
// angle folding: the square's edge from the cosine of the angle to the nearest axis.
struct Oracle
{
    MappingParams p;

    double shapeRadius(double a) const
    {
        const double quarter = std::fmod(a, kPi / 2);
        const double toAxis = std::min(quarter, kPi / 2 - quarter);
        return (p.squareness / std::cos(toAxis) + 1 - p.squareness) * p.refRadius;
    }

    Vertex map(double x, double y) const
    {
        const double dx = x - p.refCenterX, dy = y - p.refCenterY;
        double a = std::atan2(dy, dx);
        if (a < 0)
            a += 2 * kPi;
        const double r = std::hypot(dx, dy);
        const double ref = shapeRadius(a);
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
            const double f = p.falloff;
            mapped =
                out ? ref * std::pow(std::pow(r, f) / (std::pow(r, f) + std::pow(ref, f)), 1 / f)
                    : ref * std::pow(std::pow(ref, f) / (std::pow(r, f) + std::pow(ref, f)), 1 / f);
        }
        return {mapped * std::cos(a) * p.refAspect, mapped * std::sin(a)};
    }
};

struct OracleCase
{
    const char *name;
    MappingParams::Method method;
    MappingParams::Decay decay;
    MappingParams::Variant variant;
};

class MappingOracle : public ::testing::TestWithParam<OracleCase>
{};

TEST_P(MappingOracle, AgreesWithTheFormulasAtRandomPoints)
{
    const OracleCase &c = GetParam();
    std::mt19937 rng(1234);
    std::uniform_real_distribution<double> coord(-900, 900);
    std::uniform_real_distribution<double> unit(0, 1);
    for (int trial = 0; trial < 400; ++trial) {
        MappingParams p = circle(20 + 300 * unit(rng), c.method, c.decay);
        p.variant = c.variant;
        p.squareness = float(std::round(unit(rng) * 40 - 10) / 10);
        p.falloff = float(std::round(5 + unit(rng) * 15) / 10);
        p.expBase = float(std::round(14 + unit(rng) * 26) / 10);
        p.refAspect = float(0.3 + unit(rng) * 2);
        p.pinch = (unit(rng) < 0.5 ? -1 : 1) * std::round(1 + unit(rng) * 9) / 10;
        p.waveAmp = unit(rng);
        p.wavePhase = unit(rng) * 2 * kPi;
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

using M = MappingParams::Method;
using D = MappingParams::Decay;
using V = MappingParams::Variant;
INSTANTIATE_TEST_SUITE_P(
    EveryMethodAndDecay, MappingOracle,
    ::testing::Values(OracleCase{"exp out", M::Exponential, D::Outward, V::None},
                      OracleCase{"exp in", M::Exponential, D::Inward, V::None},
                      OracleCase{"hyp out", M::Hyperbolic, D::Outward, V::None},
                      OracleCase{"hyp in", M::Hyperbolic, D::Inward, V::None},
                      OracleCase{"pinch", M::Hyperbolic, D::Outward, V::Pinch},
                      OracleCase{"wave", M::Exponential, D::Inward, V::Wave}),
    [](const auto &info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

struct HalfwayCase
{
    M method;
    D decay;
};

class HalfwayAtTheCircle : public ::testing::TestWithParam<HalfwayCase>
{};

// Base 2 and falloff 1 put a point on the reference circle halfway to the centre.
TEST_P(HalfwayAtTheCircle, MapsTheRadiusToHalf)
{
    const MappingParams p = circle(80, GetParam().method, GetParam().decay);
    const RadialMapping mapping(p);
    for (double a : {0.0, 1.0, 2.5, 4.0, 6.0})
        EXPECT_NEAR(mapping.radialMap(80, a), 40, 1e-9) << a;
}

INSTANTIATE_TEST_SUITE_P(Laws, HalfwayAtTheCircle,
                         ::testing::Values(HalfwayCase{M::Exponential, D::Outward},
                                           HalfwayCase{M::Hyperbolic, D::Outward},
                                           HalfwayCase{M::Hyperbolic, D::Inward}));

TEST(ReferenceShape, SquarenessZeroIsTheCircleAndOneTheSquare)
{
    MappingParams p = circle(50, M::Hyperbolic, D::Outward);
    for (float a : {0.0f, 0.3f, 0.785f, 1.2f, 2.0f, 3.9f, 5.5f})
        EXPECT_DOUBLE_EQ(RadialMapping(p).refRadiusAt(a), 50) << a;
    p.squareness = 1;
    EXPECT_NEAR(RadialMapping(p).refRadiusAt(float(kPi / 4)), 50 * std::sqrt(2.0), 1e-4);
    EXPECT_NEAR(RadialMapping(p).refRadiusAt(float(3 * kPi / 4)), 50 * std::sqrt(2.0), 1e-4);
    EXPECT_NEAR(RadialMapping(p).refRadiusAt(float(kPi / 2)), 50, 1e-4);
}

TEST(ReferenceShape, AngleThatIsNotFiniteCountsAsAxis)
{
    // Folding a NaN would never end.
    EXPECT_EQ(getSquare(std::nanf("")), 1);
    EXPECT_EQ(getSquare(INFINITY), 1);
    EXPECT_TRUE(std::isfinite(getSquare(1e30f)));
    EXPECT_NEAR(getSquare(-0.5f), 1 / std::cos(0.5), 1e-6);
}

TEST(PointTransform, CentrePointGoesToCentreOutwardAndToTheRimAtAngleZeroInward)
{
    for (D decay : {D::Outward, D::Inward}) {
        MappingParams p = circle(60, M::Exponential, decay);
        p.refAspect = 1.5f;
        double x = p.refCenterX, y = p.refCenterY;
        RadialMapping(p).pointTransform(x, y);
        EXPECT_DOUBLE_EQ(x, decay == D::Outward ? 0 : 1.5);
        EXPECT_DOUBLE_EQ(y, 0);
    }
}

TEST(PointTransform, PinchZeroIsTheIdentityAboutTheCentre)
{
    MappingParams p = circle(60, M::Hyperbolic, D::Outward);
    p.variant = V::Pinch;
    p.pinch = 0;
    double x = 230, y = 17;
    RadialMapping(p).pointTransform(x, y);
    EXPECT_NEAR(x, 130, 1e-9);
    EXPECT_NEAR(y, 57, 1e-9);
}

TEST(PointTransform, ZeroAspectCountsAsOneAndNegativeMirrors)
{
    MappingParams p = circle(60, M::Hyperbolic, D::Outward);
    double x1 = 300, y1 = 10;
    RadialMapping(p).pointTransform(x1, y1);
    p.refAspect = 0;
    double x0 = 300, y0 = 10;
    RadialMapping(p).pointTransform(x0, y0);
    EXPECT_EQ(x0, x1);
    p.refAspect = -1;
    double xm = 300, ym = 10;
    RadialMapping(p).pointTransform(xm, ym);
    EXPECT_EQ(xm, -x1);
    EXPECT_EQ(ym, y1);
}

TEST(PointTransform, PointsOnTheCentresVerticalStayFinite)
{
    const MappingParams p = circle(60, M::Exponential, D::Inward);
    for (double dy : {-500.0, -0.005, 0.005, 500.0}) {
        double x = p.refCenterX, y = p.refCenterY + dy;
        RadialMapping(p).pointTransform(x, y);
        EXPECT_TRUE(std::isfinite(x) && std::isfinite(y)) << dy;
    }
}

} // namespace
} // namespace tessella
