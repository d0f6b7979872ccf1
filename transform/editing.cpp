// SPDX-License-Identifier: GPL-3.0-or-later
#include "transform/editing.h"

#include "document/geometry.h"

#include <algorithm>
#include <cmath>

namespace tessella {

namespace {

constexpr Colour kHandleMarker = 192 + 90 * 65536; // RGB(192, 0, 90)
constexpr int kCurveSamples = 11;                  // 10 line segments
constexpr int kMinSegmentPoints = 2;
constexpr int kMaxSegmentPointsSetting = 26;

bool isRedPoint(const Node *n)
{
    return !n->Anchored && n->ptColr == kColourSource;
}

} // namespace

PointEditor::PointEditor(Chain &chain, Transformations &xforms, Document &doc, Dialogs &dialogs,
                         EditingHost &host)
    : chain_(chain), xforms_(xforms), doc_(doc), dialogs_(dialogs), host_(host)
{}

Node *PointEditor::redPointAt(double x, double y, double hitRadius) const
{
    for (Node *n = chain_.firstNode; n != chain_.nilNode(); n = n->fLink) {
        if (isRedPoint(n) && std::hypot(x - n->x, y - n->y) < hitRadius)
            return n;
        if (n == chain_.lastNode)
            break;
    }
    return nullptr;
}

bool PointEditor::handleAt(double x, double y, double hitRadius)
{
    Node *nil = chain_.nilNode();
    for (Node *n = chain_.firstNode; n != nil; n = n->fLink) {
        if (n != chain_.lastNode && n->fActive &&
            std::hypot(x - n->fcpX, y - n->fcpY) < hitRadius) {
            dragHandle = true;
            handleNode = n;
            dragFwd = true;
            dragBwd = false;
            host_.drawDot(n->x, n->y, kHandleMarker, 3);
            return true;
        }
    }
    for (Node *n = chain_.firstNode; n != nil; n = n->fLink) {
        if (n != chain_.firstNode && n->bActive &&
            std::hypot(x - n->bcpX, y - n->bcpY) < hitRadius) {
            dragHandle = true;
            handleNode = n;
            dragFwd = false;
            dragBwd = true;
            return true;
        }
    }
    return false;
}

long PointEditor::growthIfCurved(const Node *n, int samples) const
{
    // The destination mirrors the source, so every sample added appears twice.
    return n->nPoints < samples ? 2L * (samples - n->nPoints) : 0;
}

void PointEditor::mouseDown(PointerButton button, double x, double y, double hitRadius)
{
    if (xforms_.pendClear) {
        Node *hit = chain_.traverse(x, y, hitRadius);
        xforms_.pendClear = false;
        xforms_.resetColours();
        if (hit == chain_.nilNode()) {
            dialogs_.beep();
        } else {
            clearEdge(hit);
            host_.showTotal(chain_.countPoints());
        }
        host_.redraw();
        return;
    }
    if (xforms_.selectionClick(x, y, hitRadius))
        return;
    if (button == PointerButton::Left)
        leftDown(x, y, hitRadius);
    else
        rightDown(x, y, hitRadius);
}

void PointEditor::leftDown(double x, double y, double hitRadius)
{
    if (!xforms_.linkActive()) {
        dialogs_.beep();
        return;
    }
    if (Node *p = redPointAt(x, y, hitRadius)) {
        Node *pred = p->bLink;
        if (curveMode() &&
            !chain_.fits(growthIfCurved(p, kCurveSamples) + growthIfCurved(pred, kCurveSamples),
                         0)) {
            dialogs_.beep();
            return;
        }
        p->rotCenter = false;
        dragPoint = true;
        dragRight = false;
        dragNode = p;
        handleOffsets[0] = p->fcpX - p->x;
        handleOffsets[1] = p->fcpY - p->y;
        handleOffsets[2] = p->bcpX - p->x;
        handleOffsets[3] = p->bcpY - p->y;
        if (curveMode()) {
            chain_.deactivateHandles();
            p->fActive = p->bActive = true;
            for (Node *seg : {pred, p}) {
                if (seg->nPoints == 2) {
                    chain_.smoothEdge(seg);
                    seg->nPoints = kCurveSamples;
                }
            }
            // The offsets follow the handles just placed.
            handleOffsets[0] = p->fcpX - p->x;
            handleOffsets[1] = p->fcpY - p->y;
            handleOffsets[2] = p->bcpX - p->x;
            handleOffsets[3] = p->bcpY - p->y;
            host_.showSegmentPoints(p->nPoints);
        }
        host_.redraw();
        return;
    }
    if (curveMode() && handleAt(x, y, hitRadius)) {
        dragRight = false;
        return;
    }
    Node *a = chain_.traverse(x, y, hitRadius);
    if (a == chain_.nilNode() || a->lineColr != kColourSource) {
        dialogs_.beep();
        return;
    }
    if (curveMode()) {
        curveSegment(a);
        return;
    }
    // One point on the source and its image on the destination: two nodes, and each
    // split segment may add a point on both sides.
    if (!chain_.fits(4, 2)) {
        dialogs_.beep();
        return;
    }
    chain_.segmentDistance(x, y, a, hitRadius);
    Node *p = chain_.insertAfter(a);
    p->x = chain_.footX;
    p->y = chain_.footY;
    p->Anchored = false;
    p->rotCenter = false;
    p->vtxPtr = a->Anchored ? a : a->vtxPtr;
    p->lineColr = a->lineColr;
    p->ptColr = kColourSource;
    p->nPoints = 2;
    a->nPoints = 2;
    chain_.defaultHandles(p);
    chain_.smoothEdge(p);
    host_.redraw();
    dragPoint = true;
    dragRight = false;
    dragNode = p;
    handleOffsets[0] = p->fcpX - p->x;
    handleOffsets[1] = p->fcpY - p->y;
    handleOffsets[2] = p->bcpX - p->x;
    handleOffsets[3] = p->bcpY - p->y;
}

bool PointEditor::curveSegment(Node *n)
{
    if (!chain_.fits(growthIfCurved(n, kCurveSamples), 0)) {
        dialogs_.beep();
        return false;
    }
    chain_.deactivateHandles();
    n->fActive = true;
    if (n->fLink != chain_.nilNode())
        n->fLink->bActive = true;
    if (n->nPoints == 2) {
        chain_.smoothEdge(n);
        n->nPoints = kCurveSamples;
    }
    host_.showSegmentPoints(n->nPoints);
    host_.redraw();
    return true;
}

void PointEditor::rightDown(double x, double y, double hitRadius)
{
    // Deleting or straightening without a live link would leave the destination stale.
    if (!xforms_.linkActive()) {
        dialogs_.beep();
        return;
    }
    if (!curveMode()) {
        if (Node *p = redPointAt(x, y, hitRadius))
            deletePoint(p);
        return;
    }
    if (Node *p = redPointAt(x, y, hitRadius)) {
        p->bLink->nPoints = 2;
        p->nPoints = 2;
        p->bActive = p->fActive = false;
        chain_.smoothEdge(p);
        host_.redraw();
        return;
    }
    if (handleAt(x, y, hitRadius)) {
        Node *n = handleNode;
        dragRight = true;
        if (dragFwd)
            handleTurn = signedAngle(n->fcpX, n->fcpY, n->x, n->y, n->bcpX, n->bcpY);
        else
            handleTurn = signedAngle(n->bcpX, n->bcpY, n->x, n->y, n->fcpX, n->fcpY);
        return;
    }
    Node *a = chain_.traverse(x, y, hitRadius);
    if (a == chain_.nilNode() || a->lineColr != kColourSource) {
        dialogs_.beep();
        return;
    }
    a->nPoints = 2;
    a->fActive = false;
    if (a->fLink != chain_.nilNode())
        a->fLink->bActive = false;
    chain_.smoothEdge(a);
    host_.redraw();
}

void PointEditor::mouseMove(double x, double y, bool xformPreview)
{
    if (!dragging())
        return;
    x = std::clamp(x, 0.0, std::max(0.0, chain_.surfaceWidth));
    y = std::clamp(y, 0.0, std::max(0.0, chain_.surfaceHeight));
    if (dragPoint && dragNode) {
        dragNode->x = x;
        dragNode->y = y;
        dragNode->fcpX = x + handleOffsets[0];
        dragNode->fcpY = y + handleOffsets[1];
        dragNode->bcpX = x + handleOffsets[2];
        dragNode->bcpY = y + handleOffsets[3];
    } else if (dragHandle && handleNode) {
        Node *n = handleNode;
        double &hx = dragFwd ? n->fcpX : n->bcpX;
        double &hy = dragFwd ? n->fcpY : n->bcpY;
        double &ox = dragFwd ? n->bcpX : n->fcpX;
        double &oy = dragFwd ? n->bcpY : n->fcpY;
        hx = x;
        hy = y;
        const double len = std::hypot(hx - n->x, hy - n->y);
        if (dragRight && len > 0) {
            // The other handle keeps its length and its angle to the dragged one.
            const double otherLen = std::hypot(ox - n->x, oy - n->y);
            const double ux = n->x + (hx - n->x) / len * otherLen;
            const double uy = n->y + (hy - n->y) / len * otherLen;
            const Vertex o = rotatePoint(n->x, n->y, ux, uy, handleTurn);
            ox = o.x;
            oy = o.y;
        }
    }
    if (xformPreview)
        xforms_.applyLink();
    host_.redraw();
}

void PointEditor::mouseUp()
{
    dragPoint = dragHandle = false;
    dragNode = handleNode = nullptr;
    xforms_.applyLink();
    host_.showTotal(chain_.countPoints());
}

void PointEditor::cmdCurves()
{
    doc_.dirty = true;
    if (!xforms_.curveMode) {
        xforms_.curveMode = true;
        host_.curveModeOn();
        host_.showTotal(chain_.countPoints());
    } else {
        xforms_.curveMode = false;
        host_.curveModeOff();
        chain_.deactivateHandles();
    }
    host_.redraw();
}

bool PointEditor::setSegmentPoints(int value)
{
    value = std::clamp(value, kMinSegmentPoints, kMaxSegmentPointsSetting);
    long growth = 0;
    for (const Node *n = chain_.firstNode; n != chain_.nilNode(); n = n->fLink)
        if (n->fActive && n != chain_.lastNode)
            growth += growthIfCurved(n, value);
    if (!chain_.fits(growth, 0)) {
        dialogs_.beep();
        return false;
    }
    for (Node *n = chain_.firstNode; n != chain_.nilNode(); n = n->fLink)
        if (n->fActive)
            n->nPoints = static_cast<int16_t>(value);
    xforms_.applyLink();
    host_.redraw();
    host_.showTotal(chain_.countPoints());
    return true;
}

void PointEditor::cmdClear()
{
    doc_.dirty = true;
    host_.closeSketchTools();
    if (doc_.xfReflected) {
        dialogs_.message("reflected polygons can not be modified");
        return;
    }
    if (xforms_.pendClear) {
        xforms_.pendClear = false;
        xforms_.resetColours();
        host_.redraw();
        return;
    }
    // "none" first: choosing it would otherwise cancel the pending clear at once.
    host_.showXformIndex(XformNone);
    xforms_.chooseTransformation(XformNone);
    xforms_.pendClear = true;
    host_.setNotice("select an edge to clear");
    host_.redraw();
}

void PointEditor::deletePoint(Node *p)
{
    if (!p || p->Anchored)
        return;
    if (p == dragNode) {
        dragPoint = false;
        dragNode = nullptr;
    }
    chain_.join(p->bLink, p->fLink);
    xforms_.emptyDestination();
    xforms_.applyLink();
    host_.redraw();
}

void PointEditor::clearEdge(Node *n)
{
    Node *s = chain_.edgeStart(n);
    Node *e = chain_.edgeEnd(s);
    if (s == chain_.nilNode() || e == chain_.nilNode())
        return;
    chain_.join(s, e);
    chain_.deactivateHandles();
    s->nPoints = 2;
}

} // namespace tessella
