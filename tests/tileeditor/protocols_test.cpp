// SPDX-License-Identifier: GPL-3.0-or-later
// The tile editor's protocols, one table each: the save-first question (command x
// answer -> outcome), the refusals while a transform is pending, and the captions.
#include "windowfixture.h"

#include "document/documentfile.h"
#include "tileeditor/view/rotationpreview.h"

#include <numbers>

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
    if (reply != Reply::NotDirty)
        dialogs.expectYesNoCancel(reply == Reply::Cancel ? Answer::Cancel
                                  : reply == Reply::No   ? Answer::No
                                                         : Answer::Yes);
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
    if (reply != Reply::NotDirty) {
        const char *loading[] = {"Loading new state will overwrite your edits",
                                 "Loading primitives will overwrite your edits"};
        ASSERT_FALSE(dialogs.log.empty());
        EXPECT_EQ(dialogs.log[0].text,
                  loads ? loading[int(command)] : "Do you want to save your edits?");
        EXPECT_EQ(dialogs.log[0].secondLine, loads ? "do you want to save your edits first?" : "");
    }
    EXPECT_EQ(QFile::exists(path("edits.mvl")), reply == Reply::YesSaved);
    const bool closes = command >= Command::Close;
    EXPECT_EQ(doc.closing, goesOn && closes);
    EXPECT_EQ(doc.dirty, !goesOn || (closes && reply == Reply::No)); // closing unsaved keeps them
    const std::size_t tiles[] = {2, 4, 0, 3, 3};
    EXPECT_EQ(doc.tiles.size(), goesOn ? tiles[int(command)] : before.size());
    EXPECT_TRUE(goesOn || doc.tiles == before);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SaveFirst,
    ::testing::Combine(::testing::Values(Command::LoadState, Command::LoadPrims,
                                         Command::ClearSession, Command::Close, Command::Exit),
                       ::testing::Values(Reply::NotDirty, Reply::Cancel, Reply::No, Reply::YesSaved,
                                         Reply::YesSaveCancelled, Reply::YesSaveFailed)));

// While a transform is pending, whatever would replace or remove its display copy (tile
// 0 here) or change the grid is refused with a message, before any question.
struct Refusal
{
    const char *button, *list; // the button that opens the list (or acts), the list's name
    int row;
    std::string message;
};

class PendingTransform : public WindowTest, public ::testing::WithParamInterface<Refusal>
{};

TEST_P(PendingTransform, IsRefused)
{
    const Refusal &r = GetParam();
    doc.tiles = {squareTile(40, 40, 32, 0x0000ff), squareTile(104, 40, 32, 0x00ff00)};
    start();
    doc.xformOpen = true;
    doc.curTile = 0;
    doc.dirty = true;
    const std::vector<std::string> before = summaries(doc.tiles);
    dialogs.expectMessage(r.message);
    if (r.button)
        click(r.button);
    if (r.list)
        clickItem(r.list, r.row);
    if (!r.button) // the delete entry, then a click on the display copy
        clickAt(56, 56);
    EXPECT_EQ(summaries(doc.tiles), before);
    EXPECT_EQ(window->curGrid(), GridRectangular);
    EXPECT_TRUE(doc.dirty);
    EXPECT_FALSE(undoButton()->isEnabled());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, PendingTransform, ::testing::Values(
    Refusal{"cmdFiles", "lstFiles", FileCommands::LoadPrims, kCloseTransformFirstText},
    Refusal{"cmdFiles", "lstFiles", FileCommands::LoadState, kCloseTransformFirstText},
    Refusal{"cmdRevert", nullptr, 0, "please exit the transformation editor before clearing your session"},
    Refusal{"cmdGrids", "lstGrids", GridHexagonal, "please close transform editor before changing grids"},
    Refusal{nullptr, "lstTiles", TileDelete, kDeleteRefused}));
// clang-format on

// The zoom ladder, once: the keys reach the window whichever control has the focus.
TEST_F(WindowTest, ZoomKeysCaptionAndLineWidth)
{
    struct Step
    {
        Qt::Key key;
        const char *caption;
        int lineWidth;
        int beeps;
    };
    // clang-format off
    const Step ladder[] = {
        {Qt::Key_Comma, "71%", 1, 0}, {Qt::Key_Comma, "50%", 1, 0}, {Qt::Key_Comma, "50%", 1, 1},
        {Qt::Key_Period, "71%", 1, 1}, {Qt::Key_Period, "100%", 1, 1}, {Qt::Key_Period, "141%", 1, 1},
        {Qt::Key_Period, "200%", 2, 1}, {Qt::Key_Period, "283%", 2, 1}, {Qt::Key_Period, "400%", 4, 1},
        {Qt::Key_Period, "400%", 4, 2}, {Qt::Key_Slash, "50%", 1, 2},
    };
    // clang-format on
    start();
    EXPECT_EQ(title(), "tile editor    100%");
    QListWidget *focused = control<QListWidget>("lstTiles");
    focused->setFocus();
    for (const Step &step : ladder) {
        QTest::keyClick(focused, step.key);
        EXPECT_EQ(title(), QString("tile editor    ") + step.caption);
        EXPECT_EQ(window->canvasLineWidth(), step.lineWidth) << step.caption;
        EXPECT_EQ(dialogs.beeps, step.beeps) << step.caption;
    }
}

TEST(RotationReadout, ShowsTheNegatedAngleInWholeDegreesHalvesToEven)
{
    const double deg = std::numbers::pi / 180;
    const std::pair<double, const char *> cases[] = {
        {-90 * deg, "90"}, {0, "0"},          {180 * deg, "-180"}, {-2.5 * deg, "2"},
        {-1.5 * deg, "2"}, {-0.5 * deg, "0"}, {std::nan(""), "0"},
    };
    for (const auto &[angle, degrees] : cases)
        EXPECT_EQ(rotationLabel(angle), std::string(degrees) + kDegreeSign) << angle;
}

} // namespace
} // namespace tessella::test
