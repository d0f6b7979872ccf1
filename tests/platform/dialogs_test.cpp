// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qtdialogs.h"
#include "platform/scripteddialogs.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace tessella;

namespace {

// Collects reported failures instead of failing the test, to check the reporting itself.
struct RecordingDialogs : ScriptedDialogs
{
    std::vector<std::string> failures;
    RecordingDialogs()
    {
        onFailure = [this](const std::string &what) { failures.push_back(what); };
    }
};

FileDialogOptions mvlOptions(const std::string &title)
{
    FileDialogOptions options;
    options.title = title;
    options.filter = "Files (*.mvl)|*.mvl";
    options.defaultExtension = "mvl";
    options.initialFile = "/tmp/a.mvl";
    options.mustExist = true;
    options.confirmOverwrite = title == "Save .mvl File";
    return options;
}

} // namespace

TEST(ScriptedDialogs, AnswersQueuedDialogsInOrder)
{
    RecordingDialogs dialogs;
    dialogs.expectYesNoCancel(Answer::Yes);
    dialogs.expectSaveFile(std::string("/tmp/out.mvl"));
    dialogs.expectMessage("saved as:\n/tmp/out.mvl");
    dialogs.expectQuestion(Answer::No);
    dialogs.expectOpenFile(std::nullopt);
    dialogs.expectColor(0x123456);
    EXPECT_EQ(dialogs.pending(), 6u);

    EXPECT_EQ(dialogs.askYesNoCancel("Loading new state will overwrite your edits",
                                     "do you want to save your edits first?"),
              Answer::Yes);
    EXPECT_EQ(dialogs.saveFile(mvlOptions("Save .mvl File")), std::string("/tmp/out.mvl"));
    dialogs.message("saved as:\n/tmp/out.mvl");
    EXPECT_EQ(dialogs.askYesNo("first", "second"), Answer::No);
    EXPECT_EQ(dialogs.openFile(mvlOptions("Load .mvl File")), std::nullopt);
    EXPECT_EQ(dialogs.chooseColor(0xff), 0x123456);

    EXPECT_TRUE(dialogs.allConsumed());
    EXPECT_TRUE(dialogs.failures.empty());
}

TEST(ScriptedDialogs, LogRecordsKindsTextsAndOptions)
{
    RecordingDialogs dialogs;
    dialogs.expectYesNoCancel(Answer::Cancel);
    dialogs.expectOpenFile(std::string("/x.mvl"));
    dialogs.expectMessage();
    dialogs.expectColor(std::nullopt);
    dialogs.askYesNoCancel("Do you want to save your edits?", "");
    dialogs.openFile(mvlOptions("Load .mvl File"));
    dialogs.message("could not find primitives.mvl");
    dialogs.chooseColor(0x0000ff);
    dialogs.beep();
    dialogs.beep();

    ASSERT_EQ(dialogs.log.size(), 4u);
    EXPECT_EQ(dialogs.log[0].kind, ScriptedDialogs::Kind::YesNoCancel);
    EXPECT_EQ(dialogs.log[0].text, "Do you want to save your edits?");
    EXPECT_EQ(dialogs.log[1].kind, ScriptedDialogs::Kind::OpenFile);
    EXPECT_EQ(dialogs.log[1].options.title, "Load .mvl File");
    EXPECT_EQ(dialogs.log[1].options.filter, "Files (*.mvl)|*.mvl");
    EXPECT_EQ(dialogs.log[1].options.defaultExtension, "mvl");
    EXPECT_EQ(dialogs.log[1].options.initialFile, "/tmp/a.mvl");
    EXPECT_TRUE(dialogs.log[1].options.mustExist);
    EXPECT_FALSE(dialogs.log[1].options.confirmOverwrite);
    EXPECT_EQ(dialogs.log[2].kind, ScriptedDialogs::Kind::Message);
    EXPECT_EQ(dialogs.log[3].kind, ScriptedDialogs::Kind::Color);
    EXPECT_EQ(dialogs.log[3].initialColor, 0x0000ff);
    EXPECT_EQ(dialogs.beeps, 2);
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"could not find primitives.mvl"});
    EXPECT_EQ(dialogs.lastMessage(), "could not find primitives.mvl");
    EXPECT_TRUE(dialogs.failures.empty());
}

