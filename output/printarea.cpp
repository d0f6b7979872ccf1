// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/printarea.h"

#include <QLocale>
#include <QString>

#include <cmath>
#include <limits>

namespace tessella {

namespace {

// A corner coordinate as the 32-bit integer the area keeps, halves to even.
std::optional<int32_t> toCorner(double v)
{
    const double r = std::nearbyint(v);
    if (!std::isfinite(r) || r < std::numeric_limits<int32_t>::min() ||
        r > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(r);
}

} // namespace

std::optional<double> parseAspectSide(const std::string &text)
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double v = c.toDouble(QString::fromStdString(text).trimmed(), &ok);
    if (!ok || !std::isfinite(v) || v <= 0)
        return std::nullopt;
    return v;
}

void AreaPull::press(double x, double y)
{
    pulling_ = true;
    anchorX_ = cornerX_ = x;
    anchorY_ = cornerY_ = y;
}

void AreaPull::release(double x, double y)
{
    if (!pulling_)
        return;
    constrainCorner(x, y);
    pulling_ = false;
}

void AreaPull::constrainCorner(double x, double y)
{
    cornerX_ = x;
    cornerY_ = y;
    if (!fixed_)
        return;
    // The rectangle extends from the anchor towards the pointer's side.
    const bool sameSign = (x - anchorX_ < 0) == (y - anchorY_ < 0);
    cornerY_ = sameSign ? anchorY_ + ratio_ * (x - anchorX_) : anchorY_ + ratio_ * (anchorX_ - x);
}

void AreaPull::clear()
{
    pulling_ = false;
    anchorX_ = anchorY_ = cornerX_ = cornerY_ = 0;
}

std::optional<PrintArea> AreaPull::area() const
{
    const auto left = toCorner(anchorX_), top = toCorner(anchorY_);
    const auto right = toCorner(cornerX_), bottom = toCorner(cornerY_);
    if (!left || !top || !right || !bottom)
        return std::nullopt;
    const PrintArea a = PrintArea{*left, *top, *right, *bottom}.ordered();
    if (a.empty())
        return std::nullopt;
    return a;
}

} // namespace tessella
