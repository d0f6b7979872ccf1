// SPDX-License-Identifier: GPL-3.0-or-later
// "load prims", "clear session", the close request and the other files entries.
#include "filecommandsfixture.h"

namespace tessella::testing {
namespace {

class LoadPrimsTest : public FileCommandsTest
{
protected:
    void SetUp() override
    {
        FileCommandsTest::SetUp();
        // A library file carries a full document; only its tiles are taken.
        Document library = squaresDocument(4, 0x00aa00, GridCenterFace);
        library.curTile = 3;
        writeDoc(cmds.primsPath(), library);
        libraryTiles = library.tiles;
        doc.curTile = 1;
        doc.sketches = {Sketch{}, Sketch{}};
    }
    std::vector<Tile> libraryTiles;
};

TEST_F(LoadPrimsTest, NoReplacesOnlyTheTiles)
{
    undo.tBackup(doc);
    dialogs.expectYesNoCancel(Answer::No);
    EXPECT_TRUE(cmds.loadPrims());
    EXPECT_EQ(dialogs.log[0].text, "Loading primitives will overwrite your edits");
    EXPECT_EQ(dialogs.log[0].secondLine, "do you want to save your edits first?");
    EXPECT_EQ(doc.tiles, libraryTiles);
    EXPECT_EQ(doc.curTile, 1);
    EXPECT_EQ(doc.sketches.size(), 2u);
    EXPECT_EQ(doc.grid, GridHexagonal);
    EXPECT_FALSE(doc.dirty);
    EXPECT_FALSE(undo.enabled());
    EXPECT_EQ(host.count("documentReplaced"), 1);
    EXPECT_EQ(host.count("fullRedraw"), 1);
}

TEST_F(LoadPrimsTest, CancelAndUnfinishedSaveChangeNothing)
{
    const Document before = doc;
    dialogs.expectYesNoCancel(Answer::Cancel);
    EXPECT_FALSE(cmds.loadPrims());

    dialogs.expectYesNoCancel(Answer::Yes);
    dialogs.expectSaveFile(std::nullopt);
    EXPECT_FALSE(cmds.loadPrims());

    setWriteFailureForTesting(true);
    dialogs.expectYesNoCancel(Answer::Yes);
    dialogs.expectSaveFile(stdPath("edits.mvl"));
    dialogs.expectMessage("file not saved");
    EXPECT_FALSE(cmds.loadPrims());

    EXPECT_TRUE(dialogs.allConsumed());
    EXPECT_EQ(doc.tiles, before.tiles);
    EXPECT_TRUE(doc.dirty);
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(LoadPrimsTest, YesSavesThenLoads)
{
    dialogs.expectYesNoCancel(Answer::Yes);
    dialogs.expectSaveFile(stdPath("edits.mvl"));
    dialogs.expectMessage("saved as:\n" + stdPath("edits.mvl"));
    EXPECT_TRUE(cmds.loadPrims());
    EXPECT_TRUE(dialogs.allConsumed());
    EXPECT_EQ(doc.tiles, libraryTiles);
    EXPECT_TRUE(QFile::exists(path("edits.mvl")));
}

TEST_F(LoadPrimsTest, RefusedWhileTransformPending)
{
    doc.xformOpen = true;
    const Document before = doc;
    dialogs.expectMessage("please close the transform editor before loading new state");
    EXPECT_FALSE(cmds.loadPrims());
    EXPECT_TRUE(dialogs.allConsumed());
    EXPECT_EQ(doc.tiles, before.tiles);
    EXPECT_TRUE(doc.dirty);
}

TEST_F(LoadPrimsTest, MissingOrDamagedLibrary)
{
    const Document before = doc;
    doc.dirty = false;
    QFile::remove(cmds.primsPath());
    dialogs.expectMessage("could not find primitives.mvl");
    EXPECT_FALSE(cmds.loadPrims());
    EXPECT_EQ(doc.tiles, before.tiles);

    writeBytes(cmds.primsPath(), {'s', 'h', 'o', 'r', 't'});
    dialogs.expectMessage("error loading file");
    EXPECT_FALSE(cmds.loadPrims());
    EXPECT_EQ(doc.tiles, before.tiles);
    EXPECT_EQ(host.count("documentReplaced"), 0);
}

TEST_F(FileCommandsTest, RevertClearsAndUndoBringsTheTilesBack)
{
    const std::vector<Tile> before = doc.tiles;
    doc.vtxSel = {{0, 1}};
    dialogs.expectYesNoCancel(Answer::No);
    EXPECT_TRUE(cmds.revertSession());
    EXPECT_EQ(dialogs.log[0].text, "Do you want to save your edits?");
    EXPECT_EQ(doc.tileCount(), 0);
    EXPECT_TRUE(doc.vtxSel.empty());
    EXPECT_FALSE(doc.dirty);
    EXPECT_TRUE(undo.enabled());
    EXPECT_EQ(undo.caption(), "undo");
    EXPECT_EQ(host.count("documentReplaced"), 1);
    EXPECT_EQ(host.count("resetModes"), 1);
    EXPECT_GE(host.count("fullRedraw"), 1);

    undo.pressed(doc);
    EXPECT_EQ(doc.tiles, before);
    undo.pressed(doc);
    EXPECT_EQ(doc.tileCount(), 0);
}

TEST_F(FileCommandsTest, RevertQuestionAnswers)
{
    const Document before = doc;
    dialogs.expectYesNoCancel(Answer::Cancel);
    EXPECT_FALSE(cmds.revertSession());

    dialogs.expectYesNoCancel(Answer::Yes);
    dialogs.expectSaveFile(std::nullopt);
    EXPECT_FALSE(cmds.revertSession());

    setWriteFailureForTesting(true);
    dialogs.expectYesNoCancel(Answer::Yes);
    dialogs.expectSaveFile(stdPath("edits.mvl"));
    dialogs.expectMessage("file not saved");
    EXPECT_FALSE(cmds.revertSession());
    setWriteFailureForTesting(false);
    EXPECT_EQ(doc.tiles, before.tiles);
    EXPECT_TRUE(doc.dirty);

    dialogs.expectYesNoCancel(Answer::Yes);
    dialogs.expectSaveFile(stdPath("edits.mvl"));
    dialogs.expectMessage();
    EXPECT_TRUE(cmds.revertSession());
    EXPECT_TRUE(dialogs.allConsumed());
    EXPECT_EQ(doc.tileCount(), 0);
    EXPECT_TRUE(QFile::exists(path("edits.mvl")));
}

TEST_F(FileCommandsTest, RevertWithoutEditsAsksNothing)
{
    doc.dirty = false;
    cmds.run(FileCommands::ClearSession);
    EXPECT_TRUE(dialogs.log.empty());
    EXPECT_EQ(doc.tileCount(), 0);
}

TEST_F(FileCommandsTest, RevertRefusedWhileTransformPending)
{
    doc.xformOpen = true;
    dialogs.expectMessage("please exit the transformation editor before clearing your session");
    EXPECT_FALSE(cmds.revertSession());
    EXPECT_EQ(doc.tileCount(), 3);
    EXPECT_FALSE(undo.hasSnapshot());
}

TEST_F(FileCommandsTest, RevertClearsTheRealTilesOfAShownFractal)
{
    doc.dirty = false;
    host.fractal = true;
    host.realTiles = squaresDocument(2, 0x77).tiles;
    EXPECT_TRUE(cmds.revertSession());
    undo.pressed(doc);
    // The undo brings back the tiles, not the mapped picture.
    EXPECT_EQ(doc.tiles, host.realTiles);
}

TEST_F(FileCommandsTest, CloseRequestAnswers)
{
    // Cancel, and Yes with a cancelled or failed save: stay open.
    dialogs.expectYesNoCancel(Answer::Cancel);
    EXPECT_FALSE(cmds.queryUnload(true));
    dialogs.expectYesNoCancel(Answer::Yes);
    dialogs.expectSaveFile(std::nullopt);
    EXPECT_FALSE(cmds.queryUnload(true));
    setWriteFailureForTesting(true);
    dialogs.expectYesNoCancel(Answer::Yes);
    dialogs.expectSaveFile(stdPath("edits.mvl"));
    dialogs.expectMessage("file not saved");
    EXPECT_FALSE(cmds.queryUnload(true));
    setWriteFailureForTesting(false);
    EXPECT_FALSE(doc.closing);
    EXPECT_TRUE(doc.dirty);

    dialogs.expectYesNoCancel(Answer::Yes);
    dialogs.expectSaveFile(stdPath("edits.mvl"));
    dialogs.expectMessage();
    EXPECT_TRUE(cmds.queryUnload(true));
    EXPECT_TRUE(doc.closing);
    EXPECT_TRUE(QFile::exists(path("edits.mvl")));
    EXPECT_TRUE(dialogs.allConsumed());
}

TEST_F(FileCommandsTest, CloseRequestWithoutQuestion)
{
    // Not from the user: never asks.
    EXPECT_TRUE(cmds.queryUnload(false));
    EXPECT_TRUE(doc.closing);
    doc.closing = false;
    doc.dirty = false;
    EXPECT_TRUE(cmds.queryUnload(true));
    EXPECT_TRUE(dialogs.log.empty());
}

TEST_F(FileCommandsTest, ExitEntryEndsOnlyWhenAllowed)
{
    dialogs.expectYesNoCancel(Answer::Cancel);
    cmds.run(FileCommands::Exit);
    EXPECT_EQ(host.count("closeApplication"), 0);
    EXPECT_FALSE(doc.closing);

    dialogs.expectYesNoCancel(Answer::No);
    cmds.run(FileCommands::Exit);
    EXPECT_EQ(host.count("closeApplication"), 1);
    EXPECT_TRUE(doc.closing);
}

TEST_F(FileCommandsTest, AboutBoxEndsWithTheExecutablePath)
{
    const std::string text = cmds.aboutText();
    const std::string exe = "/opt/tessella/bin/tessella";
    ASSERT_GT(text.size(), exe.size());
    EXPECT_EQ(text.substr(text.size() - exe.size()), exe);
    EXPECT_EQ(text[text.size() - exe.size() - 1], '\n');
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_EQ(text.find(".exe"), std::string::npos);

    dialogs.expectMessage(text);
    cmds.run(FileCommands::About);
    EXPECT_TRUE(dialogs.allConsumed());
}

TEST_F(FileCommandsTest, OtherEntries)
{
    const Document before = doc;
    cmds.run(FileCommands::SaveImage);
    EXPECT_EQ(host.calls, std::vector<std::string>{"saveImage"});
    host.calls.clear();
    for (int entry : {int(FileCommands::Empty), -1, 8, 100})
        cmds.run(entry);
    EXPECT_TRUE(host.calls.empty());
    EXPECT_TRUE(dialogs.log.empty());
    EXPECT_EQ(doc.tiles, before.tiles);

    // "save state" from the list.
    dialogs.expectSaveFile(stdPath("list.mvl"));
    dialogs.expectMessage();
    cmds.run(FileCommands::SaveState);
    EXPECT_FALSE(doc.dirty);
    // "load prims" from the list.
    writeDoc(cmds.primsPath(), squaresDocument(1, 5));
    cmds.run(FileCommands::LoadPrims);
    EXPECT_EQ(doc.tileCount(), 1);
}

} // namespace
} // namespace tessella::testing
