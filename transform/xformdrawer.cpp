// SPDX-License-Identifier: GPL-3.0-or-later
#include "transform/xformdrawer.h"

#include "document/colour.h"
#include "transform/chain.h"

#include <cmath>
#include <numbers>

namespace tessella {

namespace {

// No drawing walk runs longer than the chain may be; a damaged chain cannot hang it.
constexpr long kMaxWalk = kMaxOutlinePoints + 2;
constexpr double kPixelLimit = 1e9;

// Keeps the pen and fill of the surface as the caller left them.
class StyleGuard
{
public:
    explicit StyleGuard(Surface &s)
        : s_(s), pen_(s.penColour()), width_(s.penWidth()), dashed_(s.dashed()),
          fill_(s.fillColour()), style_(s.fillStyle())
    {}
    ~StyleGuard()
    {
        s_.setPenColour(pen_);
        s_.setPenWidth(width_);
        s_.setDashed(dashed_);
        s_.setFillColour(fill_);
        s_.setFillStyle(style_);
    }
    StyleGuard(const StyleGuard &) = delete;
    StyleGuard &operator=(const StyleGuard &) = delete;

private:
    Surface &s_;
    Colour pen_;
    int width_;
    bool dashed_;
    Colour fill_;
    int style_;
};

// Nodes from firstNode to lastNode, stopping at nilNode.
template <class F> void forEachNode(const Chain &chain, F f)
{
    if (chain.empty())
        return;
    long steps = 0;
    for (Node *v = chain.firstNode; v && v != chain.nilNode() && steps < kMaxWalk;
         v = v->fLink, ++steps) {
        f(v);
        if (v == chain.lastNode)
            break;
    }
}

bool hasSegment(const Chain &chain, const Node *v)
{
    return v != chain.lastNode && v->fLink && v->fLink != chain.nilNode();
}

void drawItem(Surface &surface, const Sketch &item, const XformDrawSettings &settings)
{
    const int n = std::min<int>(item.nPoints, static_cast<int>(item.points.size()));
    if (n <= 0)
        return;
    std::vector<PixelPoint> points;
    points.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        if (auto p = surfacePixel(surface, item.points[i].x, item.points[i].y))
            points.push_back(*p);
    }
    surface.setPenColour(item.negative ? invertColor(settings.tileColour) : 0);
    if (item.kind == 0) {
        surface.polyline(points);
        return;
    }
    surface.setFillColour(kSketchFillColour);
    surface.setFillStyle(item.fillStyle == 0 ? kFillSolid : kFillTransparent);
    surface.polygon(points);
}

void drawRegular(Surface &surface, const RegularPreview &r, const XformDrawSettings &settings)
{
    if (r.sides < 3)
        return;
    Sketch item;
    item.kind = 1;
    item.negative = r.negative ? kTrue : kFalse;
    item.fillStyle = r.filled ? 0 : 1;
    for (int k = 0; k <= r.sides; ++k) {
        const double a = 2 * std::numbers::pi * k / r.sides;
        item.points.push_back(
            {r.centreX + r.radius * std::cos(a), r.centreY + r.radius * std::sin(a)});
    }
    item.nPoints = static_cast<int16_t>(item.points.size());
    drawItem(surface, item, settings);
}

void drawBoundary(Surface &surface, const XformDrawSettings &settings)
{
    const double w = settings.areaWidth;
    const double h = settings.areaHeight;
    surface.setPenWidth(2);
    surface.setPenColour(kBoundaryColour);
    surface.line(0, 0, w, 0);
    surface.lineTo(w, h);
    surface.lineTo(0, h);
    surface.lineTo(0, 0);
    surface.setPenWidth(1);
}

void drawCornerOutline(Surface &surface, const Chain &chain)
{
    bool first = true;
    surface.setDashed(true);
    forEachNode(chain, [&](const Node *v) {
        if (!v->Anchored)
            return;
        if (first) {
            surface.setPoint(v->x, v->y, kCornerOutlineColour);
            first = false;
        } else {
            surface.lineTo(v->x, v->y, kCornerOutlineColour);
        }
    });
    surface.setDashed(false);
}

void drawCurves(Surface &surface, const Chain &chain)
{
    forEachNode(chain, [&](const Node *v) {
        if (!hasSegment(chain, v) || v->nPoints < 2)
            return;
        const int segments = v->nPoints - 1;
        Vertex p = chain.segmentPoint(v, 0);
        for (int k = 1; k <= segments; ++k) {
            const Vertex q = chain.segmentPoint(v, static_cast<double>(k) / segments);
            surface.line(p.x, p.y, q.x, q.y, kOutlineColour);
            p = q;
        }
    });
}

void drawStraightChain(Surface &surface, const Chain &chain)
{
    forEachNode(chain, [&](const Node *v) {
        if (hasSegment(chain, v))
            surface.line(v->x, v->y, v->fLink->x, v->fLink->y, v->lineColr);
    });
    forEachNode(chain, [&](const Node *v) {
        drawXformDot(surface, v->x, v->y, v == chain.firstNode ? 0 : v->ptColr, 2);
    });
}

void drawHandles(Surface &surface, const Chain &chain)
{
    forEachNode(chain, [&](const Node *v) {
        if (v != chain.lastNode && v->fActive) {
            surface.line(v->x, v->y, v->fcpX, v->fcpY, kOutlineColour);
            drawXformDot(surface, v->fcpX, v->fcpY, kOutlineColour, 3);
        }
        if (v != chain.firstNode && v->bActive) {
            surface.line(v->x, v->y, v->bcpX, v->bcpY, kOutlineColour);
            drawXformDot(surface, v->bcpX, v->bcpY, kOutlineColour, 3);
        }
    });
}

} // namespace

