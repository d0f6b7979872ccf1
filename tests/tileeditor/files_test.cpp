// SPDX-License-Identifier: GPL-3.0-or-later
// The files list's commands with real files: what a load, a save and a clear do to the
// session, and what a damaged file leaves behind (the save-first question and the
// refusals are tables of their own).
#include "editorfixture.h"

#include "document/bytes.h"
#include "tests/document/mvlsamples.h"

namespace tessella::test {
namespace {

using testing::bytesOf;
using testing::putBlock;
using testing::sampleDocument;

ParsedDocument parsed(const QString &file)
{
    const QByteArray b = readAll(file);
    return parseDocument({reinterpret_cast<const uint8_t *>(b.constData()), std::size_t(b.size())});
}

TEST_F(FilesTest, LoadAndSaveDialogsAndTheSessionAfterALoad)
{
    const Document two = squareRow(2, 20, 0x0000ff, GridCenterFace);
    writeDoc(path("two.mvl"), two);
    doc.dirty = false;
    cmds.setDocPath(path("old.mvl"));
    undo.tBackup(doc);
    dialogs.expectOpenFile(stdPath("two.mvl"));
    EXPECT_TRUE(cmds.loadState());
    EXPECT_EQ(dialogs.log[0].options.initialFile, stdPath("old.mvl"));
    EXPECT_TRUE(doc.tiles == two.tiles && doc.grid == GridCenterFace);
    EXPECT_FALSE(undo.hasSnapshot()); // it held the previous document's tiles
    EXPECT_EQ(host.calls, (std::vector<std::string>{"documentReplaced", "fullRedraw"}));

    dialogs.expectSaveFile(stdPath("copy.mvl"));
    dialogs.expectMessage("saved as:\n" + stdPath("copy.mvl"));
    doc.dirty = true;
    EXPECT_TRUE(cmds.saveState());
    EXPECT_EQ(dialogs.log[1].options.initialFile, stdPath("two.mvl"));
    EXPECT_FALSE(doc.dirty);
    EXPECT_EQ(cmds.docPath(), path("copy.mvl"));
    EXPECT_EQ(parsed(path("copy.mvl")).tiles, two.tiles);
}

// A file that cannot be loaded is reported with its header bytes (Latin-1) and leaves
// the session, its path and its undo as they were.
TEST_F(FilesTest, FailedLoadsKeepTheSession)
{
    const std::vector<uint8_t> good = bytesOf(squareRow(2, 20, 0x0000ff));
    writeBytes(path("short.mvl"), {good.begin(), good.begin() + 45}); // cut in a vertex array
    ByteWriter w; // an unknown header is accepted, but the tile behind it is cut short
    w.text("caf\xe9 design");
    w.i16(1);
    w.i16(3);
    putBlock(w, 1, 4, 0, {{0, 0}});
    writeBytes(path("latin.mvl"), w.take());
    const std::pair<std::string, std::string> cases[] = {
        {stdPath("short.mvl"), "morvel v.96error loading file"},
        {stdPath("latin.mvl"), "caf\xc3\xa9 designerror loading file"},
        {stdPath("missing.mvl"), "error loading file"},
        {dir.path().toStdString(), "error loading file"}};
    doc.sketches = {Sketch{}, Sketch{}};
    cmds.setDocPath(path("mine.mvl"));
    undo.tBackup(doc);
    const Document before = doc;
    for (const auto &[file, message] : cases) {
        host.calls.clear();
        dialogs.expectYesNoCancel(Answer::No);
        dialogs.expectOpenFile(file);
        dialogs.expectMessage(message);
        EXPECT_FALSE(cmds.loadState()) << file;
        EXPECT_TRUE(doc.tiles == before.tiles && doc.sketches == before.sketches &&
                    doc.grid == before.grid && doc.dirty && undo.hasSnapshot());
        EXPECT_EQ(cmds.docPath(), path("mine.mvl"));
        EXPECT_EQ(host.calls, std::vector<std::string>{"fullRedraw"});
    }
}

// A foreign file is centred on the canvas (its tiles around the origin) and reported,
// unless it came from the command line; the view goes to 50 % before it is drawn.
TEST_F(FilesTest, ForeignFilesAreCentredAndReported)
{
    auto foreign = [&](const char *name, std::string_view header, double at) {
        std::vector<uint8_t> bytes = bytesOf(
            documentOf({squareTile(at, at, 20, 0xff), squareTile(at + 20, at + 20, 20, 0xff)}));
        std::copy(header.begin(), header.end(), bytes.begin());
        writeBytes(path(name), bytes);
    };
    foreign("zud.mvl", kHeaderForeignH, -10);
    foreign("g.mvl", kHeaderForeignG, 100);
    doc.dirty = false;
    dialogs.expectOpenFile(stdPath("zud.mvl"));
    const std::string status = "*h*from zud    2 elements";
    dialogs.expectMessage(status + "   " + status + "\n" + stdPath("zud.mvl"));
    EXPECT_TRUE(cmds.loadState());
    EXPECT_EQ(doc.tiles[0].verts[0], (Vertex{490, 290}));
    EXPECT_EQ(doc.grid, GridRectangular);
    EXPECT_EQ(host.calls,
              (std::vector<std::string>{"resetZoom", "documentReplaced", "fullRedraw"}));

    cmds.setCommandLineFile(path("g.mvl"));
    EXPECT_TRUE(cmds.loadState());                        // no dialog at all
    EXPECT_EQ(doc.tiles[0].verts[0], (Vertex{100, 100})); // already in canvas position
}

TEST_F(FilesTest, ACommandLineFileLoadsOnceWithoutDialogs)
{
    doc = Document{};
    cmds.setCommandLineFile(path("nothere.mvl"));
    dialogs.expectMessage("error loading file");
    EXPECT_FALSE(cmds.loadState());
    EXPECT_TRUE(cmds.docPath().isEmpty());
    EXPECT_FALSE(cmds.cmdFilePending());

    writeDoc(path("cmd.mvl"), squareRow(4, 20, 0x00ff00));
    cmds.setCommandLineFile(path("cmd.mvl"));
    cmds.run(FileCommands::LoadState);
    EXPECT_EQ(doc.tileCount(), 4);
    EXPECT_EQ(cmds.docPath(), path("cmd.mvl"));
    dialogs.expectOpenFile(std::nullopt); // the next load asks again
    EXPECT_FALSE(cmds.loadState());
    EXPECT_EQ(dialogs.log.back().options.initialFile, stdPath("cmd.mvl"));
    EXPECT_EQ(doc.tileCount(), 4);
}

TEST_F(FilesTest, TheLibraryReplacesOnlyTheTiles)
{
    doc.curTile = 1;
    doc.sketches = {Sketch{}, Sketch{}};
    doc.dirty = false;
    cmds.run(FileCommands::LoadPrims);
    EXPECT_EQ(doc.tiles, squareRow(4, 20, 0x00aa00, GridCenterFace).tiles);
    EXPECT_EQ(doc.curTile, 1);
    EXPECT_EQ(doc.sketches.size(), 2u);
    EXPECT_EQ(doc.grid, GridHexagonal);

    const std::vector<Tile> before = doc.tiles;
    writeBytes(cmds.primsPath(), {'s', 'h', 'o', 'r', 't'});
    dialogs.expectMessage("error loading file");
    EXPECT_FALSE(cmds.loadPrims());
    QFile::remove(cmds.primsPath());
    dialogs.expectMessage("could not find primitives.mvl");
    EXPECT_FALSE(cmds.loadPrims());
    EXPECT_EQ(doc.tiles, before);
}

// While the fractal picture is shown the tiles hold mapped vertices: loads, saves and
// clears work on the real tiles, restored first.
TEST_F(FilesTest, AShownFractalIsRestoredFirst)
{
    writeDoc(path("two.mvl"), squareRow(2, 20, 0x0000ff));
    doc.dirty = false;
    host.realTiles = squareRow(5, 20, 0x77).tiles;
    host.fractal = true;
    dialogs.expectOpenFile(stdPath("two.mvl"));
    EXPECT_TRUE(cmds.loadState());
    EXPECT_EQ(host.calls[0], "renderFractal");
    EXPECT_EQ(doc.tileCount(), 2);

    host.fractal = true;
    dialogs.expectSaveFile(stdPath("real.mvl"));
    dialogs.expectMessage();
    EXPECT_TRUE(cmds.saveState());
    EXPECT_EQ(parsed(path("real.mvl")).tiles, host.realTiles);

    host.fractal = true;
    doc.dirty = false;
    EXPECT_TRUE(cmds.revertSession());
    EXPECT_TRUE(doc.tiles.empty());
    undo.pressed(doc); // brings back the tiles, not the mapped picture
    EXPECT_EQ(doc.tiles, host.realTiles);
}

// What a save writes is the document's rule; here the old file must survive a failed write.
TEST_F(FilesTest, AFailedSaveLeavesTheOldFile)
{
    writeDoc(path("old.mvl"), sampleDocument());
    const QByteArray old = readAll(path("old.mvl"));
    setWriteFailureForTesting(true);
    dialogs.expectSaveFile(stdPath("old.mvl"));
    dialogs.expectMessage("file not saved");
    EXPECT_FALSE(cmds.saveState());
    EXPECT_TRUE(doc.dirty);
    EXPECT_EQ(readAll(path("old.mvl")), old);
}

TEST_F(FilesTest, ClearSessionIsUndoableAndOtherEntries)
{
    const std::vector<Tile> before = doc.tiles;
    doc.vtxSel = {{0, 1}};
    doc.dirty = false;
    cmds.run(FileCommands::ClearSession);
    EXPECT_TRUE(doc.tiles.empty());
    EXPECT_TRUE(doc.vtxSel.empty());
    EXPECT_EQ(undo.caption(), "undo");
    EXPECT_EQ(host.calls,
              (std::vector<std::string>{"documentReplaced", "resetModes", "fullRedraw"}));
    undo.pressed(doc);
    EXPECT_EQ(doc.tiles, before);

    host.calls.clear();
    for (int entry : {int(FileCommands::Empty), -1, 8, 100})
        cmds.run(entry);
    cmds.run(FileCommands::SaveImage);
    EXPECT_EQ(host.calls, std::vector<std::string>{"saveImage"});
    dialogs.expectSaveFile(stdPath("entry.mvl"));
    dialogs.expectMessage();
    cmds.run(FileCommands::SaveState);
    EXPECT_TRUE(QFile::exists(path("entry.mvl")));
    // The about box ends with the running executable's full path.
    const std::string about = cmds.aboutText();
    EXPECT_TRUE(about.ends_with("\n/opt/tessella/bin/tessella")) << about;
    dialogs.expectMessage(about);
    cmds.run(FileCommands::About);
}

} // namespace
} // namespace tessella::test
