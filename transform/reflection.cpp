// SPDX-License-Identifier: GPL-3.0-or-later
// Reflection of the whole polygon on its rightmost vertical edge, and its undoing.
#include "transform/sketchstore.h"
#include "transform/transformations.h"

#include <algorithm>
#include <cmath>

namespace tessella {

namespace {

constexpr double kTolerance = 0.0001;

} // namespace

Node *Transformations::findReflectionEdge() const
{
    Node *nil = chain_.nilNode();
    for (Node *a = chain_.firstNode; a != nil && a != chain_.lastNode; a = chain_.edgeEnd(a)) {
        Node *b = chain_.edgeEnd(a);
        if (b == nil)
            break;
        if (std::fabs(a->x - b->x) >= kTolerance)
            continue;
        const double right = std::max(a->x, b->x);
        bool beyond = false;
        for (const Node *n = chain_.firstNode; n != nil; n = n->fLink)
            if (n->Anchored && n->x > right)
                beyond = true;
        if (!beyond)
            return a;
    }
    return nullptr;
}

void Transformations::reflect()
{
    Node *a = findReflectionEdge();
    if (!a) {
        selectIndex(XformNone);
        dialogs_.message("did not find a reflection edge\n"
                         "only vertical rightmost edges can be used for reflections");
        return;
    }
    Node *b = chain_.edgeEnd(a);
    // The outline doubles: refuse before anything changes when it would not fit.
    if (!chain_.fits(chain_.countPoints(), chain_.nodeCount())) {
        dialogs_.beep();
        selectIndex(XformNone);
        return;
    }
    if (a->fLink != b) {
        markDestination(a, kColourWarning);
        host_.redraw();
        if (dialogs_.askYesNo("reflection will overwrite edits on the reflection line",
                              "Do you want to proceed?") != Answer::Yes) {
            selectIndex(XformNone);
            host_.redraw();
            return;
        }
        chain_.join(a, b);
        a->nPoints = 2;
        chain_.smoothEdge(a);
    }
    if (std::fabs(a->x - b->x) >= kTolerance) {
        dialogs_.message("Reflection edge must be vertical");
        selectIndex(XformNone);
        return;
    }
    const double xr = a->x;
    Node *nil = chain_.nilNode();
    Node *first = chain_.firstNode;
    Node *closing = chain_.lastNode;

    // Close the outline into a ring (the closing node merges into the first corner),
    // then open it at the reflection edge: b .. a in the polygon's own direction.
    Node *beforeClosing = closing->bLink;
    first->bcpX = closing->bcpX;
    first->bcpY = closing->bcpY;
    chain_.join(beforeClosing, first);
    if (b == closing)
        b = first;
    if (a == closing)
        a = first;
    a->fLink = nil;
    b->bLink = nil;

    // Mirror image, walking backward from a: a' .. (mirror half) .. then on to b.
    auto mirrorX = [xr](double x) { return 2 * xr - x; };
    Node *head = nullptr;
    Node *tail = nullptr;
    for (Node *n = a; n != b && n != nil; n = n->bLink) {
        Node *m = chain_.newNode();
        m->Anchored = n->Anchored;
        m->x = mirrorX(n->x);
        m->y = n->y;
        m->bcpX = mirrorX(n->fcpX);
        m->bcpY = n->fcpY;
        m->fcpX = mirrorX(n->bcpX);
        m->fcpY = n->bcpY;
        m->nPoints = n->bLink->nPoints;
        n->refCenter = false;
        if (!head) {
            head = m;
            m->bLink = nil;
        } else {
            chain_.join(tail, m);
        }
        tail = m;
    }
    chain_.join(tail, b);
    b->bcpX = mirrorX(b->fcpX);
    b->bcpY = b->fcpY;
    b->refCenter = true;
    head->Anchored = true;
    chain_.firstNode = head;
    chain_.lastNode = a;
    a->nPoints = 2;
    chain_.refFirst = head;
    chain_.refNode = b;
    chain_.recomputeVtxPtrs();

    chain_.surfaceWidth = chain_.surfaceWidth * 4 / 3;
    mirrorSketches(sketches_, xr);
    sketches_.sketchesChanged = true;
    doc_.xfReflected = kTrue;
    host_.surfaceResized();
    host_.redraw();
}

void Transformations::unreflect()
{
    if (!doc_.xfReflected) {
        dialogs_.message("this polygon has not been reflected");
        selectIndex(XformNone);
        return;
    }
    Node *from = chain_.refFirst;
    Node *centre = chain_.refNode;
    doc_.xfReflected = kFalse;
    if (from && centre) {
        Node *f = chain_.newNode();
        f->Anchored = true;
        f->x = from->x;
        f->y = from->y;
        f->nPoints = 2;
        f->bLink = chain_.nilNode();
        chain_.join(f, centre);
        chain_.firstNode = f;
        centre->refCenter = false;
        chain_.defaultHandles(f);
        chain_.smoothEdge(f);
        chain_.recomputeVtxPtrs();
        chain_.surfaceWidth = chain_.surfaceWidth * 3 / 4;
        dropMirroredSketches(sketches_, centre->x);
    }
    chain_.refFirst = chain_.refNode = nullptr;
    sketches_.sketchesChanged = true;
    host_.surfaceResized();
    host_.redraw();
}

} // namespace tessella
