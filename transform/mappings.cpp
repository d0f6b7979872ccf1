// SPDX-License-Identifier: GPL-3.0-or-later
// The mappings that rebuild a destination edge as the image of its source.
#include "transform/transformations.h"

#include <vector>

namespace tessella {

namespace {

constexpr double kPi = 3.14159265358979323846;

} // namespace

Isometry Transformations::linkIsometry() const
{
    return isometryFor(index_);
}

Isometry Transformations::isometryFor(int index) const
{
    Isometry m;
    switch (index) {
    case XformTranslate:
        if (xlSrc && xlDst) {
            m.kind = Isometry::Kind::Translate;
            m.dx = xlDst->x - xlSrc->x;
            m.dy = xlDst->y - xlSrc->y;
        }
        break;
    case XformCenterRotation:
        if (rotMid) {
            m.kind = Isometry::Kind::Rotate;
            m.cx = rotMid->x;
            m.cy = rotMid->y;
            m.angle = kPi;
        }
        break;
    case XformVertexRotation:
        if (rotPivot.fLink) {
            m.kind = Isometry::Kind::Rotate;
            m.cx = rotPivot.x;
            m.cy = rotPivot.y;
            m.angle = xfAngle;
        }
        break;
    case XformGlide:
        if (glSrc && glDst) {
            m.kind = Isometry::Kind::Glide;
            m.reversesHandles = false;
            m.mx = glSrc->x;
            m.my = glSrc->y;
            m.axis = glAxis;
            m.dx = glShiftX;
            m.dy = glShiftY;
            m.cx = glSrc->x + glShiftX;
            m.cy = glSrc->y + glShiftY;
            m.angle = xfAngle;
        }
        break;
    default:
        break;
    }
    return m;
}

void Transformations::applyLink()
{
    if (!linkActive())
        return;
    switch (index_) {
    case XformTranslate:
        doXlate();
        break;
    case XformCenterRotation:
        mapCenterRotation();
        break;
    case XformVertexRotation:
        mapVertexRotation();
        break;
    case XformGlide:
        mapGlide();
        break;
    default:
        break;
    }
}

void Transformations::doXlate()
{
    if (!xlSrc || !xlDst)
        return;
    Node *c1 = chain_.edgeStart(xlDst->bLink);
    rebuild(xlSrc, chain_.edgeEnd(xlSrc), c1, xlDst, isometryFor(XformTranslate));
    finishMapping();
}

void Transformations::mapCenterRotation()
{
    if (!rotMid)
        return;
    rebuild(chain_.edgeStart(rotMid), rotMid, rotMid, chain_.edgeEnd(rotMid),
            isometryFor(XformCenterRotation));
    finishMapping();
}

void Transformations::mapVertexRotation()
{
    if (!rotPivot.fLink || !rotPivot.bLink)
        return;
    Node *v = rotPivot.fLink;
    Node *p = rotPivot.bLink;
    // The destination's end is looked up afresh: never a node captured before an edit.
    rebuild(v, chain_.edgeEnd(v), p, chain_.edgeEnd(p), isometryFor(XformVertexRotation));
    finishMapping();
}

void Transformations::mapGlide()
{
    if (!glSrc || !glDst)
        return;
    Node *d0 = chain_.edgeStart(glDst->bLink);
    rebuild(glSrc, chain_.edgeEnd(glSrc), d0, glDst, isometryFor(XformGlide));
    finishMapping();
}

void Transformations::finishMapping()
{
    host_.showTotal(chain_.countPoints());
    host_.redraw();
}

void Transformations::rebuild(Node *srcStart, Node *srcEnd, Node *dstStart, Node *dstEnd,
                              const Isometry &m)
{
    Node *nil = chain_.nilNode();
    std::vector<Node *> src{srcStart};
    for (Node *n = srcStart->fLink; n != srcEnd && n != nil && !n->Anchored; n = n->fLink)
        src.push_back(n);
    src.push_back(srcEnd);
    std::vector<Node *> dst{dstStart};
    for (Node *n = dstStart->fLink; n != dstEnd && n != nil && !n->Anchored; n = n->fLink)
        dst.push_back(n);
    const size_t inner = src.size() - 2;
    // The destination gets exactly as many nodes as the source: new ones at its end,
    // extra ones (never left by the editing commands) dropped.
    while (dst.size() - 1 < inner) {
        Node *d = chain_.insertAfter(dst.back());
        d->lineColr = d->ptColr = kColourDestination;
        dst.push_back(d);
    }
    if (dst.size() - 1 > inner) {
        dst.resize(inner + 1);
        chain_.join(dst.back(), dstEnd);
    }
    dst.push_back(dstEnd);
    auto place = [&m](Node *d, const Node *s, bool swap) {
        const Vertex p = m.apply(s->x, s->y);
        const Vertex f = m.apply(s->fcpX, s->fcpY);
        const Vertex b = m.apply(s->bcpX, s->bcpY);
        d->x = p.x;
        d->y = p.y;
        d->fcpX = swap ? b.x : f.x;
        d->fcpY = swap ? b.y : f.y;
        d->bcpX = swap ? f.x : b.x;
        d->bcpY = swap ? f.y : b.y;
        d->rotCenter = s->rotCenter;
    };
    const size_t last = inner + 1;
    if (m.reversesHandles) {
        for (size_t j = 1; j <= inner; ++j)
            place(dst[j], src[last - j], true);
        const Vertex f = m.apply(srcEnd->bcpX, srcEnd->bcpY);
        const Vertex b = m.apply(srcStart->fcpX, srcStart->fcpY);
        dstStart->fcpX = f.x;
        dstStart->fcpY = f.y;
        dstEnd->bcpX = b.x;
        dstEnd->bcpY = b.y;
        // Segment j of the destination images segment (inner - j) of the source.
        for (size_t j = 0; j <= inner; ++j)
            dst[j]->nPoints = src[inner - j]->nPoints;
    } else {
        for (size_t j = 1; j <= inner; ++j)
            place(dst[j], src[j], false);
        const Vertex f = m.apply(srcStart->fcpX, srcStart->fcpY);
        const Vertex b = m.apply(srcEnd->bcpX, srcEnd->bcpY);
        dstStart->fcpX = f.x;
        dstStart->fcpY = f.y;
        dstEnd->bcpX = b.x;
        dstEnd->bcpY = b.y;
        for (size_t j = 0; j <= inner; ++j)
            dst[j]->nPoints = src[j]->nPoints;
    }
    for (size_t j = 1; j <= inner; ++j)
        dst[j]->vtxPtr = dstStart->Anchored ? dstStart : dstStart->vtxPtr;
}

void Transformations::emptyDestination()
{
    switch (index_) {
    case XformTranslate:
        if (xlDst)
            chain_.join(chain_.edgeStart(xlDst->bLink), xlDst);
        break;
    case XformCenterRotation:
        if (rotMid)
            chain_.join(rotMid, chain_.edgeEnd(rotMid));
        break;
    case XformVertexRotation:
        if (rotPivot.bLink)
            chain_.join(rotPivot.bLink, chain_.edgeEnd(rotPivot.bLink));
        break;
    case XformGlide:
        if (glDst)
            chain_.join(chain_.edgeStart(glDst->bLink), glDst);
        break;
    default:
        break;
    }
}

} // namespace tessella
