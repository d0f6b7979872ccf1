// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/records.h"
#include "platform/surface.h"
#include "transform/editing.h"
#include "transform/sketchstore.h"
#include "transform/xformdrawer.h"

#include <optional>
#include <span>
#include <vector>

namespace tessella {

enum class SketchTool { Line, Polygon, Delete };

inline constexpr int kMinSides = 3;
inline constexpr int kMaxSides = 24;
inline constexpr int kStartSides = 6;
// A regular polygon dragged out to less than this radius (editor units) is dropped.
inline constexpr double kMinRegularRadius = 0.3;
// Samples per Bezier piece of a curve.
inline constexpr int kCurveSamples = 5;
// A sketch item's point count is a 16-bit field.
inline constexpr int kMaxSketchPoints = 32767;

// What the sketch tools ask of the window they draw in.
class SketchToolsHost
{
public:
    virtual ~SketchToolsHost() = default;
    // Full redraw of the surface; the tools' previews come from entering(),
    // regularPreview() and drawSketchOverlay().
    virtual void sketchRedraw() = 0;
    virtual void sketchBeep() = 0;
    // The "curve" button becomes usable or not.
    virtual void enableCurve(bool enabled) = 0;
};

// The regular polygon of `sides` corners at radius r around (cx, cy), first corner
// straight to the right of the centre, as a closed polygon (kind 1) of sides + 1 points.
Sketch regularPolygon(double cx, double cy, double r, int sides);

// The curve through a polyline's corners: cubic pieces from one midpoint of consecutive
// corners to the next, both inner control points on the corner between them, each piece
// sampled at t = 0, 1/5 .. 4/5. Empty for fewer than three corners.
std::vector<Vertex> curveThroughCorners(std::span<const Vertex> corners);

// The sketch tools of the transform editor, without widgets: line and closed polygon
// entry, regular polygons, the delete tool and curves, acting on the window's working
// copy of the sketch items. Coordinates are editor units; `reach` is the window's
// hitRadius in editor units. Every change ends with host.sketchRedraw().
class SketchTools
{
public:
    SketchTools(SketchWorkingCopy &work, SketchToolsHost &host);

    // Palette settings: the tool, "fill", "negative" and the number of sides.
    SketchTool tool() const { return tool_; }
    // Choosing a tool ends the delete tool (or starts it) and abandons a line being
    // entered when the line tool is left.
    void chooseTool(SketchTool tool);
    bool fill = false;
    bool negative = false;
    void setSides(int sides);
    int sides() const { return sides_; }

    // Pointer gestures on the surface while the tools are open; they take them all.
    void mouseDown(PointerButton button, double x, double y, double reach);
    void mouseMove(double x, double y);
    void mouseUp(PointerButton button, double x, double y);

    // Ends the line being entered: kept as an item when it has two points or more.
    void finishLine();
    // Drops the line or regular polygon being entered and any drag.
    void abortLine();
    void deletePrep();
    void deleteClose();
    // "curve": starts a curve on the last item, or finishes the one under way.
    void cmdCurve();
    // Starts a curve on the last item; false (beep) when it has fewer than three points,
    // is deleted, or its curve would hold more than kMaxSketchPoints points.
    bool prepCurve();
    // Rebuilds the last item from the curve under construction.
    void closeCurve();
    // The palette closes: finishes a curve, ends the delete tool, drops a line.
    void close();

    bool deleteToolOn = false;
    bool curveUnderway = false;
    Sketch sketchItem; // the item being entered; nPoints 0 when none
    Sketch curveItem;  // copy of the item a curve is built on; its corners may be dragged
    std::vector<Vertex> curvePoints; // midpoints of curveItem's consecutive corners
    bool curveEnabled() const { return curveEnabled_; }

    // The line being entered (for its point dots), or nullptr.
    const Sketch *entering() const;
    // The regular polygon being dragged out.
    std::optional<RegularPreview> regularPreview() const;
    // The rubber-band segment of a line being entered: last point and pointer.
    std::optional<std::pair<Vertex, Vertex>> rubberBand() const;
    // The curve preview: corners being shaped and the samples the curve would get.
    std::vector<Vertex> curvePreview() const;

private:
    void lineClick(double x, double y, double reach);
    void regularRelease(double x, double y);
    void deleteClick(double x, double y, double reach);
    void curvePress(double x, double y, double reach);
    // Appends a finished item; beeps when the working copy is full.
    bool keep(const Sketch &item);
    bool curveAllowed(const Sketch &item) const;
    void setCurveEnabled(bool enabled);
    Sketch newItem(int16_t kind) const;

    SketchWorkingCopy &work_;
    SketchToolsHost &host_;
    SketchTool tool_ = SketchTool::Line;
    int sides_ = kStartSides;
    bool curveEnabled_ = false;
    bool regularActive_ = false;
    Vertex centre_;
    double radius_ = 0;
    std::optional<Vertex> pointer_; // last pointer position while a line is entered
    int dragCorner_ = -1;           // corner of curveItem being dragged
};

// Draws the previews that lie on top of the window's picture: the rubber band of a line
// being entered and the curve under construction with its corners.
void drawSketchOverlay(Surface &surface, const SketchTools &tools);

} // namespace tessella
