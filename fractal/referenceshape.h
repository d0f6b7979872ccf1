// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fractal/fractalstate.h"
#include "platform/surface.h"

#include <functional>

namespace tessella {

// The reference shape and the key-frame path handles, pulled and dragged with the pointer
// on the tile editor while the fractal panel is open (plane units). A press records what
// it grabbed, moves change the shape or the control point, the release ends the drag;
// every change of the shape is stored in the current key frame.
class ReferenceGestures
{
public:
    enum class Press {
        Pan,            // nothing grabbed: the press goes on to the view's pan
        Handled,        // grabbed a handle, or reset a setting
        AskNewKeyFrame, // a left press on no handle: the panel offers a new key frame
    };
    // CpOut: the current key frame's outgoing control point; CpIn: the next key frame's
    // incoming one.
    enum class Drag { None, Pull, Aspect, Radius, Centre, CpOut, CpIn };

    // storeFrame copies the live settings into a key frame (the panel knows the sliders);
    // setSquareSlider puts the squareness slider to a value.
    ReferenceGestures(FractalState &state, std::function<void(int)> storeFrame,
                      std::function<void(int)> setSquareSlider)
        : state_(state), storeFrame_(std::move(storeFrame)),
          setSquareSlider_(std::move(setSquareSlider))
    {}

    // button: 1 left, 2 right, 4 middle; tolerance in plane units (6 pixels).
    Press press(int button, double x, double y, double tolerance);
    // True while a drag runs (the shape changed).
    bool move(double x, double y);
    void release();
    Drag drag() const { return drag_; }
    void cancel() { drag_ = Drag::None; }

private:
    void extendedFillFrame() { storeFrame_(state_.curKeyFrame); }
    // The control point a press at (x, y) grabs, Drag::None when none.
    Drag controlPointAt(double x, double y, double tolerance) const;

    FractalState &state_;
    std::function<void(int)> storeFrame_;
    std::function<void(int)> setSquareSlider_;
    Drag drag_ = Drag::None;
};

// The outline of a reference shape (121 points around) in the surface's pen colour and
// width; an aspect of 0 counts as 1.
void drawReferenceOutline(Surface &surface, double cx, double cy, double radius, double aspect,
                          double squareness);

// The reference shape in red with its centre, radius and aspect handles, over the
// tiling. A zero aspect becomes 1 first, as the shape is drawn with it.
void drawCmarquis(Surface &surface, MappingParams &params);

} // namespace tessella
