// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/document.h"
#include "platform/dialogs.h"
#include "transform/chain.h"

#include <string>

namespace tessella {

struct SketchWorkingCopy;

// Indexes of the transformation list `lstXforms`.
enum XformIndex : int {
    XformNone = 0,
    XformTranslate = 1,
    XformCenterRotation = 2,
    XformVertexRotation = 3,
    XformReflect = 4,
    XformUnreflect = 5,
    XformGlide = 6
};

// What the transform editor window does for the model. Messages, questions and beeps
// go through Dialogs instead.
class TransformHost
{
public:
    virtual ~TransformHost() = default;
    // Repaint the surface from the chain (and sketches).
    virtual void redraw() = 0;
    // lblNotice text; "\n" separates the two lines of a two-line prompt.
    virtual void setNotice(const std::string &text) = 0;
    // Show `index` as the selection of lstXforms WITHOUT running its click handler
    // (the model has already run it).
    virtual void showXformIndex(int index) = 0;
    // "none" hides lstXforms.
    virtual void hideXformList() = 0;
    // The window's clearWants: must call Transformations::clearPending(), close the
    // sketch tools, finish a curve sketch and drop a sketch item being entered.
    virtual void clearWants() = 0;
    // Reflect/unreflect leave curve mode: the curves button back to the normal colour,
    // hscnPoints and txtnPoints hidden. The model has cleared its own curve flag.
    virtual void curveModeOff() = 0;
    // The surface's size changed (reflect, unreflect): re-lay out and redraw.
    virtual void surfaceResized() = 0;
    // txtTotal: `points` followed by " points".
    virtual void showTotal(long points) = 0;
};

// A plane isometry as the links use it: a translation, a rotation about a centre, or
// (glide) a mirror across a line through a centre followed by a shift and a rotation.
struct Isometry
{
    enum class Kind { Identity, Translate, Rotate, Glide } kind = Kind::Identity;
    double dx = 0, dy = 0;       // translation; glide shift
    double cx = 0, cy = 0;       // rotation centre; glide: the centre of the final turn (D0)
    double angle = 0;            // rotation angle; glide: the final turn
    double mx = 0, my = 0;       // glide: a point of the mirror line (S)
    double axis = 0;             // glide: direction angle of the mirror line
    bool reversesHandles = true; // fcp maps to bcp (reverse walk) unless a glide

    Vertex apply(double x, double y) const;
};

// signedAngle(A, O, B): the angle turning O->A onto O->B, in single precision.
float signedAngle(double ax, double ay, double ox, double oy, double bx, double by);

// The edge transformations of the transform editor: choosing one (the lstXforms click),
// the click-driven selection of source and destination edges, the mappings that keep a
// destination edge the image of its source, and the whole-polygon reflection.
//
// The window forwards: lstXforms clicks to chooseTransformation (user clicks only; the
// model selects indexes itself and reports them through TransformHost::showXformIndex);
// surface clicks to PointEditor (editing.h), which routes pending selections here.
// After any call the window shows countPoints in txtTotal when the host asked for it.
class Transformations
{
public:
    Transformations(Chain &chain, Document &doc, Dialogs &dialogs, TransformHost &host,
                    SketchWorkingCopy &sketches);

    // The lstXforms click (index i). Messages: "this polygon has been reflected" /
    // "Do you want to unreflect it now?" (question), "did not find a reflection edge" /
    // "only vertical rightmost edges can be used for reflections", "Reflection edge must
    // be vertical", "reflection will overwrite edits on the reflection line" / "Do you want
    // to proceed?" (question), "this polygon has not been reflected".
    void chooseTransformation(int index);
    // Current lstXforms index as the model sees it.
    int xformIndex() const { return index_; }

    // Pending-selection flags.
    bool pendTranslate = false;
    bool pendCenterRot = false;
    bool pendVertexRot = false;
    bool pendGlide = false;
    bool pendGlideDest = false;
    bool pendClear = false;
    // Sets every pending flag to false (the model's part of the window's clearWants).
    void clearPending();
    bool anyPending() const;
    // True when a link (translate, centre or vertex rotation, glide) is selected and not
    // waiting for a click: edits of its red source are then mirrored.
    bool linkActive() const;

    // A click on the surface while a selection is pending (not pendClear: PointEditor
    // handles that). Returns false when nothing was pending (the click is for editing).
    // A click that hits no edge beeps. Messages: "could not find a parallel and congruent
    // edge", "adjacent edges are not congruent", "source and destination must be two
    // different edges", "source and destination edges are not congruent",
    // "transformatiom might overwrite edits on the destination edge" / "Do you want to
    // proceed?" (question), "this edge has no center point and already contains edits" /
    // "Do you want to proceed?" (question).
    bool selectionClick(double x, double y, double hitRadius = kHitRadius);

    void selectTranslate(Node *clicked);
    void selectCenterRotation(Node *clicked);
    void selectVertexRotation(Node *clicked);
    void selectGlideSource(Node *clicked);
    void selectGlideDest(Node *clicked);

    // Re-runs the mapping of the active link (by index); nothing for other indexes.
    void applyLink();
    void doXlate();
    void mapCenterRotation();
    void mapVertexRotation();
    void mapGlide();
    // The isometry of the active link (Identity when none).
    Isometry linkIsometry() const;

    // Empties the destination edge of the active link (before deleting a source point).
    void emptyDestination();

    // Reflection on the rightmost vertical edge; unreflection.
    void reflect();
    void unreflect();

    void resetColours(); // colours to 0 and "select a transformation"
    void deactivateHandles() { chain_.deactivateHandles(); }

    // Link fields.
    Node *xlSrc = nullptr;
    Node *xlDst = nullptr;
    Node *rotMid = nullptr;
    Node rotPivot; // fLink = pivot corner V, bLink = the corner P before it, x/y = V
    Node *glSrc = nullptr;
    Node *glDst = nullptr;
    double glShiftX = 0;
    double glShiftY = 0;
    double glAxis = 0;
    float xfAngle = 0;

    // Curve mode belongs to the point editor, but reflect/unreflect end it.
    bool curveMode = false;

private:
    Chain &chain_;
    Document &doc_;
    Dialogs &dialogs_;
    TransformHost &host_;
    SketchWorkingCopy &sketches_;
    int index_ = XformNone;

    void selectIndex(int index); // programmatic selection: runs chooseTransformation
    void commonOpening(int index);
    void markSource(Node *start);
    void markDestination(Node *start, Colour colour);
    bool destinationHasEdits(Node *start) const;
    bool confirmOverwrite(Node *srcStart, Node *dstStart, Node *dstEnd);
    Node *findReflectionEdge() const;
    Isometry isometryFor(int index) const;
    void rebuild(Node *srcStart, Node *srcEnd, Node *dstStart, Node *dstEnd, const Isometry &m);
    void finishMapping();
};

} // namespace tessella
