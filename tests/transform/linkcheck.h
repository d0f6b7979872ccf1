// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "modelfixture.h"

#include "document/geometry.h"

namespace tessella::testing {

// Checks that the reshaped polygon keeps tiling: destinations are exact images of their
// sources, and the returned outline, copied by a link's isometry, meets itself.
class LinkTest : public ModelTest
{
protected:
    Node *nextCorner(Node *n) const
    {
        n = n->fLink;
        while (n != chain.nilNode() && !n->Anchored)
            n = n->fLink;
        return n;
    }
    Node *prevCornerOf(Node *n) const
    {
        while (n != chain.nilNode() && !n->Anchored)
            n = n->bLink;
        return n;
    }
    std::vector<Node *> run(Node *from, Node *to) const
    {
        std::vector<Node *> out{from};
        for (Node *n = from->fLink; n != to && n != chain.nilNode(); n = n->fLink)
            out.push_back(n);
        out.push_back(to);
        return out;
    }

    // Source and destination of the active link, in chain order.
    std::vector<Node *> sourceRun() const
    {
        switch (xforms.xformIndex()) {
        case XformTranslate:
            return run(xforms.xlSrc, nextCorner(xforms.xlSrc));
        case XformCenterRotation:
            return run(prevCornerOf(xforms.rotMid), xforms.rotMid);
        case XformVertexRotation:
            return run(xforms.rotPivot.fLink, nextCorner(xforms.rotPivot.fLink));
        default:
            return run(xforms.glSrc, nextCorner(xforms.glSrc));
        }
    }
    std::vector<Node *> destinationRun() const
    {
        switch (xforms.xformIndex()) {
        case XformTranslate:
            return run(prevCornerOf(xforms.xlDst->bLink), xforms.xlDst);
        case XformCenterRotation:
            return run(xforms.rotMid, nextCorner(xforms.rotMid));
        case XformVertexRotation:
            return run(xforms.rotPivot.bLink, nextCorner(xforms.rotPivot.bLink));
        default:
            return run(prevCornerOf(xforms.glDst->bLink), xforms.glDst);
        }
    }

    static void expectNear(double x, double y, Vertex v, double tol, const char *what)
    {
        EXPECT_NEAR(x, v.x, tol) << what;
        EXPECT_NEAR(y, v.y, tol) << what;
    }

    // The destination is the image of the source, point for point, handle for handle.
    void expectImage(double cornerTol)
    {
        const Isometry m = xforms.linkIsometry();
        const auto src = sourceRun();
        const auto dst = destinationRun();
        ASSERT_EQ(src.size(), dst.size());
        const size_t last = src.size() - 1;
        const bool rev = m.reversesHandles;
        for (size_t j = 0; j <= last; ++j) {
            const Node *s = src[rev ? last - j : j];
            const Node *d = dst[j];
            const double tol = (j == 0 || j == last) ? cornerTol : 1e-9;
            expectNear(d->x, d->y, m.apply(s->x, s->y), tol, "point");
            if (j > 0 && j < last) {
                EXPECT_FALSE(d->Anchored);
                expectNear(d->fcpX, d->fcpY,
                           rev ? m.apply(s->bcpX, s->bcpY) : m.apply(s->fcpX, s->fcpY), 1e-9,
                           "forward handle");
                expectNear(d->bcpX, d->bcpY,
                           rev ? m.apply(s->fcpX, s->fcpY) : m.apply(s->bcpX, s->bcpY), 1e-9,
                           "backward handle");
            }
            if (j < last) {
                EXPECT_EQ(d->nPoints, src[rev ? last - 1 - j : j]->nPoints) << "segment " << j;
            }
        }
        const Node *s0 = src.front(), *sl = src.back();
        if (rev) {
            expectNear(dst.front()->fcpX, dst.front()->fcpY, m.apply(sl->bcpX, sl->bcpY), 1e-9,
                       "start");
            expectNear(dst.back()->bcpX, dst.back()->bcpY, m.apply(s0->fcpX, s0->fcpY), 1e-9,
                       "end");
        } else {
            expectNear(dst.front()->fcpX, dst.front()->fcpY, m.apply(s0->fcpX, s0->fcpY), 1e-9,
                       "start");
            expectNear(dst.back()->bcpX, dst.back()->bcpY, m.apply(sl->bcpX, sl->bcpY), 1e-9,
                       "end");
        }
    }

    // Outline of edge k (corner k to corner k + 1) in the returned polygon.
    std::vector<Vertex> returnedEdge(const Tile &t, int k) const
    {
        const auto cs = corners();
        std::vector<size_t> at;
        size_t i = 0;
        for (size_t c = 0; c + 1 < cs.size(); ++c) {
            const Vertex v{cs[c]->x - chain.editOffsetX, cs[c]->y - chain.editOffsetY};
            while (i < static_cast<size_t>(t.nVerts) && !(t.verts[i] == v))
                ++i;
            at.push_back(i);
        }
        at.push_back(t.nVerts);
        return {t.verts.begin() + at[k], t.verts.begin() + at[k + 1] + 1};
    }

