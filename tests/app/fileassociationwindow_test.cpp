// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/fileassociationwindow.h"

#include "platform/scripteddialogs.h"

#include "tests/qtapp.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace tessella;

namespace {

const std::string kSuccess = "Associated the file extension .mvl with this application";

bool makeFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("x") == 1;
}

QStringList semFiles(const QString &dir)
{
    return QDir(dir).entryList({"*.sem"}, QDir::Files, QDir::Name);
}

class FileAssociationWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        tessella::test::qtApp();
        ASSERT_TRUE(dir.isValid());
        dialogs.onFailure = [](const std::string &what) { ADD_FAILURE() << what; };
        setup.association.dataHome = dir.filePath("share");
        setup.association.executablePath = dir.filePath("my bin/tessella");
        configDir = dir.filePath("config/tessella");
        setup.marker.path = configDir + "/tessella.sem";
        setup.marker.perUserDir = true;
    }

    FileAssociationWindow &open()
    {
        window = std::make_unique<FileAssociationWindow>(dialogs, setup);
        window->show();
        return *window;
    }

    void click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    FileAssociationSetup setup;
    QString configDir;
    std::unique_ptr<FileAssociationWindow> window;
};

} // namespace

TEST_F(FileAssociationWindowTest, ShowsTheQuestionAndItsControls)
{
    FileAssociationWindow &w = open();
    auto *label = w.findChild<QLabel *>("Label1");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(),
              "Would you like to register a file association\nfor *.mvl to this appication?");
    auto *yes = w.findChild<QPushButton *>("cmdYes");
    auto *no = w.findChild<QPushButton *>("cmdNo");
    auto *dontAsk = w.findChild<QCheckBox *>("ChkDontAsk");
    ASSERT_NE(yes, nullptr);
    ASSERT_NE(no, nullptr);
    ASSERT_NE(dontAsk, nullptr);
    EXPECT_EQ(yes->text(), "yes");
    EXPECT_EQ(no->text(), "No");
    EXPECT_EQ(dontAsk->text(), "don't ask me again");
    EXPECT_FALSE(dontAsk->isChecked());
    EXPECT_TRUE(yes->isEnabled());
    EXPECT_FALSE(w.isModal());
}

TEST_F(FileAssociationWindowTest, YesRegistersReportsSuccessAndLeavesOneMarker)
{
    ASSERT_TRUE(QDir().mkpath(configDir));
    ASSERT_TRUE(makeFile(configDir + "/old-name.sem"));
    ASSERT_TRUE(makeFile(configDir + "/settings.ini"));
    FileAssociationWindow &w = open();
    dialogs.expectMessage(kSuccess);

    click(w.cmdYes);

    EXPECT_TRUE(dialogs.allConsumed());
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{kSuccess});
    EXPECT_EQ(semFiles(configDir), QStringList{"tessella.sem"});
    EXPECT_TRUE(QFileInfo::exists(configDir + "/settings.ini"));
    EXPECT_TRUE(QFileInfo(setup.association.dataHome + "/applications/tessella.desktop").isFile());
    EXPECT_FALSE(w.isVisible());
}

TEST_F(FileAssociationWindowTest, YesNeverClearsMarkersBesideTheExecutable)
{
    const QString binDir = dir.filePath("bin");
    ASSERT_TRUE(QDir().mkpath(binDir));
    ASSERT_TRUE(makeFile(binDir + "/othertool.sem"));
    setup.marker.path = binDir + "/tessella.sem";
    setup.marker.perUserDir = false;
    FileAssociationWindow &w = open();
    dialogs.expectMessage(kSuccess);

    click(w.cmdYes);

    EXPECT_EQ(semFiles(binDir), (QStringList{"othertool.sem", "tessella.sem"}));
}

TEST_F(FileAssociationWindowTest, FailedStepIsReportedWithoutSuccessButMarkerIsWritten)
{
    ASSERT_TRUE(QDir().mkpath(setup.association.dataHome));
    ASSERT_TRUE(makeFile(setup.association.dataHome + "/applications"));
    FileAssociationWindow &w = open();
    dialogs.expectMessage("Error: Creating Key!");

    click(w.cmdYes);

    EXPECT_TRUE(dialogs.allConsumed());
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Error: Creating Key!"});
    EXPECT_TRUE(QFileInfo(setup.marker.path).isFile());
    EXPECT_FALSE(w.isVisible());
}

TEST_F(FileAssociationWindowTest, MarkerThatCannotBeWrittenLeavesTheQuestionForNextTime)
{
    ASSERT_TRUE(makeFile(dir.filePath("config")));
    FileAssociationWindow &w = open();
    dialogs.expectMessage(kSuccess);

    click(w.cmdYes);

    EXPECT_TRUE(dialogs.allConsumed());
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(shouldOfferAssociation(setup.marker.path, QString()));
}

TEST_F(FileAssociationWindowTest, DontAskDisablesYesAndNoThenWritesTheMarker)
{
    FileAssociationWindow &w = open();
    click(w.ChkDontAsk);
    EXPECT_TRUE(w.ChkDontAsk->isChecked());
    EXPECT_FALSE(w.cmdYes->isEnabled());

    // A click on the disabled button does nothing.
    click(w.cmdYes);
    EXPECT_TRUE(dialogs.log.empty());
    EXPECT_FALSE(QFileInfo::exists(setup.marker.path));
    EXPECT_TRUE(w.isVisible());

    click(w.cmdNo);
    EXPECT_TRUE(QFileInfo(setup.marker.path).isFile());
    EXPECT_FALSE(QFileInfo::exists(setup.association.dataHome));
    EXPECT_TRUE(dialogs.log.empty());
    EXPECT_FALSE(w.isVisible());
}

TEST_F(FileAssociationWindowTest, UncheckingEnablesYesAgain)
{
    FileAssociationWindow &w = open();
    click(w.ChkDontAsk);
    click(w.ChkDontAsk);
    EXPECT_FALSE(w.ChkDontAsk->isChecked());
    EXPECT_TRUE(w.cmdYes->isEnabled());
}

TEST_F(FileAssociationWindowTest, PlainNoWritesNoMarker)
{
    FileAssociationWindow &w = open();
    click(w.cmdNo);
    EXPECT_FALSE(QFileInfo::exists(setup.marker.path));
    EXPECT_FALSE(QFileInfo::exists(configDir));
    EXPECT_TRUE(dialogs.log.empty());
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(shouldOfferAssociation(setup.marker.path, QString()));
}

TEST(ShouldOfferAssociation, OnlyWithoutMarkerAndWithoutDocument)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString marker = dir.filePath("tessella.sem");
    EXPECT_TRUE(shouldOfferAssociation(marker, QString()));
    EXPECT_FALSE(shouldOfferAssociation(marker, "drawing.mvl"));
    ASSERT_TRUE(makeFile(marker));
    EXPECT_FALSE(shouldOfferAssociation(marker, QString()));
    EXPECT_FALSE(shouldOfferAssociation(marker, "drawing.mvl"));
}
