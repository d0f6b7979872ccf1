// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/fileassociationwindow.h"

#include "platform/scripteddialogs.h"

#include "tests/qtapp.h"
#include "tests/support/files.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

using namespace tessella;

namespace {

// The window clicked with the real mouse: what it says, what it leaves on disk, whether
// the question comes back at the next start.
TEST(FileAssociationWindow, AnswersWriteTheAssociationAndTheMarkerAndReportFailures)
{
    test::qtApp();
    const std::string success = "Associated the file extension .mvl with this application";
    // clang-format off
    struct { const char *name; std::vector<const char *> buttons; std::optional<std::string> message;
             const char *blocker; bool closes, marker, association, asksAgain; } const cases[] = {
        {"yes", {"cmdYes"}, success, nullptr, true, true, true, false},
        {"yes after changing its mind", {"ChkDontAsk", "ChkDontAsk", "cmdYes"}, success, nullptr,
         true, true, true, false},
        // A failed association is not asked about again; a marker that cannot be written is.
        {"association fails", {"cmdYes"}, "Error: Creating Key!", "share/applications", true,
         true, false, false},
        {"marker fails", {"cmdYes"}, success, "config", true, false, true, true},
        {"don't ask: yes is disabled", {"ChkDontAsk", "cmdYes"}, {}, nullptr, false, false, false, true},
        {"don't ask, no", {"ChkDontAsk", "cmdNo"}, {}, nullptr, true, true, false, false},
        {"no", {"cmdNo"}, {}, nullptr, true, false, false, true},
    };
    // clang-format on
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString config = dir.filePath("config/tessella");
        ASSERT_TRUE(test::putFile(config + "/old-name.sem") &&
                    test::putFile(config + "/settings.ini"));
        // A file where a directory belongs.
        ASSERT_TRUE(!c.blocker || (QDir(dir.filePath(c.blocker)).removeRecursively() &&
                                   test::putFile(dir.filePath(c.blocker))));
        ScriptedDialogs dialogs;
        dialogs.onFailure = [](const std::string &what) { ADD_FAILURE() << what; };
        if (c.message)
            dialogs.expectMessage(*c.message);
        const FileAssociationSetup setup{
            {dir.filePath("share"), dir.filePath("my bin/tessella"), {}, {}},
            {config + "/tessella.sem", true}};
        FileAssociationWindow window(dialogs, setup);
        window.show();
        for (const char *name : c.buttons)
            QTest::mouseClick(window.findChild<QAbstractButton *>(name), Qt::LeftButton);
        EXPECT_TRUE(dialogs.allConsumed() && dialogs.log.size() == (c.message ? 1u : 0u));
        EXPECT_EQ(
            std::tuple(!window.isVisible(), QFileInfo(setup.marker.path).isFile(),
                       QFileInfo(dir.filePath("share/applications/tessella.desktop")).isFile(),
                       shouldOfferAssociation(setup.marker.path, {})),
            std::tuple(c.closes, c.marker, c.association, c.asksAgain));
        // "yes" replaces the old markers beside its own, and nothing else.
        const bool yes = c.closes && std::string(c.buttons.back()) == "cmdYes";
        EXPECT_TRUE(!c.marker || (QFileInfo::exists(config + "/old-name.sem") != yes &&
                                  QFileInfo::exists(config + "/settings.ini")));
    }
    EXPECT_FALSE(shouldOfferAssociation(QString(), "drawing.mvl")); // opened with a file
}

} // namespace
