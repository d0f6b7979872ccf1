// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/fileassociationwindow.h"

#include "platform/scripteddialogs.h"

#include "tests/qtapp.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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
        dialogs.onFailure = [](const std::string &what) { ADD_FAILURE() << what; };
        setup.association.dataHome = dir.filePath("share");
        setup.association.executablePath = dir.filePath("my bin/tessella");
        setup.marker.path = configDir + "/tessella.sem";
        setup.marker.perUserDir = true;
    }
    // Opens the window, clicks the named buttons with the real mouse; the window closes.
    void answer(std::initializer_list<const char *> buttons, bool closes = true)
    {
        window = std::make_unique<FileAssociationWindow>(dialogs, setup);
        window->show();
        for (const char *name : buttons)
            QTest::mouseClick(window->findChild<QAbstractButton *>(name), Qt::LeftButton);
        EXPECT_TRUE(dialogs.allConsumed());
        EXPECT_EQ(window->isVisible(), !closes);
    }

    QTemporaryDir dir;
    QString configDir = dir.filePath("config/tessella");
    ScriptedDialogs dialogs;
    FileAssociationSetup setup;
    std::unique_ptr<FileAssociationWindow> window;
};

} // namespace

TEST_F(FileAssociationWindowTest, YesRegistersAndReplacesOldMarkers)
{
    ASSERT_TRUE(QDir().mkpath(configDir));
    ASSERT_TRUE(makeFile(configDir + "/old-name.sem"));
    ASSERT_TRUE(makeFile(configDir + "/settings.ini"));
    dialogs.expectMessage(kSuccess);
    answer({"cmdYes"});
    EXPECT_EQ(semFiles(configDir), QStringList{"tessella.sem"});
    EXPECT_TRUE(QFileInfo::exists(configDir + "/settings.ini"));
    EXPECT_TRUE(QFileInfo(setup.association.dataHome + "/applications/tessella.desktop").isFile());
}

TEST_F(FileAssociationWindowTest, AFailedStepOrMarkerIsReportedHonestly)
{
    // The association fails: no success message, but the question is not asked again.
    ASSERT_TRUE(QDir().mkpath(setup.association.dataHome));
    ASSERT_TRUE(makeFile(setup.association.dataHome + "/applications"));
    dialogs.expectMessage("Error: Creating Key!");
    answer({"cmdYes"});
    EXPECT_TRUE(QFileInfo(setup.marker.path).isFile());

    // The marker cannot be written: the question comes back next time.
    setup.association.dataHome = dir.filePath("share2");
    setup.marker.path = dir.filePath("config2/tessella/tessella.sem");
    ASSERT_TRUE(makeFile(dir.filePath("config2")));
    dialogs.expectMessage(kSuccess);
    answer({"cmdYes"});
    EXPECT_TRUE(shouldOfferAssociation(setup.marker.path, QString()));
}

TEST_F(FileAssociationWindowTest, DontAskDisablesYesAndNoThenWritesOnlyTheMarker)
{
    answer({"ChkDontAsk", "cmdYes"}, false); // the disabled button does nothing
    EXPECT_FALSE(window->cmdYes->isEnabled());
    EXPECT_FALSE(QFileInfo::exists(setup.marker.path));
    QTest::mouseClick(window->cmdNo, Qt::LeftButton);
    EXPECT_TRUE(QFileInfo(setup.marker.path).isFile());
    EXPECT_FALSE(QFileInfo::exists(setup.association.dataHome));
    EXPECT_TRUE(dialogs.log.empty());

    answer({"ChkDontAsk", "ChkDontAsk"}, false);
    EXPECT_TRUE(window->cmdYes->isEnabled());
}

TEST_F(FileAssociationWindowTest, PlainNoWritesNothingAndAsksAgain)
{
    answer({"cmdNo"});
    EXPECT_FALSE(QFileInfo::exists(configDir));
    EXPECT_TRUE(dialogs.log.empty());
    EXPECT_TRUE(shouldOfferAssociation(setup.marker.path, QString()));
    EXPECT_FALSE(shouldOfferAssociation(setup.marker.path, "drawing.mvl"));
    ASSERT_TRUE(QDir().mkpath(configDir) && makeFile(setup.marker.path));
    EXPECT_FALSE(shouldOfferAssociation(setup.marker.path, QString()));
}
