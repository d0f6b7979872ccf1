// SPDX-License-Identifier: GPL-3.0-or-later
#include "transform/sketchtools.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tessella {

namespace {

bool withinReach(const Vertex &p, double x, double y, double reach)
{
    return std::fabs(x - p.x) <= reach && std::fabs(y - p.y) <= reach;
}

std::vector<Vertex> midpoints(std::span<const Vertex> corners)
{
    std::vector<Vertex> out;
    for (std::size_t k = 0; k + 1 < corners.size(); ++k)
        out.push_back(
            {(corners[k].x + corners[k + 1].x) / 2, (corners[k].y + corners[k + 1].y) / 2});
    return out;
}

// Points a curve on `n` corners produces.
long curveSize(long n)
{
    return n < 3 ? 0 : kCurveSamples * (n - 2);
}

} // namespace

Sketch regularPolygon(double cx, double cy, double r, int sides)
{
    Sketch item;
    item.kind = 1;
    if (sides < kMinSides)
        return item;
    for (int k = 0; k < sides; ++k) {
        const double a = 2 * std::numbers::pi * k / sides;
        item.points.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    item.points.push_back(item.points.front());
    item.nPoints = static_cast<int16_t>(item.points.size());
    item.pointsAllocated = true;
    return item;
}

std::vector<Vertex> curveThroughCorners(std::span<const Vertex> corners)
{
    std::vector<Vertex> out;
    if (corners.size() < 3)
        return out;
    const std::vector<Vertex> mid = midpoints(corners);
    out.reserve(static_cast<std::size_t>(curveSize(static_cast<long>(corners.size()))));
    for (std::size_t k = 1; k < mid.size(); ++k) {
        const Vertex a = mid[k - 1];
        const Vertex c = corners[k];
        const Vertex b = mid[k];
        for (int s = 0; s < kCurveSamples; ++s) {
            const double t = static_cast<double>(s) / kCurveSamples;
            const double u = 1 - t;
            // Both inner control points lie on the corner.
            const double wa = u * u * u;
            const double wc = 3 * u * u * t + 3 * u * t * t;
            const double wb = t * t * t;
            out.push_back({wa * a.x + wc * c.x + wb * b.x, wa * a.y + wc * c.y + wb * b.y});
        }
    }
    return out;
}

SketchTools::SketchTools(SketchWorkingCopy &work, SketchToolsHost &host) : work_(work), host_(host)
{}

void SketchTools::chooseTool(SketchTool tool)
{
    if (tool != SketchTool::Line && sketchItem.nPoints > 0 && !regularActive_)
        abortLine();
    tool_ = tool;
    if (tool == SketchTool::Delete)
        deletePrep();
    else if (deleteToolOn)
        deleteClose();
}

void SketchTools::setSides(int sides)
{
    sides_ = std::clamp(sides, kMinSides, kMaxSides);
}

Sketch SketchTools::newItem(int16_t kind) const
{
    Sketch item;
    item.kind = kind;
    item.negative = negative ? kTrue : kFalse;
    item.fillStyle = fill ? 0 : 1;
    item.pointsAllocated = true;
    return item;
}

void SketchTools::mouseDown(PointerButton button, double x, double y, double reach)
{
    if (!std::isfinite(x) || !std::isfinite(y))
        return;
    if (curveUnderway) {
        if (button == PointerButton::Left)
            curvePress(x, y, reach);
        return;
    }
    switch (tool_) {
    case SketchTool::Line:
        if (button == PointerButton::Left)
            lineClick(x, y, reach);
        else if (sketchItem.nPoints > 0)
            finishLine();
        break;
    case SketchTool::Polygon:
        if (button != PointerButton::Left || regularActive_)
            break;
        regularActive_ = true;
        centre_ = {x, y};
        radius_ = 0;
        sketchItem = newItem(2);
        sketchItem.nPoints = static_cast<int16_t>(sides_ + 1);
        host_.sketchRedraw();
        break;
    case SketchTool::Delete:
        if (button == PointerButton::Left)
            deleteClick(x, y, reach);
        break;
    }
}

void SketchTools::lineClick(double x, double y, double reach)
{
    if (sketchItem.nPoints <= 0) {
        sketchItem = newItem(0);
        sketchItem.points = {{x, y}};
        sketchItem.nPoints = 1;
        pointer_ = Vertex{x, y};
        host_.sketchRedraw();
        return;
    }
    // A click on the last point again adds nothing.
    if (withinReach(sketchItem.points.back(), x, y, reach))
        return;
    if (sketchItem.nPoints >= kMaxSketchPoints) {
        host_.sketchBeep();
        return;
    }
    const Vertex first = sketchItem.points.front();
    if (withinReach(first, x, y, reach)) {
        sketchItem.points.push_back(first);
        ++sketchItem.nPoints;
        sketchItem.kind = 1;
        finishLine();
        return;
    }
    sketchItem.points.push_back({x, y});
    ++sketchItem.nPoints;
    pointer_ = Vertex{x, y};
    host_.sketchRedraw();
}

void SketchTools::mouseMove(double x, double y)
{
    if (!std::isfinite(x) || !std::isfinite(y))
        return;
    if (dragCorner_ >= 0) {
        const int last = static_cast<int>(curveItem.points.size()) - 1;
        // The closing point of a polygon moves with its first corner.
        const bool closed =
            curveItem.kind == 1 && last > 0 && curveItem.points.front() == curveItem.points.back();
        curveItem.points[dragCorner_] = {x, y};
        if (closed && dragCorner_ == 0)
            curveItem.points[last] = {x, y};
        else if (closed && dragCorner_ == last)
            curveItem.points[0] = {x, y};
        curvePoints = midpoints(curveItem.points);
        host_.sketchRedraw();
    } else if (regularActive_) {
        radius_ = std::hypot(x - centre_.x, y - centre_.y);
        host_.sketchRedraw();
    } else if (sketchItem.nPoints > 0 && sketchItem.kind == 0) {
        pointer_ = Vertex{x, y};
        host_.sketchRedraw();
    }
}

void SketchTools::mouseUp(PointerButton button, double x, double y)
{
    if (button != PointerButton::Left)
        return;
    if (dragCorner_ >= 0) {
        dragCorner_ = -1;
        host_.sketchRedraw();
    } else if (regularActive_) {
        regularRelease(x, y);
    }
}

void SketchTools::regularRelease(double x, double y)
{
    regularActive_ = false;
    const double r = std::hypot(x - centre_.x, y - centre_.y);
    if (std::isfinite(r) && r >= kMinRegularRadius) {
        Sketch item = regularPolygon(centre_.x, centre_.y, r, sides_);
        item.negative = sketchItem.negative;
        item.fillStyle = sketchItem.fillStyle;
        if (keep(item))
            setCurveEnabled(curveAllowed(item));
    }
    sketchItem = Sketch{};
    radius_ = 0;
    host_.sketchRedraw();
}

void SketchTools::finishLine()
{
    if (sketchItem.nPoints > 1 && sketchItem.kind != 2) {
        if (keep(sketchItem))
            setCurveEnabled(curveAllowed(sketchItem));
    }
    sketchItem = Sketch{};
    pointer_.reset();
    host_.sketchRedraw();
}

void SketchTools::abortLine()
{
    sketchItem = Sketch{};
    pointer_.reset();
    regularActive_ = false;
    radius_ = 0;
    dragCorner_ = -1;
    host_.sketchRedraw();
}

bool SketchTools::keep(const Sketch &item)
{
    Sketch kept = item;
    kept.count = 0;
    kept.deletedMark = 0;
    kept.pointsAllocated = true;
    if (!work_.append(kept)) {
        host_.sketchBeep();
        return false;
    }
    work_.sketchesChanged = true;
    return true;
}

void SketchTools::deletePrep()
{
    deleteToolOn = true;
    host_.sketchRedraw();
}

void SketchTools::deleteClose()
{
    deleteToolOn = false;
    host_.sketchRedraw();
}

void SketchTools::deleteClick(double x, double y, double reach)
{
    const int end = std::min<int>(work_.sketchNext, static_cast<int>(work_.sketchItems.size()));
    for (int i = 1; i < end; ++i) {
        Sketch &item = work_.sketchItems[i];
        if (item.deletedMark || item.usablePoints() <= 0)
            continue;
        if (!withinReach(item.points[0], x, y, reach))
            continue;
        item.deletedMark = kTrue;
        work_.sketchesChanged = true;
        // The curve works on the last item; it is gone.
        if (i == work_.sketchNext - 1)
            setCurveEnabled(false);
        host_.sketchRedraw();
        return;
    }
    host_.sketchBeep();
}

bool SketchTools::curveAllowed(const Sketch &item) const
{
    const long n = item.usablePoints();
    return !item.deletedMark && n >= 3 && curveSize(n) <= kMaxSketchPoints;
}

void SketchTools::setCurveEnabled(bool enabled)
{
    curveEnabled_ = enabled;
    host_.enableCurve(enabled);
}

void SketchTools::cmdCurve()
{
    if (curveUnderway)
        closeCurve();
    else
        prepCurve();
}

bool SketchTools::prepCurve()
{
    if (curveUnderway)
        return true;
    // A line still being entered is the item to curve.
    if (sketchItem.nPoints > 0 && !regularActive_)
        finishLine();
    const int last = work_.sketchNext - 1;
    if (last < 1 || last >= static_cast<int>(work_.sketchItems.size()) ||
        !curveAllowed(work_.sketchItems[last])) {
        setCurveEnabled(false);
        host_.sketchBeep();
        return false;
    }
    curveUnderway = true;
    curveItem = work_.sketchItems[last];
    curveItem.points.resize(curveItem.usablePoints());
    curvePoints = midpoints(curveItem.points);
    dragCorner_ = -1;
    host_.sketchRedraw();
    return true;
}

void SketchTools::curvePress(double x, double y, double reach)
{
    for (std::size_t k = 0; k < curveItem.points.size(); ++k) {
        if (withinReach(curveItem.points[k], x, y, reach)) {
            dragCorner_ = static_cast<int>(k);
            return;
        }
    }
}

void SketchTools::closeCurve()
{
    if (!curveUnderway)
        return;
    curveUnderway = false;
    dragCorner_ = -1;
    setCurveEnabled(false);
    const int last = work_.sketchNext - 1;
    std::vector<Vertex> samples = curveThroughCorners(curveItem.points);
    if (last >= 1 && last < static_cast<int>(work_.sketchItems.size()) && !samples.empty() &&
        samples.size() <= static_cast<std::size_t>(kMaxSketchPoints)) {
        Sketch &item = work_.sketchItems[last];
        item.points = std::move(samples);
        item.nPoints = static_cast<int16_t>(item.points.size());
        item.pointsAllocated = true;
        work_.sketchesChanged = true;
    }
    curveItem = Sketch{};
    curvePoints.clear();
    host_.sketchRedraw();
}

void SketchTools::close()
{
    if (curveUnderway)
        closeCurve();
    if (deleteToolOn)
        deleteClose();
    abortLine();
}

const Sketch *SketchTools::entering() const
{
    return sketchItem.nPoints > 0 && sketchItem.kind != 2 ? &sketchItem : nullptr;
}

std::optional<RegularPreview> SketchTools::regularPreview() const
{
    if (!regularActive_)
        return std::nullopt;
    RegularPreview r;
    r.centreX = centre_.x;
    r.centreY = centre_.y;
    r.radius = radius_;
    r.sides = sides_;
    r.negative = sketchItem.negative != 0;
    r.filled = sketchItem.fillStyle == 0;
    return r;
}

std::optional<std::pair<Vertex, Vertex>> SketchTools::rubberBand() const
{
    if (!entering() || !pointer_ || sketchItem.points.empty())
        return std::nullopt;
    return std::pair{sketchItem.points.back(), *pointer_};
}

std::vector<Vertex> SketchTools::curvePreview() const
{
    return curveUnderway ? curveThroughCorners(curveItem.points) : std::vector<Vertex>{};
}

void drawSketchOverlay(Surface &surface, const SketchTools &tools)
{
    if (const auto band = tools.rubberBand())
        surface.line(band->first.x, band->first.y, band->second.x, band->second.y, 0);
    if (!tools.curveUnderway)
        return;
    const std::vector<Vertex> curve = tools.curvePreview();
    std::vector<PixelPoint> pixels;
    for (const Vertex &p : curve) {
        if (const auto px = surfacePixel(surface, p.x, p.y))
            pixels.push_back(*px);
    }
    if (tools.curveItem.kind == 1 && !pixels.empty())
        pixels.push_back(pixels.front());
    const Colour pen = surface.penColour();
    surface.setPenColour(kOutlineColour);
    surface.polyline(pixels);
    surface.setPenColour(pen);
    for (const Vertex &p : tools.curveItem.points)
        drawXformDot(surface, p.x, p.y, kOutlineColour, 2);
}

} // namespace tessella
