// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/document.h"
#include "document/undo.h"
#include "platform/imagesurface.h"
#include "platform/scripteddialogs.h"
#include "tileeditor/colourchip.h"
#include "tileeditor/editorhost.h"
#include "tileeditor/newtileentry.h"
#include "tileeditor/selection.h"
#include "tileeditor/tilegestures.h"
#include "tileeditor/view/viewrenderer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessella::pointertest {

inline Tile polygonTile(std::vector<Vertex> corners, Colour colour, int16_t grid = GridRectangular)
{
    Tile tile;
    tile.setCorners(corners);
    tile.color = colour;
    tile.grid = grid;
    return tile;
}

// A square with corners clockwise from (x, y).
inline Tile square(double x, double y, double side, Colour colour, int16_t grid = GridRectangular)
{
    return polygonTile({{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}}, colour, grid);
}

inline std::vector<Vertex> corners(const Tile &tile)
{
    return {tile.verts.begin(), tile.verts.begin() + tile.usableVerts()};
}

// The window as the pointer logic sees it: a 400 x 300 canvas at 100 % that the full
// redraw really paints, and a record of what was asked for.
class FakeHost : public EditorHost
{
    const Document &doc_;

public:
    explicit FakeHost(const Document &doc) : doc_(doc), canvas(QSize(400, 300)) {}

    Surface &canvasSurface() override { return canvas; }
    DrawSettings drawSettings() const override { return settings; }
    bool spaceHeld() const override { return space; }
    void refreshBackground() override
    {
        ++refreshes;
        ViewFrame frame;
        frame.extentWidth = 400 / canvas.zoom();
        frame.extentHeight = 300 / canvas.zoom();
        frame.lineWidth = lineWidth;
        canvas.setPenWidth(lineWidth);
        renderView(canvas, doc_, settings, frame);
        boxes.rebuild(doc_, settings.grid);
    }
    const TileBoxIndex *tileBoxes() const override { return &boxes; }
    void tilesMovedInPlace() override { boxes.invalidate(); }
    void previewsDrawn() override { ++previews; }
    void undoButtonChanged() override { ++undoChanges; }
    void showRotationLabel(const std::string &caption, double x, double y) override
    {
        label = caption;
        labelShown = true;
        labelX = x;
        labelY = y;
    }
    void setRotationLabel(const std::string &caption) override { label = caption; }
    void hideRotationLabel() override { labelShown = false; }

    ImageSurface canvas;
    TileBoxIndex boxes;
    DrawSettings settings;
    bool space = false;
    int lineWidth = 1;
    int refreshes = 0;
    int previews = 0;
    int undoChanges = 0;
    std::string label;
    bool labelShown = false;
    double labelX = 0;
    double labelY = 0;
};

// The pointer logic without a window.
class PointerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dialogs.onFailure = [](const std::string &what) { ADD_FAILURE() << what; };
    }
    void TearDown() override
    {
        EXPECT_TRUE(dialogs.allConsumed()) << dialogs.pending() << " dialogs never shown";
    }

    EditorContext context() { return {doc, undo, dialogs, host}; }
    // Draws the document as the window would before the user acts on it.
    void show() { host.refreshBackground(); }

    // One drag of a gesture: press, moves through `path`, release at its last point.
    void tileDrag(int action, Vertex from, std::vector<Vertex> path)
    {
        gestures.tilePress(action, from.x, from.y);
        for (const Vertex &p : path)
            gestures.drag(p.x, p.y);
        const Vertex end = path.empty() ? from : path.back();
        gestures.release(end.x, end.y);
    }
    void groupDrag(int action, Vertex from, std::vector<Vertex> path)
    {
        gestures.groupPress(action, from.x, from.y);
        for (const Vertex &p : path)
            gestures.drag(p.x, p.y);
        const Vertex end = path.empty() ? from : path.back();
        gestures.release(end.x, end.y);
    }

    Document doc;
    UndoHistory undo;
    ScriptedDialogs dialogs;
    FakeHost host{doc};
    ColourChip chip{context()};
    TileGestures gestures{context(), chip};
    NewTileEntry newTile{context(), chip};
    SelectionTool selection{context()};
};

} // namespace tessella::pointertest
