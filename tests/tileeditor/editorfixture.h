// SPDX-License-Identifier: GPL-3.0-or-later
// The tile editor's logic without a window: a fake host whose canvas the full redraw
// really paints, the gesture, selection and entry classes on one document, and the file
// commands with a host that records what they asked for.
#pragma once

#include "document/document.h"
#include "document/mvlformat.h"
#include "document/undo.h"
#include "platform/fileio.h"
#include "platform/imagesurface.h"
#include "platform/scripteddialogs.h"
#include "tileeditor/colourchip.h"
#include "tileeditor/filecommands.h"
#include "tileeditor/newtileentry.h"
#include "tileeditor/selection.h"
#include "tileeditor/tilegestures.h"
#include "tileeditor/view/viewrenderer.h"

#include "tests/support/files.h"
#include "tests/support/tilebuilder.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

// Designated initializers name only the fields a case sets; the rest keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace tessella::test {

// What a user can tell apart in a tile: corners and angle to 1e-4, colour and flags.
inline std::string summary(const Tile &tile)
{
    auto num = [](double v) {
        return QString::number(std::round(v * 1e4) / 1e4 + 0.0, 'f', 4).toStdString();
    };
    std::string out;
    for (const Vertex &v : cornersOf(tile))
        out += num(v.x) + "," + num(v.y) + " ";
    out += "colour " + std::to_string(tile.color) + " angle " + num(tile.angle);
    return out + (tile.reflected != 0 ? " mirrored" : "") + (tile.selected != 0 ? " selected" : "");
}

// The tiles that have corners, summarised (the window's empty start-up tile is left out).
inline std::vector<std::string> summaries(const std::vector<Tile> &tiles)
{
    std::vector<std::string> out;
    for (const Tile &tile : tiles)
        if (tile.usableVerts() > 0)
            out.push_back(summary(tile));
    return out;
}

// Pointer and key events written as "p56,56 m56,64 r56,76 c56,76 R9,9 s u", that is press,
// move, release, click (press and release), right click, space bar down and up, at plane points.
struct Event
{
    char op;
    double x = 0, y = 0;
};

inline std::vector<Event> parse(const char *text)
{
    std::vector<Event> out;
    std::istringstream in(text);
    for (std::string word; in >> word;) {
        out.push_back({word[0]});
        std::sscanf(word.c_str() + 1, "%lf,%lf", &out.back().x, &out.back().y);
    }
    return out;
}

// An image surface that counts the calls a non-finite coordinate reached: plane-unit calls
// with a non-finite argument, pixel calls with the value a converted NaN or infinity
// becomes (INT_MIN on this hardware).
class WatchingSurface : public ImageSurface
{
    void pixels(std::initializer_list<int> vs) { reached += int(std::ranges::count(vs, INT_MIN)); }
    void plane(std::initializer_list<double> vs)
    {
        reached += int(std::ranges::count_if(vs, [](double v) { return !std::isfinite(v); }));
    }

public:
    using ImageSurface::ImageSurface;
    // clang-format off
    void polygon(std::span<const PixelPoint> pts) override
    {
        for (const PixelPoint &p : pts)
            pixels({p.x, p.y});
        ImageSurface::polygon(pts);
    }
    void ellipse(int l, int t, int r, int b) override { pixels({l, t, r, b}), ImageSurface::ellipse(l, t, r, b); }
    void setPixel(int x, int y, Colour c) override { pixels({x, y}), ImageSurface::setPixel(x, y, c); }
    void setPoint(double x, double y, Colour c) override { plane({x, y}), ImageSurface::setPoint(x, y, c); }
    void lineTo(double x, double y, Colour c) override { plane({x, y}), ImageSurface::lineTo(x, y, c); }
    void line(double x1, double y1, double x2, double y2, Colour c) override { plane({x1, y1, x2, y2}), ImageSurface::line(x1, y1, x2, y2, c); }
    // clang-format on
    int reached = 0;
};

