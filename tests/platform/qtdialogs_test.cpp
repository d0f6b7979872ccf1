// SPDX-License-Identifier: GPL-3.0-or-later
// The real dialogs are built here and inspected, never shown.
#include "platform/qtdialogs.h"
#include "tests/qtapp.h"

#include <gtest/gtest.h>

#include <QAbstractButton>

using namespace tessella;

TEST(QtDialogs, MessageIsPlainTextWithOk)
{
    test::qtApp();
    // Header bytes of a hostile file may look like markup; they must show as they are.
    const auto box = QtDialogs::makeMessageBox(nullptr, "<b>bold</b>error loading file");
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->text(), "<b>bold</b>error loading file");
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
}

TEST(QtDialogs, QuestionHasTwoLinesAndQuestionIcon)
{
    test::qtApp();
    const auto three = QtDialogs::makeQuestionBox(nullptr,
                                                  "Loading primitives will overwrite "
                                                  "your edits",
                                                  "do you want to save your edits first?", true);
    EXPECT_EQ(three->icon(), QMessageBox::Question);
    EXPECT_EQ(three->textFormat(), Qt::PlainText);
    EXPECT_EQ(three->text(), "Loading primitives will overwrite your edits\n"
                             "do you want to save your edits first?");
    EXPECT_EQ(three->standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(three->escapeButton(), three->button(QMessageBox::Cancel));

    const auto two = QtDialogs::makeQuestionBox(nullptr, "a", "b", false);
    EXPECT_EQ(two->standardButtons(), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(two->escapeButton(), two->button(QMessageBox::No));
}

TEST(QtDialogs, SaveDialogAppendsTheSuffixAndConfirms)
{
    test::qtApp();
    FileDialogOptions options;
    options.title = "Save .mvl File";
    options.filter = "Files (*.mvl)|*.mvl";
    options.defaultExtension = "mvl";
    options.initialFile = "/tmp/design.mvl";
    options.mustExist = true;
    options.confirmOverwrite = true;
    const auto save = QtDialogs::makeFileDialog(nullptr, options, true);
    EXPECT_EQ(save->windowTitle(), "Save .mvl File");
    EXPECT_EQ(save->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(save->fileMode(), QFileDialog::AnyFile);
    EXPECT_EQ(save->defaultSuffix(), "mvl");
    EXPECT_FALSE(save->testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(save->nameFilters(), QStringList{"Files (*.mvl)"});

    options.title = "Load .mvl File";
    options.confirmOverwrite = false;
    const auto open = QtDialogs::makeFileDialog(nullptr, options, false);
    EXPECT_EQ(open->acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(open->fileMode(), QFileDialog::ExistingFile);
    EXPECT_TRUE(open->testOption(QFileDialog::DontConfirmOverwrite));
}
