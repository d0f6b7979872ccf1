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

    if (reply != Reply::NotDirty)
        dialogs.expectYesNoCancel(reply == Reply::Cancel ? Answer::Cancel
                                  : reply == Reply::No   ? Answer::No
                                                         : Answer::Yes);
    if (reply == Reply::YesSaveCancelled)
        dialogs.expectSaveFile(std::nullopt);
    if (reply == Reply::YesSaved || reply == Reply::YesSaveFailed) {
        setWriteFailureForTesting(reply == Reply::YesSaveFailed);
        dialogs.expectSaveFile(stdPath("edits.mvl"));
        dialogs.expectMessage(reply == Reply::YesSaved ? "saved as:\n" + stdPath("edits.mvl")
                                                       : "file not saved");
    }
    if (goesOn && command == Command::LoadState)
        dialogs.expectOpenFile(stdPath("two.mvl"));

    bool done = false;
    std::string firstLine = "Do you want to save your edits?", secondLine;
    switch (command) {
    case Command::LoadState:
        done = cmds.loadState();
        firstLine = "Loading new state will overwrite your edits";
        secondLine = "do you want to save your edits first?";
        break;
    case Command::LoadPrims:
        done = cmds.loadPrims();
        firstLine = "Loading primitives will overwrite your edits";
        secondLine = "do you want to save your edits first?";
        break;
    case Command::ClearSession:
        done = cmds.revertSession();
        break;
    case Command::Close:
        done = cmds.queryUnload(true);
        break;
    case Command::Exit:
        cmds.run(FileCommands::Exit);
        done = host.calls == std::vector<std::string>{"closeApplication"};
        break;
    }
    if (reply != Reply::NotDirty) {
        ASSERT_FALSE(dialogs.log.empty());
        EXPECT_EQ(dialogs.log[0].text, firstLine);
        EXPECT_EQ(dialogs.log[0].secondLine, secondLine);
    }
    EXPECT_EQ(done, goesOn);
    EXPECT_EQ(QFile::exists(path("edits.mvl")), reply == Reply::YesSaved);
    if (!goesOn) {
        EXPECT_EQ(doc.tiles, before);
        EXPECT_TRUE(doc.dirty);
        EXPECT_FALSE(doc.closing);
        return;
    }
    const bool closes = command == Command::Close || command == Command::Exit;
    EXPECT_EQ(doc.dirty, closes && reply == Reply::No); // closing without saving keeps them
    EXPECT_EQ(doc.closing, closes);
    const std::size_t tiles[] = {2, 4, 0, 3, 3};
    EXPECT_EQ(doc.tiles.size(), tiles[int(command)]);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SaveFirst,
    ::testing::Combine(::testing::Values(Command::LoadState, Command::LoadPrims,
                                         Command::ClearSession, Command::Close, Command::Exit),
                       ::testing::Values(Reply::NotDirty, Reply::Cancel, Reply::No, Reply::YesSaved,
                                         Reply::YesSaveCancelled, Reply::YesSaveFailed)));

// The window's close request asks the same question.
TEST_F(WindowTest, CloseAsksAboutUnsavedEdits)
{
    start();
    doc.dirty = true;
    dialogs.expectYesNoCancel(Answer::Cancel);
    window->close();
    EXPECT_TRUE(window->isVisible());
    dialogs.expectYesNoCancel(Answer::No);
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(doc.closing);
}

// While a transform is pending, whatever would replace or remove its display copy (tile
// 0 here) or change the grid is refused with a message, before any question.
struct Refusal
{
    const char *name;
    std::string message;
    std::function<void(WindowTest &)> act;
};

class PendingTransform : public WindowTest, public ::testing::WithParamInterface<Refusal>
{};

void PrintTo(const Refusal &r, std::ostream *out)
{
    *out << r.name;
}

TEST_P(PendingTransform, IsRefused)
{
    doc.tiles = {squareTile(40, 40, 32, 0x0000ff), squareTile(104, 40, 32, 0x00ff00)};
    start();
    doc.xformOpen = true;
    doc.curTile = 0;
    doc.dirty = true;
    const std::vector<std::string> before = summaries(doc.tiles);
    dialogs.expectMessage(GetParam().message);
    GetParam().act(*this);
    EXPECT_EQ(summaries(doc.tiles), before);
    EXPECT_EQ(window->curGrid(), GridRectangular);
    EXPECT_TRUE(doc.dirty);
    EXPECT_FALSE(undoButton()->isEnabled());
}

void openList(WindowTest &w, const char *button, const char *list, int row)
{
    w.click(button);
    w.clickItem(list, row);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PendingTransform,
    ::testing::Values(Refusal{"LoadPrims", kCloseTransformFirstText,
                              [](WindowTest &w) {
                                  openList(w, "cmdFiles", "lstFiles", FileCommands::LoadPrims);
                              }},
                      Refusal{"LoadState", kCloseTransformFirstText,
                              [](WindowTest &w) {
                                  openList(w, "cmdFiles", "lstFiles", FileCommands::LoadState);
                              }},
                      Refusal{"ClearSession",
                              "please exit the transformation editor before clearing your session",
                              [](WindowTest &w) { w.click("cmdRevert"); }},
                      Refusal{"ChangeGrid", "please close transform editor before changing grids",
                              [](WindowTest &w) {
                                  openList(w, "cmdGrids", "lstGrids", GridHexagonal);
                              }},
                      Refusal{"DeleteTheDisplayCopy", kDeleteRefused,
                              [](WindowTest &w) {
                                  w.clickItem("lstTiles", TileDelete);
                                  w.clickAt(56, 56);
                              }}),
    [](const auto &info) { return std::string(info.param.name); });

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