TEST(ScriptedDialogs, UnexpectedDialogIsReportedAndCancelled)
{
    RecordingDialogs dialogs;
    EXPECT_EQ(dialogs.askYesNoCancel("a", "b"), Answer::Cancel);
    EXPECT_EQ(dialogs.askYesNo("a", "b"), Answer::No);
    EXPECT_EQ(dialogs.saveFile(mvlOptions("Save .mvl File")), std::nullopt);
    EXPECT_EQ(dialogs.chooseColor(5), std::nullopt);
    dialogs.message("file not saved");
    ASSERT_EQ(dialogs.failures.size(), 5u);
    EXPECT_NE(dialogs.failures[4].find("file not saved"), std::string::npos);
    // Still logged, so a test can see what appeared.
    EXPECT_EQ(dialogs.log.size(), 5u);
}

TEST(ScriptedDialogs, WrongKindIsReportedAndLeavesTheQueue)
{
    RecordingDialogs dialogs;
    dialogs.expectSaveFile(std::string("/tmp/x.mvl"));
    EXPECT_EQ(dialogs.openFile(mvlOptions("Load .mvl File")), std::nullopt);
    ASSERT_EQ(dialogs.failures.size(), 1u);
    EXPECT_NE(dialogs.failures[0].find("save dialog"), std::string::npos);
    EXPECT_NE(dialogs.failures[0].find("open dialog"), std::string::npos);
    EXPECT_FALSE(dialogs.allConsumed());
    EXPECT_EQ(dialogs.saveFile(mvlOptions("Save .mvl File")), std::string("/tmp/x.mvl"));
    EXPECT_TRUE(dialogs.allConsumed());
}

TEST(ScriptedDialogs, StrictQuestionKindsAndImpossibleCancel)
{
    RecordingDialogs dialogs;
    dialogs.expectYesNo(Answer::Yes);
    EXPECT_EQ(dialogs.askYesNoCancel("a", "b"), Answer::Cancel);
    EXPECT_EQ(dialogs.failures.size(), 1u);
    EXPECT_EQ(dialogs.askYesNo("a", "b"), Answer::Yes);

    dialogs.expectQuestion(Answer::Cancel);
    EXPECT_EQ(dialogs.askYesNo("a", "b"), Answer::No);
    EXPECT_EQ(dialogs.failures.size(), 2u);
    EXPECT_TRUE(dialogs.allConsumed());
}

TEST(ScriptedDialogs, MessageTextIsChecked)
{
    RecordingDialogs dialogs;
    dialogs.expectMessage("file not saved");
    dialogs.message("saved as:\n/a.mvl");
    ASSERT_EQ(dialogs.failures.size(), 1u);
    EXPECT_NE(dialogs.failures[0].find("file not saved"), std::string::npos);
    EXPECT_TRUE(dialogs.allConsumed());
}

TEST(ScriptedDialogs, DefaultFailureThrows)
{
    ScriptedDialogs dialogs;
    EXPECT_THROW(dialogs.message("nobody expects this"), std::logic_error);
    dialogs.expectMessage();
    EXPECT_NO_THROW(dialogs.message("expected"));
}

TEST(DialogText, Latin1BytesBecomeUtf8)
{
    EXPECT_EQ(latin1ToUtf8("morvel v.96"), "morvel v.96");
    EXPECT_EQ(latin1ToUtf8("\xb0"), "\xc2\xb0");
    EXPECT_EQ(latin1ToUtf8(std::string("\xff\x00<b>", 5)), std::string("\xc3\xbf\x00<b>", 6));
    EXPECT_EQ(latin1ToUtf8(""), "");
}

TEST(FileFilters, PairsBecomeQtNameFilters)
{
    EXPECT_EQ(qtNameFilters("Files (*.mvl)|*.mvl"), QStringList{"Files (*.mvl)"});
    EXPECT_EQ(qtNameFilters("Bitmap (*.bmp)|*.bmp|JPEG (*.jpg)|*.jpg"),
              (QStringList{"Bitmap (*.bmp)", "JPEG (*.jpg)"}));
    // The pattern after the bar decides, whatever the description claims.
    EXPECT_EQ(qtNameFilters("Files (*.txt)|*.mvl"), QStringList{"Files (*.txt) (*.mvl)"});
    EXPECT_EQ(qtNameFilters("All (*.*)|*.*"), QStringList{"All (*)"});
    EXPECT_EQ(qtNameFilters("Pictures|*.bmp;*.jpg|All files|*.*"),
              (QStringList{"Pictures (*.bmp *.jpg)", "All files (*)"}));
    // A description without a pattern matches everything rather than nothing.
    EXPECT_EQ(qtNameFilters("Anything"), QStringList{"Anything (*)"});
    EXPECT_EQ(qtNameFilters("Files (*.mvl)|*.mvl|"), QStringList{"Files (*.mvl)"});
}
