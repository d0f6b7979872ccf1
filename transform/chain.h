// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/document.h"
#include "document/records.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

namespace tessella {

// Role colours of the chain (packed RGB).
inline constexpr Colour kColourNone = 0;
inline constexpr Colour kColourSource = 255;           // red
inline constexpr Colour kColourDestination = 16711680; // blue
inline constexpr Colour kColourWarning = 16711935;     // magenta: edits about to be overwritten

// Default reach of a pointer in editor units at 100 % (6 screen pixels). A view zoomed
// by z passes 6 / z so the reach stays 6 screen pixels.
inline constexpr double kHitRadius = 6.0;

// Most outline points and chain nodes an edit may produce (16-bit counts).
inline constexpr long kMaxOutlinePoints = 32767;

// One element of the edge chain. Plain data; links point into the same Chain.
struct Node
{
    bool Anchored = false;  // a corner of the polygon
    bool rotCenter = false; // centre of an edge used by a centre rotation
    bool refCenter = false; // centre of a reflection
    Node *vtxPtr = nullptr; // the corner that begins this node's edge (itself for a corner)
    double x = 0;           // editor coordinates
    double y = 0;
    Colour lineColr = 0; // colour of the segment towards fLink
    Colour ptColr = 0;   // colour of the point marker
    Node *fLink = nullptr;
    Node *bLink = nullptr;
    int16_t nPoints = 0; // samples of the segment to fLink, both ends counted; 2 = straight
    bool fActive = false;
    double fcpX = 0; // second control point of the segment leaving this node
    double fcpY = 0;
    bool bActive = false;
    double bcpX = 0; // third control point of the segment arriving at this node
    double bcpY = 0;
};

// The polygon of the transform editor as a doubly linked chain of nodes, from
// `firstNode` to the closing node `lastNode` (an anchored copy of the first corner).
// Both ends link to `nilNode`, a sentinel compared by identity; every walk stops there.
// The chain owns every node it ever made; unlinked nodes stay alive (so a pointer held by
// the window never dangles) until the chain is rebuilt.
//
// Editor coordinates are plane coordinates plus (editOffsetX, editOffsetY), which puts
// the polygon in the middle of a surface three times its bounding box.
class Chain
{
public:
    Chain();
    Chain(const Chain &) = delete;
    Chain &operator=(const Chain &) = delete;

    Node *nilNode() const { return nil_; }
    Node *firstNode = nullptr;
    Node *lastNode = nullptr;

    double editOffsetX = 0;
    double editOffsetY = 0;
    // Drawing area at 100 % in editor units: 3W x 3H, 4/3 as wide while reflected.
    double surfaceWidth = 0;
    double surfaceHeight = 0;
    // Width and height as computed at opening (before any reflection widening).
    double openWidth = 0;
    double openHeight = 0;

    // Foot point of the last segmentDistance that fell inside its segment.
    double footX = 0;
    double footY = 0;

    // Reflection bookkeeping: first node of the reflected outline and the node marked as
    // the reflection centre (nullptr when the polygon is not reflected).
    Node *refFirst = nullptr;
    Node *refNode = nullptr;

    bool empty() const { return firstNode == nil_ || firstNode == nullptr; }

    // Opening: builds the chain from the polygon's corners 0 .. nVerts - 1 plus a
    // closing node on corner 0, sizes the surface from their bounding box (4/3 as wide
    // when `reflected`), sets the offsets, nPoints = 2 and default handles everywhere.
    // Returns false (chain left empty) for a tile with fewer than 3 usable corners.
    bool openFromTile(const Tile &tile, bool reflected);

    // Replaces the chain by the saved records (already checked with isValidSavedChain
    // when read). When `reflected`, refFirst = firstNode and refNode = the last node
    // after the first whose refCenter is set. When `displayVertex0` is given (vertex 0 of
    // the polygon's display copy in the tiling), the offsets become firstNode minus that
    // point, so the polygon is handed back where it was. vtxPtr is recomputed.
    // Returns false and leaves the chain unchanged for records that fail the check.
    bool restoreChain(const std::vector<NodeRecord> &recs, bool reflected,
                      std::optional<Vertex> displayVertex0 = std::nullopt);

    // The chain as records, from firstNode to lastNode.
    std::vector<NodeRecord> saveChain() const;

    // Flattens the chain: `windowTile` with its corners replaced by every segment's
    // samples at t = k / (nPoints - 1), k = 0 .. nPoints - 2 (tile coordinates), plus a
    // closing copy of the first point not counted in nVerts.
    Tile flatten(const Tile &windowTile) const;
    // flatten into doc.xfReturn, then saveChain into doc.nodeRecs.
    void writeBackTile(Document &doc, const Tile &windowTile) const;

    // Squared perpendicular distance from (X, Y) to the segment of v, or hitRadius + 1
    // when the foot is outside the segment, the segment has zero length, or v has no
    // successor. Sets footX, footY on a hit.
    double segmentDistance(double X, double Y, const Node *v, double hitRadius = kHitRadius);
    // Node whose segment passes nearest (squared distance < hitRadius + 1), ties to the
    // earlier node; nilNode when none.
    Node *traverse(double X, double Y, double hitRadius = kHitRadius);

    // Outline points of the flattened polygon (the closing copy not counted).
    long countPoints() const;
    // Nodes from firstNode to lastNode.
    long nodeCount() const;
    // True when `extraPoints` more outline points and `extraNodes` more nodes still fit
    // the 16-bit limits.
    bool fits(long extraPoints, long extraNodes) const;

    // Sample of v's segment at parameter t (cubic Bezier in power form).
    Vertex segmentPoint(const Node *v, double t) const;

    // Edge helpers. The predecessor of firstNode is lastNode.bLink; the successor of
    // lastNode is firstNode.fLink.
    Node *prevNode(const Node *v) const;
    Node *nextNode(const Node *v) const;
    // Start corner of the edge holding v (walking backward over non-anchored nodes).
    Node *edgeStart(Node *v) const;
    // End corner of the edge starting at (or holding) v (walking forward).
    Node *edgeEnd(Node *v) const;
    // Corner before corner v (for firstNode: the start of the closing edge).
    Node *prevCorner(Node *v) const;

    // Default control points of v (chord of its neighbours), both handles.
    void defaultHandles(Node *v);
    // Default handles of v's segment only: v.fcp and the successor's bcp.
    void smoothEdge(Node *v);

    // A new node owned by the chain, not linked.
    Node *newNode();
    // Links a new node between a and a.fLink and returns it.
    Node *insertAfter(Node *a);
    // Joins a directly to b, dropping the nodes between them.
    void join(Node *a, Node *b);

    // vtxPtr of every node: itself for a corner, else the start corner of its edge.
    void recomputeVtxPtrs();
    // lineColr and ptColr of every node to 0.
    void resetColours();
    // fActive and bActive of every node to false.
    void deactivateHandles();

    // Drops every node and makes the chain empty.
    void clear();

private:
    std::deque<std::unique_ptr<Node>> nodes_;
    Node *nil_ = nullptr;
    void appendNode(Node *n);
};

} // namespace tessella
