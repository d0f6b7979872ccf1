// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/dialogs.h"
#include "transform/chain.h"
#include "transform/transformations.h"

#include <cstdint>

namespace tessella {

enum class PointerButton { Left, Right };

// What the point editor asks of the window beyond TransformHost.
class EditingHost : public TransformHost
{
public:
    // hscnPoints value (2 .. 26) to show; txtnPoints then reads
    // "# of line segments = " followed by value - 1.
    virtual void showSegmentPoints(int value) = 0;
    // A marker dot on the transient layer (a forward handle picked: radius 3,
    // RGB(192, 0, 90)).
    virtual void drawDot(double x, double y, Colour colour, double radius) = 0;
    // Curve mode switched on: the curves button gets RGB(220, 110, 0), hscnPoints and
    // txtnPoints are shown, and the lstViews entry "curves" is selected.
    virtual void curveModeOn() = 0;
    // "clear edge" closes the sketch tools when they are open.
    virtual void closeSketchTools() = 0;
};

// Pointer editing of the red source edge: adding, dragging and deleting points, curve
// mode with handles, the segment count and "clear edge". Every edit is mirrored onto the
// destination through Transformations::applyLink.
//
// The window routes a surface press first to its sketch tools when they are open, then to
// mouseDown here (which serves "clear edge" and the pending selections before editing).
// Coordinates are editor coordinates; `hitRadius` is the reach in editor units
// (kHitRadius / zoom). After every call the window redraws when the host asked for it.
class PointEditor
{
public:
    PointEditor(Chain &chain, Transformations &xforms, Document &doc, Dialogs &dialogs,
                EditingHost &host);

    void mouseDown(PointerButton button, double x, double y, double hitRadius = kHitRadius);
    // Clamps into the surface, moves a dragged point or handle. With `xformPreview` (the
    // lstViews entry "xform preview") the destination follows at once.
    void mouseMove(double x, double y, bool xformPreview);
    // Ends a drag and mirrors the source onto the destination; shows the point total.
    void mouseUp();

    bool dragging() const { return dragPoint || dragHandle; }

    // cmdCurves: toggles curve mode (sets dirty).
    void cmdCurves();
    bool curveMode() const { return xforms_.curveMode; }
    // hscnPoints change (2 .. 26): every active segment gets `value` samples. Returns
    // false (beep, nothing changed) when the outline would exceed 32767 points; the
    // window then puts the scroll bar back.
    bool setSegmentPoints(int value);
    // cmdClear ("clear edge"): toggles waiting for an edge to clear. Message while
    // reflected: "reflected polygons can not be modified"; prompt "select an edge to
    // clear".
    void cmdClear();

    // Removes one red point and rebuilds the destination.
    void deletePoint(Node *p);
    // Removes every interior node of the node's edge.
    void clearEdge(Node *n);

    // Drag state.
    bool dragPoint = false;
    Node *dragNode = nullptr;
    double handleOffsets[4] = {0, 0, 0, 0};
    bool dragHandle = false;
    bool dragFwd = false;
    bool dragBwd = false;
    Node *handleNode = nullptr;
    double handleTurn = 0;
    bool dragRight = false; // the handle drag was started with the right button

private:
    Chain &chain_;
    Transformations &xforms_;
    Document &doc_;
    Dialogs &dialogs_;
    EditingHost &host_;

    Node *redPointAt(double x, double y, double hitRadius) const;
    bool handleAt(double x, double y, double hitRadius);
    void leftDown(double x, double y, double hitRadius);
    void rightDown(double x, double y, double hitRadius);
    bool curveSegment(Node *n);
    long growthIfCurved(const Node *n, int samples) const;
};

} // namespace tessella
