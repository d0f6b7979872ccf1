// SPDX-License-Identifier: GPL-3.0-or-later
#include "transform/chain.h"

#include "document/chaincheck.h"

#include <algorithm>
#include <cmath>

namespace tessella {

Chain::Chain()
{
    nodes_.push_back(std::make_unique<Node>());
    nil_ = nodes_.back().get();
    firstNode = lastNode = nil_;
}

void Chain::clear()
{
    nodes_.erase(nodes_.begin() + 1, nodes_.end());
    *nil_ = Node{};
    firstNode = lastNode = nil_;
    refFirst = refNode = nullptr;
}

Node *Chain::newNode()
{
    nodes_.push_back(std::make_unique<Node>());
    return nodes_.back().get();
}

void Chain::appendNode(Node *n)
{
    n->fLink = nil_;
    if (firstNode == nil_) {
        firstNode = n;
        n->bLink = nil_;
    } else {
        n->bLink = lastNode;
        lastNode->fLink = n;
    }
    lastNode = n;
}

Node *Chain::insertAfter(Node *a)
{
    Node *n = newNode();
    Node *next = a->fLink;
    n->fLink = next;
    n->bLink = a;
    if (next != nil_)
        next->bLink = n;
    else
        lastNode = n;
    a->fLink = n;
    n->vtxPtr = a->Anchored ? a : a->vtxPtr;
    return n;
}

void Chain::join(Node *a, Node *b)
{
    a->fLink = b;
    b->bLink = a;
}

bool Chain::openFromTile(const Tile &tile, bool reflected)
{
    clear();
    const int n = tile.usableVerts();
    if (n < 3)
        return false;
    // The bounding box covers the corners only: the spare element may hold anything.
    double minX = tile.verts[0].x, maxX = minX, minY = tile.verts[0].y, maxY = minY;
    for (int k = 1; k < n; ++k) {
        minX = std::min(minX, tile.verts[k].x);
        maxX = std::max(maxX, tile.verts[k].x);
        minY = std::min(minY, tile.verts[k].y);
        maxY = std::max(maxY, tile.verts[k].y);
    }
    const double w = maxX - minX;
    const double h = maxY - minY;
    openWidth = 3 * w;
    openHeight = 3 * h;
    surfaceWidth = reflected ? openWidth * 4 / 3 : openWidth;
    surfaceHeight = openHeight;
    editOffsetX = w - minX;
    editOffsetY = h - minY;
    for (int k = 0; k <= n; ++k) {
        Node *v = newNode();
        const Vertex &p = tile.verts[k < n ? k : 0];
        v->Anchored = true;
        v->vtxPtr = v;
        v->x = p.x + editOffsetX;
        v->y = p.y + editOffsetY;
        appendNode(v);
    }
    for (Node *v = firstNode; v != nil_; v = v->fLink) {
        v->nPoints = 2;
        defaultHandles(v);
    }
    return true;
}

bool Chain::restoreChain(const std::vector<NodeRecord> &recs, bool reflected,
                         std::optional<Vertex> displayVertex0)
{
    if (recs.empty() || !isValidSavedChain(recs, reflected))
        return false;
    clear();
    for (const NodeRecord &r : recs) {
        Node *v = newNode();
        v->Anchored = r.anchored != 0;
        v->rotCenter = r.rotCenter != 0;
        v->refCenter = r.refCenter != 0;
        v->x = r.x;
        v->y = r.y;
        v->lineColr = r.lineColr;
        v->ptColr = r.ptColr;
        v->nPoints = r.nPoints;
        v->fActive = r.fActive != 0;
        v->fcpX = r.fcpX;
        v->fcpY = r.fcpY;
        v->bActive = r.bActive != 0;
        v->bcpX = r.bcpX;
        v->bcpY = r.bcpY;
        appendNode(v);
    }
    recomputeVtxPtrs();
    if (reflected) {
        refFirst = firstNode;
        for (Node *v = firstNode->fLink; v != nil_; v = v->fLink)
            if (v->refCenter)
                refNode = v;
    }
    if (displayVertex0 && std::isfinite(displayVertex0->x) && std::isfinite(displayVertex0->y)) {
        editOffsetX = firstNode->x - displayVertex0->x;
        editOffsetY = firstNode->y - displayVertex0->y;
    }
    return true;
}

std::vector<NodeRecord> Chain::saveChain() const
{
    std::vector<NodeRecord> recs;
    for (const Node *v = firstNode; v != nil_; v = v->fLink) {
        NodeRecord r;
        r.anchored = v->Anchored ? kTrue : kFalse;
        r.rotCenter = v->rotCenter ? kTrue : kFalse;
        r.refCenter = v->refCenter ? kTrue : kFalse;
        r.x = v->x;
        r.y = v->y;
        r.lineColr = v->lineColr;
        r.ptColr = v->ptColr;
        r.nPoints = v->nPoints;
        r.fActive = v->fActive ? kTrue : kFalse;
        r.fcpX = v->fcpX;
        r.fcpY = v->fcpY;
        r.bActive = v->bActive ? kTrue : kFalse;
        r.bcpX = v->bcpX;
        r.bcpY = v->bcpY;
        recs.push_back(r);
    }
    return recs;
}

Vertex Chain::segmentPoint(const Node *v, double t) const
{
    const Node *n = v->fLink;
    const double cx = 3 * (v->fcpX - v->x);
    const double cy = 3 * (v->fcpY - v->y);
    const double bx = 3 * (n->bcpX - v->fcpX) - cx;
    const double by = 3 * (n->bcpY - v->fcpY) - cy;
    const double ax = n->x - v->x - cx - bx;
    const double ay = n->y - v->y - cy - by;
    return {ax * t * t * t + bx * t * t + cx * t + v->x,
            ay * t * t * t + by * t * t + cy * t + v->y};
}

Tile Chain::flatten(const Tile &windowTile) const
{
    Tile out = windowTile;
    out.verts.clear();
    out.nVerts = 0;
    for (const Node *v = firstNode; v != nil_ && v != lastNode; v = v->fLink) {
        const int n = v->nPoints;
        for (int k = 0; k <= n - 2; ++k) {
            const Vertex p = segmentPoint(v, static_cast<double>(k) / (n - 1));
            out.verts.push_back({p.x - editOffsetX, p.y - editOffsetY});
        }
    }
    const size_t count = std::min<size_t>(out.verts.size(), kMaxOutlinePoints);
    out.verts.resize(count);
    out.nVerts = static_cast<int16_t>(count);
    if (!out.verts.empty())
        out.verts.push_back(out.verts.front());
    out.vertsAllocated = true;
    return out;
}

void Chain::writeBackTile(Document &doc, const Tile &windowTile) const
{
    doc.xfReturn = flatten(windowTile);
    doc.nodeRecs = saveChain();
}

double Chain::segmentDistance(double X, double Y, const Node *v, double hitRadius)
{
    const double miss = hitRadius + 1;
    const Node *n = v->fLink;
    if (v == nil_ || n == nil_ || n == nullptr)
        return miss;
    const double L = std::hypot(n->x - v->x, n->y - v->y);
    const double d0 = std::hypot(X - v->x, Y - v->y);
    const double d1 = std::hypot(X - n->x, Y - n->y);
    if (!(L > 0) || d0 > L || d1 > L)
        return miss;
    const double a = (L * L + d0 * d0 - d1 * d1) / (2 * L);
    footX = v->x + (n->x - v->x) * a / L;
    footY = v->y + (n->y - v->y) * a / L;
    return std::fabs(d0 * d0 - a * a);
}

Node *Chain::traverse(double X, double Y, double hitRadius)
{
    double best = hitRadius + 1;
    Node *result = nil_;
    double fx = footX, fy = footY;
    for (Node *v = firstNode; v != nil_; v = v->fLink) {
        const double d = segmentDistance(X, Y, v, hitRadius);
        if (d < best) {
            best = d;
            result = v;
            fx = footX;
            fy = footY;
        }
    }
    // The foot point belongs to the node returned, not to the last segment tried.
    footX = fx;
    footY = fy;
    return result;
}

long Chain::countPoints() const
{
    long total = 0;
    for (const Node *v = firstNode; v != nil_ && v != lastNode; v = v->fLink)
        if (v->nPoints >= 2)
            total += v->nPoints - 1;
    return total;
}

long Chain::nodeCount() const
{
    long n = 0;
    for (const Node *v = firstNode; v != nil_; v = v->fLink)
        ++n;
    return n;
}

bool Chain::fits(long extraPoints, long extraNodes) const
{
    return countPoints() + extraPoints <= kMaxOutlinePoints &&
           nodeCount() + extraNodes <= kMaxOutlinePoints;
}

Node *Chain::prevNode(const Node *v) const
{
    if (v == firstNode)
        return lastNode->bLink;
    return v->bLink;
}

Node *Chain::nextNode(const Node *v) const
{
    if (v == lastNode)
        return firstNode->fLink;
    return v->fLink;
}

Node *Chain::edgeStart(Node *v) const
{
    while (v != nil_ && !v->Anchored)
        v = v->bLink;
    return v;
}

Node *Chain::edgeEnd(Node *v) const
{
    if (v == nil_)
        return v;
    v = v->fLink;
    while (v != nil_ && !v->Anchored)
        v = v->fLink;
    return v;
}

Node *Chain::prevCorner(Node *v) const
{
    Node *p = prevNode(v);
    while (p != nil_ && !p->Anchored)
        p = p->bLink;
    return p;
}

void Chain::defaultHandles(Node *v)
{
    const Node *p = prevNode(v);
    const Node *n = nextNode(v);
    if (p == nil_ || n == nil_) {
        v->fcpX = v->bcpX = v->x;
        v->fcpY = v->bcpY = v->y;
        return;
    }
    const double dPN = std::hypot(n->x - p->x, n->y - p->y);
    double kf = 0, kb = 0;
    // Neighbours on top of each other give no chord: both handles stay on the node.
    if (dPN >= 1e-9) {
        kf = std::hypot(n->x - v->x, n->y - v->y) / (3 * dPN);
        kb = std::hypot(v->x - p->x, v->y - p->y) / (3 * dPN);
    }
    v->fcpX = v->x + kf * (n->x - p->x);
    v->fcpY = v->y + kf * (n->y - p->y);
    v->bcpX = v->x - kb * (n->x - p->x);
    v->bcpY = v->y - kb * (n->y - p->y);
}

void Chain::smoothEdge(Node *v)
{
    if (v == nil_ || v->fLink == nil_)
        return;
    // Only the handles of this segment change: the neighbouring edges keep their curves.
    Node *n = v->fLink;
    const double nfx = n->fcpX, nfy = n->fcpY;
    const double vbx = v->bcpX, vby = v->bcpY;
    defaultHandles(v);
    defaultHandles(n);
    n->fcpX = nfx;
    n->fcpY = nfy;
    v->bcpX = vbx;
    v->bcpY = vby;
}

void Chain::recomputeVtxPtrs()
{
    Node *start = nil_;
    for (Node *v = firstNode; v != nil_; v = v->fLink) {
        if (v->Anchored)
            start = v;
        v->vtxPtr = v->Anchored ? v : start;
    }
}

void Chain::resetColours()
{
    for (Node *v = firstNode; v != nil_; v = v->fLink)
        v->lineColr = v->ptColr = kColourNone;
}

void Chain::deactivateHandles()
{
    for (Node *v = firstNode; v != nil_; v = v->fLink)
        v->fActive = v->bActive = false;
}

} // namespace tessella
