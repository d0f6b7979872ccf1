// SPDX-License-Identifier: GPL-3.0-or-later
#include "transform/xformview.h"

#include <algorithm>
#include <cmath>

namespace tessella {

namespace {

const double kRoot2 = std::sqrt(2.0);

// Zoom-in refusals, in twips: the surface's own size, and how far it may outgrow the
// window.
constexpr double kMaxSurfaceTwips = 45000;
constexpr double kMaxOverhangTwips = 22600;
// The pan bars stop this many twips short of the surface's far edge.
constexpr double kHorizontalMargin = 48;
constexpr double kVerticalMargin = 96;
// Twips per pan-bar step.
constexpr double kTwipsPerStep = 8;
// Opening places the surface this far up and left of centre, in twips.
constexpr double kOpenShiftX = 120;
constexpr double kOpenShiftY = 240;

// A drawing area never shrinks to nothing, so the scale stays defined.
double atLeastOne(double v)
{
    return std::isfinite(v) && v >= 1 ? v : 1;
}

int clampInt(double v, int lo, int hi)
{
    if (!(v > lo))
        return lo;
    if (!(v < hi))
        return hi;
    return static_cast<int>(v);
}

} // namespace

void XformView::open(double areaWidth, double areaHeight, int windowWidth, int windowHeight)
{
    setArea(areaWidth, areaHeight);
    resetZoom();
    winW_ = std::max(1, windowWidth);
    winH_ = std::max(1, windowHeight);
    left_ = (winW_ * kTwipsPerPixel - surfaceWidthPx() * kTwipsPerPixel) / 2 - kOpenShiftX;
    top_ = (winH_ * kTwipsPerPixel - surfaceHeightPx() * kTwipsPerPixel) / 2 - kOpenShiftY;
    alignScrolls(winW_, winH_);
}

void XformView::setArea(double areaWidth, double areaHeight)
{
    areaW_ = atLeastOne(areaWidth);
    areaH_ = atLeastOne(areaHeight);
}

bool XformView::zoomIn()
{
    const double widthTwips = surfaceWidthPx() * kTwipsPerPixel;
    const double heightTwips = surfaceHeightPx() * kTwipsPerPixel;
    if (widthTwips > kMaxSurfaceTwips || heightTwips > kMaxSurfaceTwips || zoomPercent_ > 799)
        return false;
    if (heightTwips - winH_ * kTwipsPerPixel > kMaxOverhangTwips ||
        widthTwips - winW_ * kTwipsPerPixel > kMaxOverhangTwips)
        return false;
    zoomFactor_ = static_cast<float>(zoomFactor_ * kRoot2);
    zoomPercent_ = static_cast<float>(zoomPercent_ * kRoot2);
    hitRadius_ /= kRoot2;
    return true;
}

bool XformView::zoomOut()
{
    if (zoomPercent_ < 101)
        return false;
    zoomFactor_ = static_cast<float>(zoomFactor_ / kRoot2);
    zoomPercent_ = static_cast<float>(zoomPercent_ / kRoot2);
    hitRadius_ *= kRoot2;
    return true;
}

void XformView::resetZoom()
{
    hitRadius_ = kStartHitRadius;
    zoomFactor_ = 1.0f;
    zoomPercent_ = 100.0f;
}

std::string XformView::caption() const
{
    const double shown = std::nearbyint(static_cast<double>(zoomPercent_));
    return "tile transformation    " + std::to_string(static_cast<long long>(shown)) + "%";
}

int XformView::surfaceLeftPx() const
{
    return static_cast<int>(std::floor(left_ / kTwipsPerPixel));
}

int XformView::surfaceTopPx() const
{
    return static_cast<int>(std::floor(top_ / kTwipsPerPixel));
}

void XformView::alignAxis(double surfaceTwips, double windowTwips, double margin, double &pos,
                          PanBar &bar)
{
    if (surfaceTwips <= windowTwips) {
        pos = (windowTwips - surfaceTwips) / 2;
        bar = PanBar{};
        return;
    }
    bar.visible = true;
    bar.maximum =
        clampInt(std::floor((surfaceTwips - windowTwips - margin) / kTwipsPerStep), 0, 1 << 30);
    bar.value = clampInt(std::floor(-pos / kTwipsPerStep), 0, bar.maximum);
    // The surface follows the value it was clamped to, so it always covers the window.
    pos = -bar.value * kTwipsPerStep;
}

void XformView::alignScrolls(int windowWidth, int windowHeight)
{
    winW_ = std::max(1, windowWidth);
    winH_ = std::max(1, windowHeight);
    alignAxis(surfaceWidthPx() * kTwipsPerPixel, winW_ * kTwipsPerPixel, kHorizontalMargin, left_,
              hBar_);
    alignAxis(surfaceHeightPx() * kTwipsPerPixel, winH_ * kTwipsPerPixel, kVerticalMargin, top_,
              vBar_);
}

void XformView::hideBars()
{
    hBar_.visible = false;
    vBar_.visible = false;
}

void XformView::scrollHorizontal(int value)
{
    if (!hBar_.visible)
        return;
    hBar_.value = std::clamp(value, 0, hBar_.maximum);
    left_ = -hBar_.value * kTwipsPerStep;
}

void XformView::scrollVertical(int value)
{
    if (!vBar_.visible)
        return;
    vBar_.value = std::clamp(value, 0, vBar_.maximum);
    top_ = -vBar_.value * kTwipsPerStep;
}

double XformView::noticeX() const
{
    return std::max(0.0, -left_) / kTwipsPerPixel / zoomFactor_ + 5;
}

double XformView::noticeY() const
{
    return std::max(0.0, -top_) / kTwipsPerPixel / zoomFactor_ + 5;
}

} // namespace tessella