std::optional<PixelPoint> surfacePixel(const Surface &surface, double x, double y)
{
    const double px = std::floor((x - surface.originX()) * surface.zoom());
    const double py = std::floor((y - surface.originY()) * surface.zoom());
    if (!(std::abs(px) <= kPixelLimit && std::abs(py) <= kPixelLimit))
        return std::nullopt;
    return PixelPoint{static_cast<int>(px), static_cast<int>(py)};
}

void drawXformDot(Surface &surface, double x, double y, Colour colour, int radius)
{
    const std::optional<PixelPoint> p = surfacePixel(surface, x, y);
    if (!p || !surface.mayTouch(p->x - radius, p->y - radius, p->x + radius, p->y + radius))
        return;
    StyleGuard guard(surface);
    surface.setPenWidth(1);
    surface.setDashed(false);
    surface.setPenColour(colour);
    surface.setFillColour(colour);
    surface.setFillStyle(kFillSolid);
    surface.ellipse(p->x - radius, p->y - radius, p->x + radius, p->y + radius);
}

void drawXform(Surface &surface, const Chain &chain, const std::vector<Sketch> &items, int itemEnd,
               const XformDrawSettings &settings, const Sketch *entering,
               const std::optional<RegularPreview> &regular)
{
    StyleGuard guard(surface);
    surface.setPenWidth(1);
    surface.setDashed(false);
    if (settings.sketches) {
        const std::size_t end =
            std::min(items.size(), static_cast<std::size_t>(std::max(itemEnd, 0)));
        for (std::size_t i = 1; i < end; ++i) {
            if (!items[i].deletedMark)
                drawItem(surface, items[i], settings);
        }
        if (regular)
            drawRegular(surface, *regular, settings);
    }
    if (settings.boundary)
        drawBoundary(surface, settings);
    if (settings.tileOutline)
        drawCornerOutline(surface, chain);
    if (settings.curves)
        drawCurves(surface, chain);
    drawStraightChain(surface, chain);
    if (entering) {
        // The segments entered so far, in the colour the finished item will have.
        Sketch open = *entering;
        open.kind = 0;
        drawItem(surface, open, settings);
        const int n = std::min<int>(entering->nPoints, static_cast<int>(entering->points.size()));
        for (int i = 0; i < n; ++i)
            drawXformDot(surface, entering->points[i].x, entering->points[i].y, 0, 2);
    }
    if (settings.curveMode)
        drawHandles(surface, chain);
}

} // namespace tessella
