// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/chaincheck.h"
#include "document/document.h"
#include "document/geometry.h"
#include "platform/scripteddialogs.h"
#include "transform/chain.h"
#include "transform/editing.h"
#include "transform/sketchstore.h"
#include "transform/transformations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace tessella::testing {

// Records what the model asked of the window.
class RecordingHost : public EditingHost
{
public:
    Transformations *xforms = nullptr;
    std::string notice;
    int shownIndex = 0;
    long total = -1;
    int segmentPoints = 2;
    int resized = 0;
    bool curveButtonOn = false;

    void redraw() override {}
    void setNotice(const std::string &text) override { notice = text; }
    void showXformIndex(int index) override { shownIndex = index; }
    void hideXformList() override {}
    void clearWants() override { xforms->clearPending(); }
    void curveModeOff() override { curveButtonOn = false; }
    void surfaceResized() override { ++resized; }
    void showTotal(long points) override { total = points; }
    void showSegmentPoints(int value) override { segmentPoints = value; }
    void drawDot(double, double, Colour, double) override {}
    void curveModeOn() override { curveButtonOn = true; }
    void closeSketchTools() override {}
};

// The transform editor's model without its window. Members are public so that table
// rows can set up their case with a plain function.
class ModelTest : public ::testing::Test
{
public:
    Document doc;
    ScriptedDialogs dialogs;
    RecordingHost host;
    Chain chain;
    SketchWorkingCopy sketches;
    Transformations xforms{chain, doc, dialogs, host, sketches};
    PointEditor editor{chain, xforms, doc, dialogs, host};

    ModelTest() { host.xforms = &xforms; }

    void open(const std::vector<Vertex> &corners)
    {
        doc.xfTile.setCorners(corners);
        doc.xfTile.color = 0x336699;
        ASSERT_TRUE(chain.openFromTile(doc.xfTile, false));
    }

    std::vector<Node *> nodes() const
    {
        std::vector<Node *> out;
        for (Node *n = chain.firstNode; n != chain.nilNode(); n = n->fLink)
            out.push_back(n);
        return out;
    }
    std::vector<Node *> corners() const
    {
        std::vector<Node *> out;
        for (Node *n : nodes())
            if (n->Anchored)
                out.push_back(n);
        return out;
    }
    Node *corner(int k) const { return corners().at(k); }

    // Editor point at fraction t of the straight segment from corner a to corner b.
    Vertex along(int a, int b, double t) const
    {
        const Node *p = corner(a);
        const Node *q = corner(b);
        return {p->x + (q->x - p->x) * t, p->y + (q->y - p->y) * t};
    }

    void click(Vertex p, PointerButton button = PointerButton::Left)
    {
        editor.mouseDown(button, p.x, p.y);
        editor.mouseUp();
    }
    void drag(Vertex from, Vertex to, bool preview = false)
    {
        editor.mouseDown(PointerButton::Left, from.x, from.y);
        editor.mouseMove(to.x, to.y, preview);
        editor.mouseUp();
    }

    // Chooses a link and clicks its edges (a glide takes a second click).
    void link(int index, Vertex source, std::optional<Vertex> destination = std::nullopt)
    {
        xforms.chooseTransformation(index);
        click(source);
        if (destination)
            click(*destination);
        ASSERT_TRUE(xforms.linkActive()) << dialogs.lastMessage();
    }
};

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

    static void expectAt(double x, double y, Vertex v, double tol, const char *what, size_t j)
    {
        EXPECT_NEAR(x, v.x, tol) << what << " " << j;
        EXPECT_NEAR(y, v.y, tol) << what << " " << j;
    }

    // The destination is the image of the source, point for point, handle for handle,
    // segment for segment (a reversing map walks the source backward).
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
            const Vertex f = rev ? m.apply(s->bcpX, s->bcpY) : m.apply(s->fcpX, s->fcpY);
            const Vertex b = rev ? m.apply(s->fcpX, s->fcpY) : m.apply(s->bcpX, s->bcpY);
            const bool end = j == 0 || j == last;
            expectAt(d->x, d->y, m.apply(s->x, s->y), end ? cornerTol : 1e-9, "point", j);
            EXPECT_TRUE(end || !d->Anchored) << "interior node " << j;
            if (j < last) {
                expectAt(d->fcpX, d->fcpY, f, 1e-9, "forward handle", j);
                EXPECT_EQ(d->nPoints, src[rev ? last - 1 - j : j]->nPoints) << "segment " << j;
            }
            if (j > 0)
                expectAt(d->bcpX, d->bcpY, b, 1e-9, "backward handle", j);
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

    // Every walk ends at the closing node, links agree both ways, the chain could be
    // saved and read back, and the outline count is what flattening produces.
    void expectSoundChain()
    {
        long steps = 0;
        const Node *n = chain.firstNode;
        ASSERT_EQ(n->bLink, chain.nilNode());
        for (; n != chain.lastNode; n = n->fLink) {
            ASSERT_LT(++steps, 100000) << "the chain does not end";
            ASSERT_NE(n->fLink, chain.nilNode()) << "walk runs past the closing node";
            ASSERT_EQ(n->fLink->bLink, n);
        }
        EXPECT_EQ(chain.lastNode->fLink, chain.nilNode());
        EXPECT_TRUE(isValidSavedChain(chain.saveChain(), doc.xfReflected != 0));
        EXPECT_EQ(chain.flatten(doc.xfTile).nVerts, chain.countPoints());
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
