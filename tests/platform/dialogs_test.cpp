// SPDX-License-Identifier: GPL-3.0-or-later
// The scripted dialogs tests rely on, and the real ones, built and inspected, never shown.
#include "platform/qtdialogs.h"
#include "platform/scripteddialogs.h"
#include "tests/qtapp.h"

#include <gtest/gtest.h>

#include <QAbstractButton>

#include <stdexcept>

using namespace tessella;

namespace {

const auto mvlOptions = [](bool save) {
    return FileDialogOptions{save ? "Save" : "Load", "(*.mvl)|*.mvl", "mvl", "/a.mvl", true, save};
};

TEST(ScriptedDialogs, UnexpectedWrongKindOrWrongTextIsReportedAndCancelled)
{
    ScriptedDialogs dialogs; // collects the failures it reports, to check the reporting itself
    std::vector<std::string> failures;
    dialogs.onFailure = [&](const std::string &what) { failures.push_back(what); };
    EXPECT_TRUE(dialogs.askYesNoCancel("a", "b") == Answer::Cancel &&
                dialogs.askYesNo("a", "b") == Answer::No && !dialogs.chooseColor(5));
    dialogs.message("file not saved"); // still logged, so a test can see what appeared
    ASSERT_EQ(std::pair(failures.size(), dialogs.log.size()), std::pair(4ul, 4ul));
    EXPECT_NE(failures[3].find("file not saved"), std::string::npos);

    failures.clear();
    dialogs.expectSaveFile(std::string("/tmp/x.mvl"));
    EXPECT_EQ(dialogs.openFile(mvlOptions(false)), std::nullopt); // stays queued
    EXPECT_EQ(dialogs.saveFile(mvlOptions(true)), std::string("/tmp/x.mvl"));
    dialogs.expectYesNo(Answer::Yes);
    EXPECT_TRUE(dialogs.askYesNoCancel("a", "b") == Answer::Cancel &&
                dialogs.askYesNo("a", "b") == Answer::Yes);
    dialogs.expectQuestion(Answer::Cancel); // a Yes/No box cannot answer Cancel
    EXPECT_EQ(dialogs.askYesNo("a", "b"), Answer::No);
    dialogs.expectMessage("file not saved");
    dialogs.message("saved as:\n/a.mvl");
    ASSERT_EQ(failures.size(), 4u);
    EXPECT_TRUE(failures[0].find("save dialog") != std::string::npos &&
                failures[0].find("open dialog") != std::string::npos && dialogs.allConsumed())
        << failures[0];

    // By default an unexpected dialog throws.
    EXPECT_THROW(ScriptedDialogs().message("nobody expects this"), std::logic_error);
}

TEST(QtDialogs, TextIsPlainAndTheButtonsAreTheQuestionsAnswers)
{
    test::qtApp();
    // Header bytes of a hostile file may look like markup; they must show as they are.
    const auto box = QtDialogs::makeMessageBox(nullptr, "<b>bold</b>error loading file");
    EXPECT_TRUE(box->textFormat() == Qt::PlainText &&
                box->text() == "<b>bold</b>error loading file");
    const auto three = QtDialogs::makeQuestionBox(nullptr, "<i>first</i>", "second", true);
    EXPECT_TRUE(three->textFormat() == Qt::PlainText && three->text() == "<i>first</i>\nsecond" &&
                three->escapeButton() == three->button(QMessageBox::Cancel));

    // Saving asks before overwriting.
    EXPECT_FALSE(QtDialogs::makeFileDialog(nullptr, mvlOptions(true), true)
                     ->testOption(QFileDialog::DontConfirmOverwrite));
}

TEST(DialogText, Latin1BytesAndFilterPairs)
{
    EXPECT_TRUE(latin1ToUtf8("\xb0") == "\xc2\xb0" &&
                latin1ToUtf8(std::string("\xff\x00<b>", 5)) == std::string("\xc3\xbf\x00<b>", 6));
    // clang-format off
    const std::vector<std::pair<std::string, QStringList>> filters = {
        {"Bitmap (*.bmp)|*.bmp|JPEG (*.jpg)|*.jpg", {"Bitmap (*.bmp)", "JPEG (*.jpg)"}},
        {"Files (*.txt)|*.mvl", {"Files (*.txt) (*.mvl)"}}, {"All (*.*)|*.*", {"All (*)"}}, // the pattern decides
        {"Pictures|*.bmp;*.jpg|All files|*.*", {"Pictures (*.bmp *.jpg)", "All files (*)"}},
        {"Anything", {"Anything (*)"}}, {"Files (*.mvl)|*.mvl|", {"Files (*.mvl)"}}}; // no pattern: everything
    // clang-format on
    for (const auto &[filter, expected] : filters)
        EXPECT_EQ(qtNameFilters(filter), expected) << filter;
}

} // namespace
