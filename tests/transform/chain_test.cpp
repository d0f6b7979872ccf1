// SPDX-License-Identifier: GPL-3.0-or-later
// The edge chain: opening, default handles, flattening, hit tests, save and restore.
#include "linkcheck.h"

#include <numbers>
#include <random>

namespace tessella::testing {
namespace {

// A star-shaped (so simple) polygon of n corners around (200, 100).
std::vector<Vertex> randomPolygon(std::mt19937 &rng, int n)
{
    std::uniform_real_distribution<double> radius(40, 150), jitter(0.1, 0.9);
    std::vector<Vertex> out;
    for (int k = 0; k < n; ++k) {
        const double a = 2 * std::numbers::pi * (k + jitter(rng)) / n, r = radius(rng);
        out.push_back({200 + r * std::cos(a), 100 + r * std::sin(a)});
    }
    return out;
}

// Interior nodes, sample counts (0 and 1 included: they add nothing), handles and flags
// at random, as a long editing session may leave them.
void scramble(Chain &chain, std::mt19937 &rng)
{
    std::uniform_real_distribution<double> d(-30, 30);
    for (Node *v = chain.firstNode; v != chain.lastNode; v = v->fLink) {
        if (v->Anchored && rng() % 2) {
            Node *p = chain.insertAfter(v);
            p->x = (v->x + p->fLink->x) / 2 + d(rng);
            p->y = (v->y + p->fLink->y) / 2 + d(rng);
            p->rotCenter = rng() % 2;
        }
    }
    for (Node *v = chain.firstNode; v != chain.nilNode(); v = v->fLink) {
        v->nPoints = static_cast<int16_t>(rng() % 27);
        v->fcpX = v->x + d(rng);
        v->fcpY = v->y + d(rng);
        v->bcpX = v->x + d(rng);
        v->bcpY = v->y + d(rng);
        v->fActive = v->bActive = rng() % 2;
        v->lineColr = v->ptColr = rng() % 2 ? kColourSource : kColourWarning;
    }
}

// Both handles lie on the line through the node parallel to the chord between its
// neighbours, a third of the way to each neighbour: the curve is smooth at every corner.
TEST_F(LinkTest, DefaultHandlesLieOnTheChordParallelAThirdOfTheWay)
{
    std::mt19937 rng(11);
    for (int round = 0; round < 20; ++round) {
        open(randomPolygon(rng, 3 + round % 6));
        for (Node *v : nodes()) {
            const Node *p = chain.prevNode(v);
            const Node *n = chain.nextNode(v);
            const double cx = n->x - p->x, cy = n->y - p->y, chord = std::hypot(cx, cy);
            const double kf = std::hypot(n->x - v->x, n->y - v->y) / 3 / chord;
            const double kb = std::hypot(v->x - p->x, v->y - p->y) / 3 / chord;
            EXPECT_NEAR(std::hypot(v->fcpX - v->x - kf * cx, v->fcpY - v->y - kf * cy), 0, 1e-9);
            EXPECT_NEAR(std::hypot(v->bcpX - v->x + kb * cx, v->bcpY - v->y + kb * cy), 0, 1e-9);
        }
    }
    // Neighbours closer than 1e-9: no chord, the handles stay on the node.
    open({{0, 0}, {10, 0}, {10, 10}, {10 + 1e-10, 0}});
    Node *c2 = corner(2);
    EXPECT_EQ(std::tuple(c2->fcpX, c2->fcpY, c2->bcpX, c2->bcpY),
              std::tuple(c2->x, c2->y, c2->x, c2->y));
}

// Every segment is sampled on its Bezier curve.
TEST_F(LinkTest, FlattenSamplesTheCurves)
{
    std::mt19937 rng(5);
    for (int round = 0; round < 20; ++round) {
        open(randomPolygon(rng, 3 + round % 5));
        scramble(chain, rng);
        const Tile back = chain.flatten(doc.xfTile);
        size_t i = 0;
        for (const Node *v = chain.firstNode; v != chain.lastNode; v = v->fLink) {
            const Node *n = v->fLink;
            for (int k = 0; k + 1 < v->nPoints; ++k, ++i) {
                ASSERT_LT(i, back.verts.size());
                const Vertex b = bezier(at(v), {v->fcpX, v->fcpY}, {n->bcpX, n->bcpY}, at(n),
                                        k / (v->nPoints - 1.0));
                EXPECT_NEAR(back.verts[i].x, b.x - chain.editOffsetX, 1e-9);
                EXPECT_NEAR(back.verts[i].y, b.y - chain.editOffsetY, 1e-9);
            }
        }
        ASSERT_EQ(std::tuple(back.nVerts, chain.countPoints(), back.verts.size()),
                  std::tuple(int16_t(i), long(i), i + 1));
        EXPECT_TRUE(back.verts.back() == back.verts.front() && back.color == doc.xfTile.color);
    }
    // Straight segments hand back exactly the corners.
    open({{3, 4}, {40, 4}, {52, 30}, {15, 30}});
    EXPECT_EQ(chain.flatten(doc.xfTile).verts, doc.xfTile.verts);
    // The surface is three times the corners' box, the polygon in its middle third.
    EXPECT_EQ(
        std::tuple(chain.surfaceWidth, chain.surfaceHeight, chain.editOffsetX, chain.editOffsetY),
        std::tuple(147.0, 78.0, 46.0, 22.0));
    // Records that cannot be walked leave the chain as it was (the table of broken chains
    // belongs to the chain check).
    auto recs = chain.saveChain();
    for (auto &r : recs)
        r.anchored = 0;
    EXPECT_FALSE(chain.restoreChain(recs, false) || chain.restoreChain({}, false));
    EXPECT_EQ(chain.nodeCount(), 5);
}

} // namespace
} // namespace tessella::testing
