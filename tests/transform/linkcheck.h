// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/chaincheck.h"
#include "document/document.h"
#include "platform/scripteddialogs.h"
#include "transform/chain.h"
#include "transform/editing.h"
#include "transform/sketchstore.h"
#include "transform/transformations.h"

#include "tests/support/tilebuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace tessella::testing {

inline Vertex mix(Vertex a, Vertex b, double t)
{
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

// Cubic Bezier by repeated interpolation, independent of the power form the code uses.
inline Vertex bezier(Vertex p0, Vertex p1, Vertex p2, Vertex p3, double t)
{
    const Vertex a = mix(p0, p1, t), b = mix(p1, p2, t), c = mix(p2, p3, t);
    return mix(mix(a, b, t), mix(b, c, t), t);
}

// The transform editor's model without its window, with the checks that the reshaped
// polygon keeps tiling: destinations are exact images of their sources, and the returned
// outline, copied by a link's isometry, meets itself. The fixture stands in for the window.
// Members are public so that table rows can set up their case with a plain function.
class LinkTest : public ::testing::Test, public EditingHost
{
public:
    Document doc;
    ScriptedDialogs dialogs;
    Chain chain;
    SketchWorkingCopy sketches;
    Transformations xforms{chain, doc, dialogs, *this, sketches};
    PointEditor editor{chain, xforms, doc, dialogs, *this};
    int resized = 0;
    Colour dot = -1; // the marker of a picked handle

    // The window's part, as far as the model needs one.
    void redraw() override {}
    void setNotice(const std::string &) override {}
    void showXformIndex(int) override {}
    void hideXformList() override {}
    void clearWants() override { xforms.clearPending(); }
    void curveModeOff() override {}
    void surfaceResized() override { ++resized; }
    void showTotal(long) override {}
    void showSegmentPoints(int) override {}
    void drawDot(double, double, Colour colour, double) override { dot = colour; }
    void curveModeOn() override {}
    void closeSketchTools() override {}

    void open(const std::vector<Vertex> &corners)
    {
        doc.xfTile = test::polygonTile(corners);
        ASSERT_TRUE(chain.openFromTile(doc.xfTile, false));
    }

    std::vector<Node *> nodes() const { return run(chain.firstNode, chain.lastNode); }
    std::vector<Node *> corners() const
    {
        auto out = nodes();
        std::erase_if(out, [](Node *n) { return !n->Anchored; });
        return out;
    }
    Node *corner(int k) const { return corners().at(k); }

    static Vertex at(const Node *n) { return {n->x, n->y}; }
    // Editor point at fraction t of the straight line from corner a to corner b.
    Vertex along(int a, int b, double t) const { return mix(at(corner(a)), at(corner(b)), t); }

    void click(Vertex p, PointerButton button = PointerButton::Left)
    {
        editor.mouseDown(button, p.x, p.y);
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

    std::vector<Node *> run(Node *from, Node *to) const
    {
        std::vector<Node *> out{from};
        for (Node *n = from->fLink; n != to && n != chain.nilNode(); n = n->fLink)
            out.push_back(n);
        out.push_back(to);
        return out;
    }

    // Source and destination of the active link, in chain order.
    std::pair<std::vector<Node *>, std::vector<Node *>> runs() const
    {
        const auto from = [this](Node *n) { return run(n, chain.edgeEnd(n)); };
        const auto upTo = [this](Node *n) { return run(chain.edgeStart(n->bLink), n); };
        switch (xforms.xformIndex()) {
        case XformTranslate:
            return {from(xforms.xlSrc), upTo(xforms.xlDst)};
        case XformCenterRotation:
            return {upTo(xforms.rotMid), from(xforms.rotMid)};
        case XformVertexRotation:
            return {from(xforms.rotPivot.fLink), from(xforms.rotPivot.bLink)};
        }
        return {from(xforms.glSrc), upTo(xforms.glDst)};
    }

    static void expectAt(Vertex a, Vertex b, double tol, const char *what, size_t j = 0)
    {
        EXPECT_LE(std::hypot(a.x - b.x, a.y - b.y), tol) << what << " " << j;
    }

    // The destination is the image of the source, point for point, handle for handle,
    // segment for segment (a reversing map walks the source backward).
    void expectImage(double cornerTol)
    {
        const Isometry m = xforms.linkIsometry();
        const auto [src, dst] = runs();
        ASSERT_EQ(src.size(), dst.size());
        const size_t last = src.size() - 1;
        const bool rev = m.reversesHandles;
        for (size_t j = 0; j <= last; ++j) {
            const Node *s = src[rev ? last - j : j];
            const Node *d = dst[j];
            const Vertex f = rev ? m.apply(s->bcpX, s->bcpY) : m.apply(s->fcpX, s->fcpY);
            const Vertex b = rev ? m.apply(s->fcpX, s->fcpY) : m.apply(s->bcpX, s->bcpY);
            const bool end = j == 0 || j == last;
            expectAt(at(d), m.apply(s->x, s->y), end ? cornerTol : 1e-9, "point", j);
            EXPECT_TRUE(end || !d->Anchored) << "interior node " << j;
            if (j < last) {
                expectAt({d->fcpX, d->fcpY}, f, 1e-9, "forward handle", j);
                EXPECT_EQ(d->nPoints, src[rev ? last - 1 - j : j]->nPoints) << "segment " << j;
            }
            if (j > 0)
                expectAt({d->bcpX, d->bcpY}, b, 1e-9, "backward handle", j);
        }
    }

    // Outline of edge k (corner k to corner k + 1) in the returned polygon.
    std::vector<Vertex> returnedEdge(const Tile &t, int k) const
    {
        std::vector<size_t> starts;
        for (Node *c : corners()) {
            const Vertex v{c->x - chain.editOffsetX, c->y - chain.editOffsetY};
            size_t i = starts.empty() ? 0 : starts.back();
            while (i < static_cast<size_t>(t.nVerts) && !(t.verts[i] == v))
                ++i;
            starts.push_back(i);
        }
        starts.back() = t.nVerts; // the closing node
        return {t.verts.begin() + starts[k], t.verts.begin() + starts[k + 1] + 1};
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
            expectAt({q.x - chain.editOffsetX, q.y - chain.editOffsetY}, b[j], tol, "sample", j);
        }
    }

    // Every walk ends at the closing node, links agree both ways, the chain could be
    // saved and read back, and the outline count is what flattening produces.
    void expectSoundChain()
    {
        long steps = 0;
        ASSERT_EQ(chain.firstNode->bLink, chain.nilNode());
        for (const Node *n = chain.firstNode; n != chain.lastNode; n = n->fLink) {
            ASSERT_LT(++steps, 100000) << "the chain does not end";
            ASSERT_NE(n->fLink, chain.nilNode()) << "a walk runs past the closing node";
            ASSERT_EQ(n->fLink->bLink, n);
            EXPECT_EQ(n->vtxPtr, chain.edgeStart(const_cast<Node *>(n)));
            EXPECT_FALSE(n->rotCenter && n->ptColr == kColourSource) << "a red point is no centre";
        }
        EXPECT_EQ(chain.lastNode->fLink, chain.nilNode());
        EXPECT_TRUE(isValidSavedChain(chain.saveChain(), doc.xfReflected != 0));
        EXPECT_EQ(chain.flatten(doc.xfTile).nVerts, chain.countPoints());
    }
};

} // namespace tessella::testing
