// SPDX-License-Identifier: GPL-3.0-or-later
#include "transform/transformations.h"

#include "document/geometry.h"
#include "transform/sketchstore.h"

#include <cmath>
#include <vector>

namespace tessella {

namespace {

constexpr double kTolerance = 0.0001;
const char *const kEditPrompt = "edit points on the red line\nor select a new transformation";
const char *const kProceed = "Do you want to proceed?";

double dist(const Node *a, const Node *b)
{
    return std::hypot(b->x - a->x, b->y - a->y);
}

} // namespace

Vertex Isometry::apply(double x, double y) const
{
    switch (kind) {
    case Kind::Identity:
        break;
    case Kind::Translate:
        return {x + dx, y + dy};
    case Kind::Rotate:
        return rotatePoint(cx, cy, x, y, angle);
    case Kind::Glide: {
        const Vertex m = reflectPoint(mx, my, x, y, axis);
        return rotatePoint(cx, cy, m.x + dx, m.y + dy, angle);
    }
    }
    return {x, y};
}

float signedAngle(double ax, double ay, double ox, double oy, double bx, double by)
{
    const float pi = 3.141592654f;
    const float ux = static_cast<float>(ax - ox), uy = static_cast<float>(ay - oy);
    const float vx = static_cast<float>(bx - ox), vy = static_cast<float>(by - oy);
    const float cross = ux * vy - vx * uy;
    const float dot = ux * vx + uy * vy;
    float a = std::fabs(dot) >= 0.0001f ? std::fabs(std::atan(cross / dot)) : pi / 2;
    if (dot < 0)
        a = pi - a;
    return cross < 0 ? -a : a;
}

Transformations::Transformations(Chain &chain, Document &doc, Dialogs &dialogs, TransformHost &host,
                                 SketchWorkingCopy &sketches)
    : chain_(chain), doc_(doc), dialogs_(dialogs), host_(host), sketches_(sketches)
{}

void Transformations::clearPending()
{
    pendTranslate = pendCenterRot = pendVertexRot = pendGlide = pendGlideDest = pendClear = false;
}

bool Transformations::anyPending() const
{
    return pendTranslate || pendCenterRot || pendVertexRot || pendGlide || pendGlideDest ||
           pendClear;
}

bool Transformations::linkActive() const
{
    switch (index_) {
    case XformTranslate:
        return !pendTranslate && xlSrc && xlDst;
    case XformCenterRotation:
        return !pendCenterRot && rotMid;
    case XformVertexRotation:
        return !pendVertexRot && rotPivot.fLink && rotPivot.bLink;
    case XformGlide:
        return !pendGlide && !pendGlideDest && glSrc && glDst;
    default:
        return false;
    }
}

void Transformations::resetColours()
{
    chain_.resetColours();
    host_.setNotice("select a transformation");
}

void Transformations::selectIndex(int index)
{
    host_.showXformIndex(index);
    chooseTransformation(index);
}

void Transformations::chooseTransformation(int index)
{
    if (pendClear) {
        pendClear = false;
        resetColours();
    }
    if (index != XformNone && index != XformUnreflect && doc_.xfReflected) {
        if (dialogs_.askYesNo("this polygon has been reflected",
                              "Do you want to unreflect it now?") != Answer::Yes) {
            doc_.xfReflected = kFalse;
            selectIndex(XformNone);
            doc_.xfReflected = kTrue;
            host_.redraw();
            return;
        }
        unreflect();
    }
    index_ = index;
    switch (index) {
    case XformNone:
        host_.hideXformList();
        resetColours();
        host_.redraw();
        break;
    case XformTranslate:
        host_.clearWants();
        pendTranslate = true;
        host_.setNotice("select a source edge");
        break;
    case XformCenterRotation:
        host_.clearWants();
        pendCenterRot = true;
        host_.setNotice("select an edge");
        break;
    case XformVertexRotation:
        host_.clearWants();
        pendVertexRot = true;
        host_.setNotice("select a source edge");
        break;
    case XformReflect:
    case XformUnreflect:
        host_.clearWants();
        deactivateHandles();
        curveMode = false;
        host_.curveModeOff();
        resetColours();
        if (index == XformReflect) {
            reflect();
        } else {
            unreflect();
            host_.setNotice("select a transformation");
        }
        break;
    case XformGlide:
        host_.clearWants();
        pendGlide = true;
        host_.setNotice("select a source edge");
        break;
    default:
        break;
    }
    deactivateHandles();
    host_.redraw();
}

void Transformations::commonOpening(int index)
{
    selectIndex(XformNone);
    host_.redraw();
    selectIndex(index);
}

bool Transformations::selectionClick(double x, double y, double hitRadius)
{
    if (!(pendVertexRot || pendCenterRot || pendGlide || pendGlideDest || pendTranslate))
        return false;
    Node *hit = chain_.traverse(x, y, hitRadius);
    if (hit == chain_.nilNode()) {
        dialogs_.beep();
        return true;
    }
    if (pendVertexRot) {
        selectVertexRotation(hit);
    } else if (pendCenterRot) {
        selectCenterRotation(hit);
        pendCenterRot = false;
    } else if (pendGlide) {
        selectGlideSource(hit);
        pendGlideDest = true;
    } else if (pendGlideDest && !pendTranslate) {
        selectGlideDest(hit);
    } else if (pendTranslate) {
        selectTranslate(hit);
        pendTranslate = false;
    }
    return true;
}

void Transformations::markSource(Node *start)
{
    Node *end = chain_.edgeEnd(start);
    start->lineColr = kColourSource;
    for (Node *n = start->fLink; n != end && n != chain_.nilNode(); n = n->fLink)
        n->lineColr = n->ptColr = kColourSource;
    if (end != chain_.nilNode())
        end->ptColr = kColourNone;
}

void Transformations::markDestination(Node *start, Colour colour)
{
    Node *end = chain_.edgeEnd(start);
    start->lineColr = colour;
    for (Node *n = start->fLink; n != end && n != chain_.nilNode(); n = n->fLink)
        n->lineColr = n->ptColr = colour;
}

bool Transformations::destinationHasEdits(Node *start) const
{
    return !start->fLink->Anchored || start->nPoints != 2;
}

bool Transformations::confirmOverwrite(Node *srcStart, Node *dstStart, Node *dstEnd)
{
    if (!destinationHasEdits(dstStart))
        return true;
    markDestination(dstStart, kColourWarning);
    markSource(srcStart);
    host_.redraw();
    if (dialogs_.askYesNo("transformatiom might overwrite edits on the destination edge",
                          kProceed) != Answer::Yes) {
        selectIndex(XformNone);
        host_.redraw();
        return false;
    }
    chain_.join(dstStart, dstEnd);
    dstStart->nPoints = 2;
    chain_.smoothEdge(dstStart);
    return true;
}

void Transformations::selectTranslate(Node *clicked)
{
    commonOpening(XformTranslate);
    Node *s = chain_.edgeStart(clicked);
    Node *e = chain_.edgeEnd(s);
    markSource(s);
    Node *c1 = chain_.firstNode;
    Node *c2 = chain_.nilNode();
    for (; c1 != chain_.nilNode() && c1 != chain_.lastNode; c1 = c2) {
        c2 = chain_.edgeEnd(c1);
        if (c2 == chain_.nilNode()) {
            c1 = c2;
            break;
        }
        if (c1 != s && std::fabs((e->x - s->x) - (c1->x - c2->x)) < kTolerance &&
            std::fabs((e->y - s->y) - (c1->y - c2->y)) < kTolerance)
            break;
    }
    if (c1 == chain_.nilNode() || c1 == chain_.lastNode) {
        selectIndex(XformNone);
        dialogs_.message("could not find a parallel and congruent edge");
        return;
    }
    xlSrc = s;
    xlDst = c2;
    if (!confirmOverwrite(s, c1, c2))
        return;
    markDestination(c1, kColourDestination);
    doXlate();
    host_.setNotice(kEditPrompt);
}

void Transformations::selectCenterRotation(Node *clicked)
{
    commonOpening(XformCenterRotation);
    Node *s = chain_.edgeStart(clicked);
    Node *e = chain_.edgeEnd(s);
    Node *mid = nullptr;
    bool insert = s->fLink == e && s->nPoints == 2;
    if (!insert) {
        for (Node *n = s->fLink; n != e && n != chain_.nilNode(); n = n->fLink)
            if (n->rotCenter)
                mid = n;
        if (!mid) {
            markDestination(s, kColourWarning);
            host_.redraw();
            if (dialogs_.askYesNo("this edge has no center point and already contains edits",
                                  kProceed) != Answer::Yes) {
                selectIndex(XformNone);
                host_.redraw();
                return;
            }
            chain_.join(s, e);
            s->nPoints = 2;
            chain_.smoothEdge(s);
            insert = true;
        }
    }
    if (insert) {
        if (!chain_.fits(1, 1)) {
            dialogs_.beep();
            selectIndex(XformNone);
            return;
        }
        s->lineColr = kColourSource;
        s->nPoints = 2;
        mid = chain_.insertAfter(s);
        mid->x = (s->x + e->x) / 2;
        mid->y = (s->y + e->y) / 2;
        mid->rotCenter = true;
        mid->Anchored = false;
        mid->nPoints = 2;
        mid->vtxPtr = s->vtxPtr;
        chain_.defaultHandles(mid);
    }
    rotMid = mid;
    s->lineColr = kColourSource;
    for (Node *n = s->fLink; n != mid; n = n->fLink)
        n->lineColr = n->ptColr = kColourSource;
    mid->ptColr = kColourNone;
    mid->lineColr = kColourDestination;
    for (Node *n = mid->fLink; n != e && n != chain_.nilNode(); n = n->fLink)
        n->lineColr = n->ptColr = kColourDestination;
    mapCenterRotation();
    host_.setNotice(kEditPrompt);
}

void Transformations::selectVertexRotation(Node *clicked)
{
    commonOpening(XformVertexRotation);
    Node *v = chain_.edgeStart(clicked);
    Node *n = chain_.edgeEnd(v);
    Node *p = chain_.prevCorner(v);
    rotPivot = Node{};
    rotPivot.fLink = v;
    rotPivot.bLink = p;
    rotPivot.x = v->x;
    rotPivot.y = v->y;
    if (std::fabs(dist(v, n) - dist(p, v)) >= kTolerance) {
        dialogs_.message("adjacent edges are not congruent");
        return;
    }
    pendVertexRot = false;
    // The destination ends at the next corner after P: the closing node when V is the
    // first corner, never the first node itself (that would close the chain into a ring).
    if (!confirmOverwrite(v, p, chain_.edgeEnd(p)))
        return;
    xfAngle = signedAngle(n->x, n->y, v->x, v->y, p->x, p->y);
    markSource(v);
    markDestination(p, kColourDestination);
    mapVertexRotation();
    host_.setNotice(kEditPrompt);
}

void Transformations::selectGlideSource(Node *clicked)
{
    selectIndex(XformNone);
    host_.redraw();
    selectIndex(XformGlide);
    pendGlide = false;
    Node *s = chain_.edgeStart(clicked);
    markSource(s);
    glSrc = s;
    host_.setNotice("select destination edge");
}

void Transformations::selectGlideDest(Node *clicked)
{
    Node *d0 = chain_.edgeStart(clicked);
    Node *s = glSrc;
    if (!s || d0 == s) {
        dialogs_.message("source and destination must be two different edges");
        return;
    }
    commonOpening(XformGlide);
    // The re-selection re-arms the source click; this click already chose both edges.
    pendGlide = false;
    Node *e = chain_.edgeEnd(s);
    Node *d1 = chain_.edgeEnd(d0);
    glShiftX = d0->x - s->x;
    glShiftY = d0->y - s->y;
    glDst = d1;
    markSource(s);
    // Congruence first, so a refused pair never loses the destination's edits.
    if (std::fabs(dist(s, e) - dist(d0, d1)) >= kTolerance) {
        dialogs_.message("source and destination edges are not congruent");
        selectIndex(XformNone);
        resetColours();
        pendGlideDest = false;
        host_.redraw();
        return;
    }
    if (!confirmOverwrite(s, d0, d1)) {
        pendGlideDest = false;
        return;
    }
    markDestination(d0, kColourDestination);
    pendGlideDest = false;
    host_.redraw();
    glAxis = -signedAngle(e->x, e->y, s->x, s->y, s->x + 10, s->y);
    xfAngle = signedAngle(e->x + glShiftX, e->y + glShiftY, d0->x, d0->y, d1->x, d1->y);
    mapGlide();
    host_.setNotice(kEditPrompt);
}

} // namespace tessella
