// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/document.h"
#include "platform/scripteddialogs.h"
#include "transform/chain.h"
#include "transform/editing.h"
#include "transform/sketchstore.h"
#include "transform/transformations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace tessella::testing {

// Records what the model asked of the window.
class RecordingHost : public EditingHost
{
public:
    Transformations *xforms = nullptr;
    std::string notice;
    int shownIndex = 0;
    long total = -1;
    int segmentPoints = 2;
    int redraws = 0;
    int resized = 0;
    bool curveButtonOn = false;
    bool listHidden = false;

    void redraw() override { ++redraws; }
    void setNotice(const std::string &text) override { notice = text; }
    void showXformIndex(int index) override { shownIndex = index; }
    void hideXformList() override { listHidden = true; }
    void clearWants() override
    {
        if (xforms)
            xforms->clearPending();
    }
    void curveModeOff() override { curveButtonOn = false; }
    void surfaceResized() override { ++resized; }
    void showTotal(long points) override { total = points; }
    void showSegmentPoints(int value) override { segmentPoints = value; }
    void drawDot(double, double, Colour, double) override {}
    void curveModeOn() override { curveButtonOn = true; }
    void closeSketchTools() override {}
};

// The transform editor's model without its window.
class ModelTest : public ::testing::Test
{
protected:
    Document doc;
    ScriptedDialogs dialogs;
    RecordingHost host;
    Chain chain;
    SketchWorkingCopy sketches;
    Transformations xforms{chain, doc, dialogs, host, sketches};
    PointEditor editor{chain, xforms, doc, dialogs, host};

    ModelTest() { host.xforms = &xforms; }

    static Tile tileOf(const std::vector<Vertex> &corners)
    {
        Tile t;
        t.setCorners(corners);
        t.color = 0x336699;
        return t;
    }

    void open(const std::vector<Vertex> &corners)
    {
        doc.xfTile = tileOf(corners);
        ASSERT_TRUE(chain.openFromTile(doc.xfTile, false));
    }

    std::vector<Node *> nodes() const
    {
        std::vector<Node *> out;
        for (Node *n = chain.firstNode; n != chain.nilNode(); n = n->fLink)
            out.push_back(n);
        return out;
    }

    std::vector<Node *> corners() const
    {
        std::vector<Node *> out;
        for (Node *n : nodes())
            if (n->Anchored)
                out.push_back(n);
        return out;
    }

    Node *corner(int k) const { return corners().at(k); }

    // Editor point at fraction t of the straight segment from corner a to corner b.
    Vertex along(int a, int b, double t) const
    {
        const Node *p = corner(a);
        const Node *q = corner(b);
        return {p->x + (q->x - p->x) * t, p->y + (q->y - p->y) * t};
    }

    void click(Vertex p, PointerButton button = PointerButton::Left)
    {
        editor.mouseDown(button, p.x, p.y);
        editor.mouseUp();
    }

    void drag(Vertex from, Vertex to, bool preview = false)
    {
        editor.mouseDown(PointerButton::Left, from.x, from.y);
        editor.mouseMove(to.x, to.y, preview);
        editor.mouseUp();
    }

    // Chooses a link and clicks its edges (a glide takes a second click).
    void link(int index, Vertex source, std::optional<Vertex> destination = std::nullopt)
    {
        xforms.chooseTransformation(index);
        click(source);
        if (destination)
            click(*destination);
        ASSERT_TRUE(xforms.linkActive()) << dialogs.lastMessage();
    }
};

} // namespace tessella::testing
