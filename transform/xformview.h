// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tessella {

// The transform editor's view of its drawing surface: zoom, pointer reach, where the
// surface lies in the window and the two pan bars. The surface is a number only (its
// size in pixels is the drawing area times the zoom); the screen keeps pixels for the
// part the window shows.
//
// Units: the drawing area and pointer positions are editor units (pixels at 100 %);
// window sizes are pixels; the surface position and the limits follow the window
// geometry's twips (15 per pixel); the pan bars count steps of 8 twips.
class XformView
{
public:
    static constexpr double kTwipsPerPixel = 15;
    static constexpr double kStartHitRadius = 6.0;

    // One pan bar: shown or not, its range 0 .. maximum and its value.
    struct PanBar
    {
        bool visible = false;
        int maximum = 0;
        int value = 0;
    };

    // The window opens on a drawing area of `areaWidth` x `areaHeight` editor units
    // inside a window whose drawing region is `windowWidth` x `windowHeight` pixels:
    // 100 %, the start reach, the surface placed as at opening, then laid out.
    void open(double areaWidth, double areaHeight, int windowWidth, int windowHeight);

    // The drawing area changes (a reflection widens it by a third); the zoom stays.
    void setArea(double areaWidth, double areaHeight);
    double areaWidth() const { return areaW_; }
    double areaHeight() const { return areaH_; }

    // Zoom keys: in and out by a factor of the square root of two, and back to 100 %.
    // A refused step changes nothing and returns false.
    bool zoomIn();
    bool zoomOut();
    void resetZoom();

    float zoomFactor() const { return zoomFactor_; }
    float zoomPercent() const { return zoomPercent_; }
    // Pointer reach in editor units: always six screen pixels.
    double hitRadius() const { return hitRadius_; }

    // "tile transformation    " and the zoom percentage without decimals.
    std::string caption() const;
    // The caption the window carries before any zoom key.
    static std::string designCaption() { return "tile transformation   100%"; }

    // Surface size in screen pixels.
    double surfaceWidthPx() const { return areaW_ * zoomFactor_; }
    double surfaceHeightPx() const { return areaH_ * zoomFactor_; }

    // Lays out the surface and the pan bars for a drawing region of the given size:
    // a surface that fits is centred and its bar hidden, a larger one keeps its place
    // and the bar shows where it is.
    void alignScrolls(int windowWidth, int windowHeight);
    // Hides both bars (the zoom keys do this before the redraw shows them again).
    void hideBars();
    // The user moved a pan bar; the value is clamped into the bar's range.
    void scrollHorizontal(int value);
    void scrollVertical(int value);
    const PanBar &horizontalBar() const { return hBar_; }
    const PanBar &verticalBar() const { return vBar_; }
    // Small and large steps of the pan bars.
    static constexpr int kSmallStep = 25;
    static constexpr int kLargeStep = 250;

    // The surface's top-left corner relative to the drawing region's, in pixels.
    int surfaceLeftPx() const;
    int surfaceTopPx() const;
    int windowWidth() const { return winW_; }
    int windowHeight() const { return winH_; }

    // Editor point under a pixel of the drawing region, and back (pixel = integer part
    // of editor point times zoom, from the surface's corner).
    double toEditorX(double regionX) const { return (regionX - surfaceLeftPx()) / zoomFactor_; }
    double toEditorY(double regionY) const { return (regionY - surfaceTopPx()) / zoomFactor_; }

    // The notice label's corner in editor units: five units inside the visible part of
    // the surface.
    double noticeX() const;
    double noticeY() const;

private:
    void alignAxis(double surfaceTwips, double windowTwips, double margin, double &pos,
                   PanBar &bar);

    double areaW_ = 1;
    double areaH_ = 1;
    float zoomFactor_ = 1.0f;
    float zoomPercent_ = 100.0f;
    double hitRadius_ = kStartHitRadius;
    double left_ = 0; // twips
    double top_ = 0;  // twips
    int winW_ = 1;
    int winH_ = 1;
    PanBar hBar_;
    PanBar vBar_;
};

} // namespace tessella
