// SPDX-License-Identifier: GPL-3.0-or-later
#include "tileeditor/view/planeview.h"

#include <algorithm>
#include <cmath>

namespace tessella {

namespace {
const double kStep = std::sqrt(2.0);
}

void PlaneView::setWindow(int innerWidthPx, int innerHeightPx, double picLeftTwips)
{
    // A minimised or empty window keeps a 1 x 1 canvas rather than a zero extent.
    winW_ = std::max(1, innerWidthPx);
    winH_ = std::max(1, innerHeightPx);
    if (!placed_)
        left_ = picLeftTwips;
    placed_ = true;
    picLeft_ = picLeftTwips;
    left_ = std::min(left_, picLeft_);
}

int PlaneView::canvasWidthPx() const
{
    return std::max(1, static_cast<int>(zoom_ * 2 * winW_));
}

int PlaneView::canvasHeightPx() const
{
    return std::max(1, static_cast<int>(zoom_ * 2 * winH_));
}

PlaneView::KeyResult PlaneView::zoomIn()
{
    if (zoomPct_ > 399)
        return KeyResult::Refused;
    const double w = winW_ * kTwipsPerPixel;
    const double h = winH_ * kTwipsPerPixel;
    left_ += (w / 2 - left_) * (1 - kStep);
    top_ += (h / 2 - top_) * (1 - kStep);
    zoom_ *= kStep;
    zoomPct_ *= kStep;
    return KeyResult::Redraw;
}

PlaneView::KeyResult PlaneView::zoomOut()
{
    if (zoomPct_ < 51)
        return KeyResult::Refused;
    const double w = winW_ * kTwipsPerPixel;
    const double h = winH_ * kTwipsPerPixel;
    left_ += (w / 2 - left_) * (1 - 1 / kStep);
    top_ += (h / 2 - top_) * (1 - 1 / kStep);
    zoom_ /= kStep;
    zoomPct_ /= kStep;
    const double canvasW = zoom_ * 2 * w;
    const double canvasH = zoom_ * 2 * h;
    if (std::trunc(left_ + canvasW) < w)
        left_ = std::trunc(w - canvasW);
    if (std::trunc(top_ + canvasH) < h)
        top_ = std::trunc(h - canvasH);
    left_ = std::min(left_, picLeft_);
    top_ = std::min(top_, kCanvasTopTwips);
    return KeyResult::Redraw;
}

void PlaneView::reset()
{
    zoom_ = 0.5;
    zoomPct_ = 50;
    left_ = picLeft_;
    top_ = kCanvasTopTwips;
}

void PlaneView::panBy(double dx, double dy)
{
    left_ = std::trunc(left_ + dx);
    top_ = std::trunc(top_ + dy);
    clampToWindow();
}

void PlaneView::clampToWindow()
{
    const double w = winW_ * kTwipsPerPixel;
    const double h = winH_ * kTwipsPerPixel;
    const double canvasW = canvasWidthPx() * double(kTwipsPerPixel);
    const double canvasH = canvasHeightPx() * double(kTwipsPerPixel);
    left_ = std::min(left_, picLeft_);
    top_ = std::min(top_, kCanvasTopTwips);
    left_ = std::max(left_, std::min(picLeft_, w - canvasW));
    top_ = std::max(top_, std::min(kCanvasTopTwips, h - canvasH));
}

std::string PlaneView::caption() const
{
    return "tile editor    " + std::to_string(static_cast<long long>(std::nearbyint(zoomPct_))) +
           "%";
}

int PlaneView::lineWidth(bool heavy) const
{
    int width = 1;
    if (zoomPct_ >= 399)
        width = 4;
    else if (zoomPct_ >= 299)
        width = 3;
    else if (zoomPct_ >= 199)
        width = 2;
    return heavy ? width * 2 : width;
}

int PlaneView::canvasLeftPx() const
{
    return static_cast<int>(std::floor(left_ / kTwipsPerPixel));
}

int PlaneView::canvasTopPx() const
{
    return static_cast<int>(std::floor(top_ / kTwipsPerPixel));
}

} // namespace tessella
