// SPDX-License-Identifier: GPL-3.0-or-later
// "load state" and "save state" of the files list, with real files.
#include "filecommandsfixture.h"

#include "document/bytes.h"
#include "tests/document/mvlsamples.h"

namespace tessella::testing {
namespace {

using Kind = ScriptedDialogs::Kind;

TEST_F(FileCommandsTest, LoadStateFromTheOpenDialog)
{
    const Document saved = squaresDocument(2, 0x0000ff, GridCenterFace);
    writeDoc(path("two.mvl"), saved);
    doc.dirty = false;
    cmds.setDocPath(path("old.mvl"));
    undo.tBackup(doc);
    ASSERT_TRUE(undo.enabled());

    dialogs.expectOpenFile(stdPath("two.mvl"));
    EXPECT_TRUE(cmds.loadState());

    ASSERT_EQ(dialogs.log.size(), 1u);
    const FileDialogOptions &o = dialogs.log[0].options;
    EXPECT_EQ(o.title, "Load .mvl File");
    EXPECT_EQ(o.filter, "Files (*.mvl)|*.mvl");
    EXPECT_EQ(o.defaultExtension, "mvl");
    EXPECT_EQ(o.initialFile, stdPath("old.mvl"));
    EXPECT_TRUE(o.mustExist);
    EXPECT_FALSE(o.confirmOverwrite);

    EXPECT_EQ(doc.tiles, saved.tiles);
    EXPECT_EQ(doc.grid, GridCenterFace);
    EXPECT_FALSE(doc.dirty);
    EXPECT_EQ(cmds.docPath(), path("two.mvl"));
    // The previous document's snapshot is gone with it.
    EXPECT_FALSE(undo.enabled());
    EXPECT_FALSE(undo.hasSnapshot());
    EXPECT_EQ(host.count("documentReplaced"), 1);
    EXPECT_EQ(host.count("fullRedraw"), 1);
    EXPECT_EQ(host.count("resetZoom"), 0);
}

TEST_F(FileCommandsTest, LoadStateQuestionAnswers)
{
    writeDoc(path("two.mvl"), squaresDocument(2, 0x0000ff));
    const Document before = doc;

    // Cancel: nothing else is shown and nothing changes.
    dialogs.expectYesNoCancel(Answer::Cancel);
    EXPECT_FALSE(cmds.loadState());
    EXPECT_EQ(dialogs.log[0].text, "Loading new state will overwrite your edits");
    EXPECT_EQ(dialogs.log[0].secondLine, "do you want to save your edits first?");
    EXPECT_EQ(doc.tiles, before.tiles);
    EXPECT_TRUE(doc.dirty);

    // No: loads without saving.
    dialogs.expectYesNoCancel(Answer::No);
    dialogs.expectOpenFile(stdPath("two.mvl"));
    EXPECT_TRUE(cmds.loadState());
    EXPECT_EQ(doc.tileCount(), 2);
    EXPECT_FALSE(doc.dirty);
    EXPECT_TRUE(dialogs.allConsumed());
}

TEST_F(FileCommandsTest, YesSavesFirstThenLoads)
{
    writeDoc(path("two.mvl"), squaresDocument(2, 0x0000ff));
    const Document edited = doc;

    dialogs.expectYesNoCancel(Answer::Yes);
    dialogs.expectSaveFile(stdPath("edits.mvl"));
    dialogs.expectMessage("saved as:\n" + stdPath("edits.mvl"));
    dialogs.expectOpenFile(stdPath("two.mvl"));
    EXPECT_TRUE(cmds.loadState());
    EXPECT_TRUE(dialogs.allConsumed());
    EXPECT_EQ(doc.tileCount(), 2);

    // The edits were really written.
    const QByteArray saved = readAll(path("edits.mvl"));
    const ParsedDocument parsed =
        parseDocument({reinterpret_cast<const uint8_t *>(saved.constData()), size_t(saved.size())});
    ASSERT_TRUE(parsed.ok);
    EXPECT_EQ(parsed.tiles, edited.tiles);
}

TEST_F(FileCommandsTest, YesThenCancelledOrFailedSaveLoadsNothing)
{
    writeDoc(path("two.mvl"), squaresDocument(2, 0x0000ff));
    const Document before = doc;

    // Cancelled save dialog: the open dialog never comes.
    dialogs.expectYesNoCancel(Answer::Yes);
    dialogs.expectSaveFile(std::nullopt);
    EXPECT_FALSE(cmds.loadState());
    EXPECT_TRUE(dialogs.allConsumed());
    EXPECT_EQ(doc.tiles, before.tiles);
    EXPECT_TRUE(doc.dirty);

    // Failed save: reported, and the edits stay.
    setWriteFailureForTesting(true);
    dialogs.expectYesNoCancel(Answer::Yes);
    dialogs.expectSaveFile(stdPath("edits.mvl"));
    dialogs.expectMessage("file not saved");
    EXPECT_FALSE(cmds.loadState());
    EXPECT_TRUE(dialogs.allConsumed());
    EXPECT_EQ(doc.tiles, before.tiles);
    EXPECT_TRUE(doc.dirty);
    EXPECT_FALSE(QFile::exists(path("edits.mvl")));
    EXPECT_EQ(host.count("documentReplaced"), 0);
}

TEST_F(FileCommandsTest, CancelledOpenDialogChangesNothing)
{
    doc.dirty = false;
    cmds.setDocPath(path("mine.mvl"));
    const Document before = doc;
    dialogs.expectOpenFile(std::nullopt);
    EXPECT_FALSE(cmds.loadState());
    EXPECT_EQ(doc.tiles, before.tiles);
    EXPECT_EQ(doc.grid, before.grid);
    EXPECT_EQ(cmds.docPath(), path("mine.mvl"));
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(FileCommandsTest, FailedLoadKeepsTheDocumentAndItsPath)
{
    const std::vector<uint8_t> good = bytesOf(squaresDocument(2, 0x0000ff));
    // Cut inside the first tile's vertex array.
    writeBytes(path("short.mvl"), std::vector<uint8_t>(good.begin(), good.begin() + 45));
    // No sketch table: the file ends with tag, grid value and sketchCount.
    std::vector<uint8_t> badTag = good;
    badTag[badTag.size() - 6] = 3;
    writeBytes(path("tag.mvl"), badTag);

    doc.sketches = {Sketch{}, Sketch{}};
    cmds.setDocPath(path("mine.mvl"));
    const Document before = doc;
    for (const char *name : {"short.mvl", "tag.mvl"}) {
        SCOPED_TRACE(name);
        host.calls.clear();
        dialogs.expectYesNoCancel(Answer::No);
        dialogs.expectOpenFile(stdPath(name));
        dialogs.expectMessage("morvel v.96error loading file");
        EXPECT_FALSE(cmds.loadState());
        EXPECT_TRUE(dialogs.allConsumed());
        EXPECT_EQ(doc.tiles, before.tiles);
        EXPECT_EQ(doc.sketches, before.sketches);
        EXPECT_EQ(doc.grid, before.grid);
        EXPECT_TRUE(doc.dirty);
        EXPECT_EQ(cmds.docPath(), path("mine.mvl"));
        EXPECT_EQ(host.calls, std::vector<std::string>{"fullRedraw"});
    }
}

TEST_F(FileCommandsTest, FailureMessagesShowHeaderBytesAsLatin1)
{
    doc.dirty = false;
    // An unknown header is accepted, but the tile behind it is cut short.
    ByteWriter w;
    w.text("caf\xe9 design");
    w.i16(1);
    w.i16(3);
    putBlock(w, 1, 4, 0, {{0, 0}});
    writeBytes(path("latin.mvl"), w.take());
    dialogs.expectOpenFile(stdPath("latin.mvl"));
    dialogs.expectMessage("caf\xc3\xa9 designerror loading file");
    EXPECT_FALSE(cmds.loadState());

    // A file that cannot be read has no header to show.
    dialogs.expectOpenFile(stdPath("missing.mvl"));
    dialogs.expectMessage("error loading file");
    EXPECT_FALSE(cmds.loadState());
    // Nor can a directory be loaded.
    dialogs.expectOpenFile(dir.path().toStdString());
    dialogs.expectMessage("error loading file");
    EXPECT_FALSE(cmds.loadState());
    EXPECT_EQ(doc.tileCount(), 3);
}

TEST_F(FileCommandsTest, CommandLineFileLoadsWithoutDialogs)
{
    Document fresh; // as at start-up: nothing to save
    doc = fresh;
    writeDoc(path("cmd.mvl"), squaresDocument(4, 0x00ff00));
    cmds.setCommandLineFile(path("cmd.mvl"));
    EXPECT_TRUE(cmds.cmdFilePending());
    cmds.run(FileCommands::LoadState); // any dialog would throw
    EXPECT_TRUE(dialogs.log.empty());
    EXPECT_EQ(doc.tileCount(), 4);
    EXPECT_FALSE(cmds.cmdFilePending());
    EXPECT_EQ(cmds.docPath(), path("cmd.mvl"));

    // The next load asks for a file again.
    dialogs.expectOpenFile(std::nullopt);
    EXPECT_FALSE(cmds.loadState());
    EXPECT_EQ(dialogs.log.back().options.initialFile, stdPath("cmd.mvl"));
}

TEST_F(FileCommandsTest, FailedCommandLineFileReportsAndKeepsTheEmptyDocument)
{
    doc = Document{};
    cmds.setCommandLineFile(path("nothere.mvl"));
    dialogs.expectMessage("error loading file");
    EXPECT_FALSE(cmds.loadState());
    EXPECT_EQ(doc.tileCount(), 0);
    EXPECT_TRUE(cmds.docPath().isEmpty());
    EXPECT_FALSE(cmds.cmdFilePending());
}

std::vector<uint8_t> foreignFile(std::string_view header, const Document &tiles)
{
    std::vector<uint8_t> bytes = bytesOf(tiles);
    std::copy(header.begin(), header.end(), bytes.begin());
    return bytes;
}

TEST_F(FileCommandsTest, ForeignCentredFileIsCentredAndReported)
{
    Document centred;
    centred.tiles = {squareTile(-10, -10, 0xff), squareTile(10, 10, 0xff00)};
    writeBytes(path("zud.mvl"), foreignFile(kHeaderForeignH, centred));
    doc.dirty = false;

    dialogs.expectOpenFile(stdPath("zud.mvl"));
    const std::string status = "*h*from zud    2 elements";
    dialogs.expectMessage(status + "   " + status + "\n" + stdPath("zud.mvl"));
    EXPECT_TRUE(cmds.loadState());
    EXPECT_TRUE(dialogs.allConsumed());
    EXPECT_EQ(doc.tiles[0].verts[0], (Vertex{490, 290}));
    EXPECT_EQ(doc.tiles[1].verts[2], (Vertex{530, 330}));
    EXPECT_EQ(doc.grid, GridRectangular);
    EXPECT_FALSE(doc.dirty);
    EXPECT_EQ(host.count("resetZoom"), 1);
    // The view is at 50 % before the loaded tiles are drawn.
    EXPECT_LT(host.indexOf("resetZoom"), host.indexOf("fullRedraw"));
}

TEST_F(FileCommandsTest, ForeignFileFromCommandLineShowsNoStatus)
{
    doc = Document{};
    Document placed;
    placed.tiles = {squareTile(100, 100, 0xff)};
    writeBytes(path("g.mvl"), foreignFile(kHeaderForeignG, placed));
    cmds.setCommandLineFile(path("g.mvl"));
    EXPECT_TRUE(cmds.loadState());
    EXPECT_TRUE(dialogs.log.empty());
    // Already in canvas position: not moved.
    EXPECT_EQ(doc.tiles[0].verts[0], (Vertex{100, 100}));
    EXPECT_EQ(doc.grid, GridRectangular);
    EXPECT_EQ(host.count("resetZoom"), 1);
}

TEST_F(FileCommandsTest, LoadStateRefusedWhileTransformPending)
{
    doc.xformOpen = true;
    const Document before = doc;
    dialogs.expectMessage("please close the transform editor before loading new state");
    EXPECT_FALSE(cmds.loadState());
    EXPECT_TRUE(dialogs.allConsumed());
    EXPECT_EQ(doc.tiles, before.tiles);
}

TEST_F(FileCommandsTest, ShownFractalIsRestoredBeforeLoading)
{
    writeDoc(path("two.mvl"), squaresDocument(2, 0x0000ff));
    doc.dirty = false;
    host.fractal = true;
    host.realTiles = doc.tiles;
    dialogs.expectOpenFile(stdPath("two.mvl"));
    EXPECT_TRUE(cmds.loadState());
    ASSERT_GE(host.indexOf("renderFractal"), 0);
    EXPECT_LT(host.indexOf("renderFractal"), host.indexOf("documentReplaced"));
    EXPECT_EQ(doc.tileCount(), 2);
}

TEST_F(FileCommandsTest, SaveWritesAFileThatLoadsBackEqual)
{
    doc = sampleDocument();
    doc.dirty = true;
    cmds.setDocPath(path("proposed.mvl"));
    dialogs.expectSaveFile(stdPath("sample.mvl"));
    dialogs.expectMessage("saved as:\n" + stdPath("sample.mvl"));
    EXPECT_TRUE(cmds.saveState());
    const FileDialogOptions &o = dialogs.log[0].options;
    EXPECT_EQ(o.title, "Save .mvl File");
    EXPECT_EQ(o.filter, "Files (*.mvl)|*.mvl");
    EXPECT_EQ(o.defaultExtension, "mvl");
    EXPECT_EQ(o.initialFile, stdPath("proposed.mvl"));
    EXPECT_TRUE(o.mustExist);
    EXPECT_TRUE(o.confirmOverwrite);
    EXPECT_FALSE(doc.dirty);
    EXPECT_EQ(cmds.docPath(), path("sample.mvl"));

    const Document saved = doc;
    const QByteArray firstBytes = readAll(path("sample.mvl"));
    Document other;
    UndoHistory otherUndo;
    ScriptedDialogs otherDialogs;
    FakeFilesHost otherHost;
    FileCommands reader(other, otherUndo, otherDialogs, otherHost, QString(), QString());
    reader.setCommandLineFile(path("sample.mvl"));
    ASSERT_TRUE(reader.loadState());
    EXPECT_EQ(other.tiles, saved.tiles);
    EXPECT_EQ(other.sketches, saved.sketches);
    EXPECT_EQ(other.nodeRecs, saved.nodeRecs);
    EXPECT_EQ(other.grid, saved.grid);
    EXPECT_TRUE(other.xformOpen);

    // Saved again unchanged: the same bytes.
    otherDialogs.expectSaveFile(stdPath("again.mvl"));
    otherDialogs.expectMessage();
    ASSERT_TRUE(reader.saveState());
    EXPECT_EQ(readAll(path("again.mvl")), firstBytes);
}

TEST_F(FileCommandsTest, FailedSaveKeepsOldFileAndDirty)
{
    writeDoc(path("old.mvl"), squaresDocument(5, 0x0f0f0f));
    const QByteArray oldBytes = readAll(path("old.mvl"));
    cmds.setDocPath(path("mine.mvl"));
    setWriteFailureForTesting(true);
    dialogs.expectSaveFile(stdPath("old.mvl"));
    dialogs.expectMessage("file not saved");
    EXPECT_FALSE(cmds.saveState());
    EXPECT_TRUE(doc.dirty);
    EXPECT_EQ(readAll(path("old.mvl")), oldBytes);
    EXPECT_EQ(cmds.docPath(), path("mine.mvl"));

    // A cancelled dialog writes nothing and shows nothing more.
    setWriteFailureForTesting(false);
    dialogs.expectSaveFile(std::nullopt);
    EXPECT_FALSE(cmds.saveState());
    EXPECT_TRUE(dialogs.allConsumed());
    EXPECT_TRUE(doc.dirty);
    EXPECT_EQ(readAll(path("old.mvl")), oldBytes);
}

TEST_F(FileCommandsTest, SaveOverLongerFileLeavesNoStaleTail)
{
    writeDoc(path("big.mvl"), sampleDocument());
    doc = squaresDocument(1, 0x10);
    dialogs.expectSaveFile(stdPath("big.mvl"));
    dialogs.expectMessage();
    ASSERT_TRUE(cmds.saveState());
    const auto expected = writeDocument(doc);
    ASSERT_TRUE(expected.has_value());
    EXPECT_EQ(readAll(path("big.mvl")).size(), qsizetype(expected->size()));
}

TEST_F(FileCommandsTest, CurrentTileOutOfRangeIsSavedAsZero)
{
    for (int16_t bad : {int16_t(7), int16_t(-2)}) {
        SCOPED_TRACE(bad);
        doc.curTile = bad;
        dialogs.expectSaveFile(stdPath("cur.mvl"));
        dialogs.expectMessage();
        ASSERT_TRUE(cmds.saveState());
        EXPECT_EQ(doc.curTile, 0);
        const QByteArray bytes = readAll(path("cur.mvl"));
        const ParsedDocument parsed = parseDocument(
            {reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size())});
        ASSERT_TRUE(parsed.ok);
        EXPECT_EQ(parsed.curTile, 0);
        EXPECT_EQ(parsed.curColour, doc.tiles[0].color);
    }
}

} // namespace
} // namespace tessella::testing
