// SPDX-License-Identifier: GPL-3.0-or-later
// The tile editor's protocols, one table each: the save-first question (command x
// answer -> outcome), and the refusals while a transform is pending; then the files list's commands
// with real files: damaged files, the command-line file and the library.
#include "windowfixture.h"

#include "document/documentfile.h"

namespace tessella::test {
namespace {

enum class Command { LoadState, LoadPrims, ClearSession, Close, Exit };
enum class Reply { NotDirty, Cancel, No, YesSaved, YesSaveCancelled, YesSaveFailed };

class SaveFirst : public FilesTest, public ::testing::WithParamInterface<std::tuple<Command, Reply>>
{};

TEST_P(SaveFirst, Question)
{
    const auto [command, reply] = GetParam();
    writeDoc(path("two.mvl"), squareRow(2, 20, 0x0000ff));
    doc.dirty = reply != Reply::NotDirty;
    const std::vector<Tile> before = doc.tiles;
    const bool goesOn = reply == Reply::NotDirty || reply == Reply::No || reply == Reply::YesSaved;
    const bool saves = reply == Reply::YesSaved || reply == Reply::YesSaveFailed;
    const Answer answers[] = {Answer::Yes, Answer::Cancel, Answer::No, Answer::Yes};
    if (reply != Reply::NotDirty)
        dialogs.expectYesNoCancel(answers[std::min(int(reply), 3)]);
    if (reply >= Reply::YesSaved)
        dialogs.expectSaveFile(saves ? std::optional(stdPath("edits.mvl")) : std::nullopt);
    setWriteFailureForTesting(reply == Reply::YesSaveFailed);
    if (saves)
        dialogs.expectMessage(goesOn ? "saved as:\n" + stdPath("edits.mvl") : "file not saved");
    if (goesOn && command == Command::LoadState)
        dialogs.expectOpenFile(stdPath("two.mvl"));

    const std::function<bool()> commands[] = {
        [&] { return cmds.loadState(); }, [&] { return cmds.loadPrims(); },
        [&] { return cmds.revertSession(); }, [&] { return cmds.queryUnload(true); },
        [&] {
            return cmds.run(FileCommands::Exit),
                   host.calls == std::vector<std::string>{"closeApplication"};
        }};
    EXPECT_EQ(commands[int(command)](), goesOn);
    const bool loads = command <= Command::LoadPrims;
    const std::string loading[] = {"Loading new state", "Loading primitives"};
    if (reply != Reply::NotDirty) {
        EXPECT_EQ(dialogs.log.at(0).text, loads
                                              ? loading[int(command)] + " will overwrite your edits"
                                              : "Do you want to save your edits?");
        EXPECT_EQ(dialogs.log[0].secondLine, loads ? "do you want to save your edits first?" : "");
    }
    EXPECT_EQ(QFile::exists(path("edits.mvl")), reply == Reply::YesSaved);
    const bool closes = command >= Command::Close;
    EXPECT_EQ(doc.closing, goesOn && closes);
    EXPECT_EQ(doc.dirty, !goesOn || (closes && reply == Reply::No)); // closing unsaved keeps them
    const std::size_t tiles[] = {2, 4, 0, 3, 3};
    EXPECT_TRUE(goesOn ? doc.tiles.size() == tiles[int(command)] : doc.tiles == before);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SaveFirst,
    ::testing::Combine(::testing::Values(Command::LoadState, Command::LoadPrims,
                                         Command::ClearSession, Command::Close, Command::Exit),
                       ::testing::Values(Reply::NotDirty, Reply::Cancel, Reply::No, Reply::YesSaved,
                                         Reply::YesSaveCancelled, Reply::YesSaveFailed)));

// While a transform is pending, whatever would replace or remove its display copy (tile
// 0 here) or change the grid is refused with a message, before any question.
// The button that opens the list (or acts), the list's name, its row, the message.
using Refusal = std::tuple<const char *, const char *, int, std::string>;

class PendingTransform : public WindowTest, public ::testing::WithParamInterface<Refusal>
{};

TEST_P(PendingTransform, IsRefused)
{
    const auto &[button, list, row, message] = GetParam();
    doc.tiles = {squareTile(40, 40, 32, 0x0000ff), squareTile(104, 40, 32, 0x00ff00)};
    start();
    doc.xformOpen = true, doc.curTile = 0, doc.dirty = true;
    const std::vector<std::string> before = summaries(doc.tiles);
    dialogs.expectMessage(message);
    if (button)
        click(button);
    if (list)
        clickItem(list, row);
    if (!button) // the delete entry, then a click on the display copy
        clickAt(56, 56);
    EXPECT_EQ(summaries(doc.tiles), before);
    EXPECT_TRUE(window->curGrid() == GridRectangular && doc.dirty && !undoButton()->isEnabled());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, PendingTransform, ::testing::Values(
    Refusal{"cmdFiles", "lstFiles", FileCommands::LoadPrims, kCloseTransformFirstText},
    Refusal{"cmdFiles", "lstFiles", FileCommands::LoadState, kCloseTransformFirstText},
    Refusal{"cmdRevert", nullptr, 0, "please exit the transformation editor before clearing your session"},
    Refusal{"cmdGrids", "lstGrids", GridHexagonal, "please close transform editor before changing grids"},
    Refusal{nullptr, "lstTiles", TileDelete, kDeleteRefused}));
// clang-format on

// A file that cannot be loaded is reported with its header bytes (Latin-1) and leaves
// the session, its path and its undo as they were; a file named on the command line loads
// once without a dialog.
TEST_F(FilesTest, FailedLoadsKeepTheSessionAndTheCommandLineFileLoadsOnce)
{
    std::vector<uint8_t> cut = *writeDocument(squareRow(2, 20, 0x0000ff));
    cut.resize(45); // in a vertex array
    writeBytes(path("short.mvl"), cut);
    std::copy_n("caf\xe9 design", 11, cut.begin()); // an unknown header is read as one
    writeBytes(path("latin.mvl"), cut);
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

    doc = Document{};
    cmds.setCommandLineFile(path("nothere.mvl"));
    dialogs.expectMessage("error loading file");
    EXPECT_FALSE(cmds.loadState());
    EXPECT_FALSE(cmds.cmdFilePending());
    writeDoc(path("cmd.mvl"), squareRow(4, 20, 0x00ff00));
    cmds.setCommandLineFile(path("cmd.mvl"));
    cmds.run(FileCommands::LoadState);
    EXPECT_EQ(doc.tileCount(), 4);
    EXPECT_EQ(cmds.docPath(), path("cmd.mvl"));
    dialogs.expectOpenFile(std::nullopt); // the next load asks again
    EXPECT_FALSE(cmds.loadState());
    EXPECT_EQ(dialogs.log.back().options.initialFile, stdPath("cmd.mvl"));
}

TEST_F(FilesTest, TheLibraryReplacesOnlyTheTiles)
{
    doc.curTile = 1;
    doc.sketches = {Sketch{}, Sketch{}};
    doc.dirty = false;
    cmds.run(FileCommands::LoadPrims);
    EXPECT_EQ(doc.tiles, squareRow(4, 20, 0x00aa00, GridCenterFace).tiles);
    EXPECT_TRUE(doc.curTile == 1 && doc.sketches.size() == 2 && doc.grid == GridHexagonal);
    const std::vector<Tile> before = doc.tiles;
    writeBytes(cmds.primsPath(), {'s', 'h', 'o', 'r', 't'});
    dialogs.expectMessage("error loading file");
    EXPECT_FALSE(cmds.loadPrims());
    QFile::remove(cmds.primsPath());
    dialogs.expectMessage("could not find primitives.mvl");
    EXPECT_FALSE(cmds.loadPrims());
    EXPECT_EQ(doc.tiles, before);
}

} // namespace
} // namespace tessella::test
