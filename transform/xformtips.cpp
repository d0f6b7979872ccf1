// SPDX-License-Identifier: GPL-3.0-or-later
#include "transform/xformtips.h"

#include "platform/controltips.h"

namespace tessella {

namespace {

constexpr ControlTip kXformTips[] = {
    {"cmdXforms", nullptr, "link an edge to its partner so that the tile still tiles"},
    {"lstXforms", "none", "no link: edges are not edited"},
    {"lstXforms", "translate", "click an edge: the opposite edge copies it, shifted across"},
    {"lstXforms", "center rotation",
     "click an edge: its two halves match when turned half way about its midpoint"},
    {"lstXforms", "vertex rotation",
     "click an edge: the next edge copies it, turned about their shared corner"},
    {"lstXforms", "reflect", "mirror the whole tile"},
    {"lstXforms", "unreflect", "undo the mirroring of the tile"},
    {"lstXforms", "glide reflection",
     "click an edge, then its partner: the partner copies it mirrored and shifted"},

    {"cmdViews", nullptr, "choose what the surface draws"},
    {"lstViews", "curves", "draw the edges as their curves"},
    {"lstViews", "tile outline", "draw the tile's original corners"},
    {"lstViews", "prompts", "show the hints of what to click next"},
    {"lstViews", "boundary", "draw a grey frame around the drawing area"},
    {"lstViews", "sketches", "draw the sketches inside the tile"},
    {"lstViews", "xform preview", "the partner edge follows live while you drag"},

    {"cmdCurves", nullptr, "curve mode: click a red edge to bend it, then drag its handles"},
    {"cmdClear", nullptr, "make an edge straight again: press, then click the edge"},
    {"cmdDoodle", nullptr, "draw lines and polygons inside the tile"},
    {"cmdReturn", nullptr, "hand the reshaped tile to the tile editor; come back later"},
    {"cmdExit", nullptr, "finish reshaping and close this window"},
    {"hscnPoints", nullptr, "number of straight pieces each selected curve is drawn with"},
    {"txtnPoints", nullptr, "straight pieces of the selected curves"},
    {"txtTotal", nullptr, "corners the reshaped tile will have"},
    {"hscPan", nullptr, "scroll the surface left and right"},
    {"vscPan", nullptr, "scroll the surface up and down"},
};

constexpr ControlTip kSketchTips[] = {
    {"optLine", nullptr,
     "click points to draw a line; right-click to end it, click the first point to close it"},
    {"optPoly", nullptr, "drag from a centre to draw a regular polygon"},
    {"optDelete", nullptr, "click the first point of a sketch to delete it"},
    {"chkFill", nullptr, "closed shapes are filled"},
    {"frmColr", nullptr, "colour of the lines drawn next"},
    {"optBlack", nullptr, "lines in black"},
    {"optNegative", nullptr, "lines in the inverse of the tile's colour"},
    {"hscPoly", nullptr, "number of sides of the next regular polygon"},
    {"cmdCurve", nullptr,
     "smooth the last sketch into a curve: drag its corners, then press again to finish"},
};

} // namespace

void applyXformTips(QWidget *window)
{
    applyControlTips(window, kXformTips);
}

void applySketchTips(QWidget *palette)
{
    applyControlTips(palette, kSketchTips);
}

} // namespace tessella
