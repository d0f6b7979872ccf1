// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fractal/fractalstate.h"
#include "platform/surface.h"

#include <functional>

namespace tessella {

// The reference shape pulled and shaped with the pointer on the tile editor while the
// fractal panel is open (plane units). A press records what it grabbed, moves change the
// shape, the release ends the drag; every change is stored in the current key frame.
class ReferenceGestures
{
public:
    enum class Press {
        Pan,     // nothing grabbed: the press goes on to the view's pan
        Handled, // grabbed a handle, or reset a setting
        Ignored, // a left press on no handle
    };
    enum class Drag { None, Pull, Aspect, Radius, Centre };

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

    FractalState &state_;
    std::function<void(int)> storeFrame_;
    std::function<void(int)> setSquareSlider_;
    Drag drag_ = Drag::None;
};

// The reference shape in red with its centre, radius and aspect handles, over the
// tiling. A zero aspect becomes 1 first, as the shape is drawn with it.
void drawCmarquis(Surface &surface, MappingParams &params);

} // namespace tessella