    // The polygon copied by `m` lays the image of edge `src` exactly on edge `dst`.
    void expectTiles(int src, int dst, const Isometry &m, double tol)
    {
        const Tile t = chain.flatten(doc.xfTile);
        const auto a = returnedEdge(t, src);
        const auto b = returnedEdge(t, dst);
        ASSERT_EQ(a.size(), b.size());
        ASSERT_GT(a.size(), 2u) << "the edge carries edits";
        for (size_t j = 0; j < a.size(); ++j) {
            const Vertex p = a[m.reversesHandles ? a.size() - 1 - j : j];
            const Vertex q = m.apply(p.x + chain.editOffsetX, p.y + chain.editOffsetY);
            EXPECT_NEAR(q.x - chain.editOffsetX, b[j].x, tol) << "sample " << j;
            EXPECT_NEAR(q.y - chain.editOffsetY, b[j].y, tol) << "sample " << j;
        }
    }

    Vertex at(const Node *n) const { return {n->x, n->y}; }
    static Vertex mix(Vertex a, Vertex b, double t)
    {
        return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
    }

    // Adds, drags, curves, turns handles and deletes points on the source edge, checking
    // the destination after every step.
    void editSource(double cornerTol)
    {
        auto src = sourceRun();
        const Vertex s = at(src.front()), e = at(src.back());
        const long before = chain.countPoints();
        const size_t dstBefore = destinationRun().size();
        click(mix(s, e, 0.3));
        EXPECT_EQ(chain.countPoints(), before + 2);
        EXPECT_EQ(destinationRun().size(), dstBefore + 1);
        expectImage(cornerTol);

        // A second point pulled off the line by the same press; the destination follows
        // only on release without "xform preview".
        const Vertex b = mix(s, e, 0.7);
        const Vertex off{b.x + (e.y - s.y) * 0.08, b.y - (e.x - s.x) * 0.08};
        editor.mouseDown(PointerButton::Left, b.x, b.y);
        editor.mouseMove(off.x, off.y, false);
        EXPECT_EQ(destinationRun().size() + 1, sourceRun().size());
        editor.mouseUp();
        expectImage(cornerTol);
        EXPECT_EQ(chain.countPoints(), before + 4);
        src = sourceRun();
        ASSERT_EQ(src.size(), 4u);
        Node *p1 = src[1], *p2 = src[2];
        EXPECT_EQ(at(p2).x, off.x);

        // With the preview the image moves during the drag.
        editor.mouseDown(PointerButton::Left, p2->x, p2->y);
        editor.mouseMove(off.x + 3, off.y + 2, true);
        expectImage(cornerTol);
        editor.mouseUp();

        // Curve mode: the first segment gets 10 line segments, then 4, and its handle moves.
        editor.cmdCurves();
        click(mix(s, at(p1), 0.5));
        EXPECT_EQ(src[0]->nPoints, 11);
        EXPECT_EQ(host.segmentPoints, 11);
        EXPECT_TRUE(src[0]->fActive);
        EXPECT_TRUE(p1->bActive);
        expectImage(cornerTol);
        ASSERT_TRUE(editor.setSegmentPoints(5));
        EXPECT_EQ(src[0]->nPoints, 5);
        expectImage(cornerTol);
        drag({src[0]->fcpX, src[0]->fcpY}, {src[0]->fcpX + 3, src[0]->fcpY + 4});
        expectImage(cornerTol);

        // A red point in curve mode curves both its segments; the right button turns the
        // other handle along.
        click(at(p2));
        EXPECT_EQ(p1->nPoints, 11);
        EXPECT_EQ(p2->nPoints, 11);
        const float turn = signedAngle(p2->fcpX, p2->fcpY, p2->x, p2->y, p2->bcpX, p2->bcpY);
        editor.mouseDown(PointerButton::Right, p2->fcpX, p2->fcpY);
        ASSERT_TRUE(editor.dragHandle);
        editor.mouseMove(p2->fcpX + 2, p2->fcpY - 5, false);
        editor.mouseUp();
        const float now = signedAngle(p2->fcpX, p2->fcpY, p2->x, p2->y, p2->bcpX, p2->bcpY);
        EXPECT_NEAR(std::remainder(now - turn, 2 * 3.14159265358979), 0, 1e-4);
        expectImage(cornerTol);
        editor.cmdCurves();

        // The right button deletes the first point; the destination loses its image.
        editor.mouseDown(PointerButton::Right, p1->x, p1->y);
        editor.mouseUp();
        EXPECT_EQ(sourceRun().size(), 3u);
        EXPECT_EQ(destinationRun().size(), 3u);
        expectImage(cornerTol);
    }
};

} // namespace tessella::testing
