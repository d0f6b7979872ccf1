// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tessella {

// Twips per screen pixel (1440 per inch at 96 pixels per inch).
inline constexpr int kTwipsPerPixel = 15;
// The canvas's top edge below the window's inner top when not panned.
inline constexpr double kCanvasTopTwips = 480;

// The tile editor's view of the plane: zoom, the canvas position inside the window
// (twips, as the window geometry is measured) and the canvas size. The canvas is a
// number only: the screen keeps pixels for the part the window shows.
//
// Plane units: one unit is one canvas pixel at 100 %. Canvas pixel = integer part of
// (plane - origin) * zoom; the visible plane spans twice the window's inner size.
class PlaneView
{
public:
    enum class KeyResult { Redraw, Refused };

    // Window inner size in pixels and the canvas's left edge when not panned (twips).
    void setWindow(int innerWidthPx, int innerHeightPx, double picLeftTwips);

    double zoom() const { return zoom_; }
    double zoomPct() const { return zoomPct_; }
    double canvasLeft() const { return left_; } // twips, relative to the window's inner left
    double canvasTop() const { return top_; }
    double picLeft() const { return picLeft_; }
    int windowWidthPx() const { return winW_; }
    int windowHeightPx() const { return winH_; }

    // Canvas size in pixels: zoom * 2 * window inner size, at least 1 x 1.
    int canvasWidthPx() const;
    int canvasHeightPx() const;
    // Canvas extent in plane units (canvas pixels / zoom).
    double extentWidth() const { return canvasWidthPx() / zoom_; }
    double extentHeight() const { return canvasHeightPx() / zoom_; }

    // Zoom keys: "." in, "," out, "/" reset to 50 %.
    KeyResult zoomIn();
    KeyResult zoomOut();
    void reset();

    // Pan drag: dx, dy in plane units (pointer minus anchor), applied to the twip
    // position unchanged, then clamped so the canvas covers the window.
    void panBy(double dx, double dy);

    // "tile editor    " and the zoom percentage.
    std::string caption() const;
    // Canvas line width for the zoom; doubled with "heavy".
    int lineWidth(bool heavy) const;

    // Where the canvas's top-left pixel lies in window pixels.
    int canvasLeftPx() const;
    int canvasTopPx() const;

private:
    void clampToWindow();

    double zoom_ = 1;
    double zoomPct_ = 100;
    double left_ = 0;
    double top_ = kCanvasTopTwips;
    double picLeft_ = 0;
    int winW_ = 1;
    int winH_ = 1;
    bool placed_ = false;
};

} // namespace tessella