// A sketch item holding `points` (a run of `count` items when it starts one).
inline Sketch sketchItem(int16_t kind, std::vector<Vertex> points, int16_t count = 0)
{
    Sketch item{.count = count, .kind = kind, .nPoints = int16_t(points.size())};
    item.points = std::move(points), item.pointsAllocated = true;
    return item;
}

// The window as the pointer logic sees it: a 400 x 300 canvas at 100 % that the full
// redraw really paints.
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
        renderView(canvas, doc_, settings, ViewFrame{.extentWidth = 400, .extentHeight = 300});
        boxes.rebuild(doc_, settings.grid);
    }
    const TileBoxIndex *tileBoxes() const override { return &boxes; }
    void tilesMovedInPlace() override { boxes.invalidate(); }
    void previewsDrawn() override { ++previews; }
    void undoButtonChanged() override {}
    // The readout is the window's (its own test checks it).
    void showRotationLabel(const std::string &, double, double) override {}
    void setRotationLabel(const std::string &) override {}
    void hideRotationLabel() override {}

    WatchingSurface canvas;
    TileBoxIndex boxes;
    DrawSettings settings;
    bool space = false;
    int previews = 0;
};

// Fails the test on a dialog nobody scripted and on scripted dialogs never shown.
class ScriptedTest : public ::testing::Test
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
    ScriptedDialogs dialogs;
};

class PointerTest : public ScriptedTest
{
protected:
    void TearDown() override
    {
        ScriptedTest::TearDown();
        EXPECT_EQ(host.canvas.reached, 0) << "a non-finite coordinate reached the canvas";
    }
    EditorContext context() { return {doc, undo, dialogs, host}; }
    // Draws the document as the window would before the user acts on it.
    void show() { host.refreshBackground(); }

    Document doc;
    UndoHistory undo;
    FakeHost host{doc};
    ColourChip chip{context()};
    TileGestures gestures{context(), chip};
    NewTileEntry newTile{context(), chip};
    SelectionTool selection{context()};
};

// Records what the file commands asked of the window, in order.
class FakeFilesHost : public FilesHost
{
public:
    void fullRedraw() override { calls.push_back("fullRedraw"); }
    void resetZoom() override { calls.push_back("resetZoom"); }
    double halfCanvasWidth() const override { return 500; }
    double halfCanvasHeight() const override { return 300; }
    void documentReplaced() override { calls.push_back("documentReplaced"); }
    void resetModes() override { calls.push_back("resetModes"); }
    bool fractalShown() const override { return false; }
    void renderFractal() override { calls.push_back("renderFractal"); }
    void saveImage() override { calls.push_back("saveImage"); }
    void closeApplication() override { calls.push_back("closeApplication"); }
    void undoStateChanged() override {}

    std::vector<std::string> calls;
};

inline constexpr auto &readAll = fileBytes;

inline void writeBytes(const QString &file, const std::vector<uint8_t> &bytes)
{
    ASSERT_TRUE(putFile(
        file, QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()))));
}

inline void writeDoc(const QString &file, const Document &doc)
{
    writeBytes(file, writeDocument(doc).value());
}

// The file commands of a session with three edited hexagonal-grid tiles, a library file
// of four tiles and a temporary directory for the files.
class FilesTest : public ScriptedTest
{
protected:
    void SetUp() override
    {
        ScriptedTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        doc = squareRow(3, 20, 0x112233, GridHexagonal), doc.dirty = true;
        writeDoc(cmds.primsPath(), squareRow(4, 20, 0x00aa00, GridCenterFace));
    }
    void TearDown() override
    {
        setWriteFailureForTesting(false);
        ScriptedTest::TearDown();
    }
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    std::string stdPath(const char *name) const { return path(name).toStdString(); }

    QTemporaryDir dir;
    Document doc;
    UndoHistory undo;
    FakeFilesHost host;
    FileCommands cmds{
        doc, undo, dialogs, host, dir.filePath("primitives.mvl"), "/opt/tessella/bin/tessella"};
};

} // namespace tessella::test
