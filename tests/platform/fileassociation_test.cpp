// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fileassociation.h"

#include "platform/apppaths.h"
#include "tests/support/files.h"

#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace tessella;

namespace {

const QString kCreatingKey = QStringLiteral("Error: Creating Key!");
const QString kSettingValue = QStringLiteral("Error Setting String Value!");
const QString kMime = "/mime/packages/tessella-mvl.xml";
const QString kDesktop = "/applications/tessella.desktop";
const QString kIcon = "/icons/hicolor/48x48/mimetypes/application-x-tessella-mvl.png";

// A regular file where a directory belongs makes the directory impossible, even as root.
const auto block = [](const QString &path) { ASSERT_TRUE(test::putFile(path, "not a directory")); };

class FileAssociation : public ::testing::Test
{
protected:
    bool exists(const QString &file) const { return QFileInfo(paths.dataHome + file).isFile(); }
    QTemporaryDir dir;
    QStringList tools; // run instead of the desktop's tools
    AssociationPaths paths{dir.filePath("share"),
                           "/opt/my tools/tessella",
                           {},
                           [this](const QString &tool, const QStringList &args) {
                               tools << tool + " " + args.join(' ');
                           }};
};

TEST_F(FileAssociation, WritesMimePackageDesktopEntryAndIconThenRefreshesTheCaches)
{
    EXPECT_TRUE(registerFileType(paths).isEmpty());
    const QByteArray xml = test::fileBytes(paths.dataHome + kMime);
    EXPECT_TRUE(xml.contains("<mime-type type=\"application/x-tessella-mvl\">") &&
                xml.contains("<glob pattern=\"*.mvl\"/>"));
    const QStringList lines =
        QString::fromUtf8(test::fileBytes(paths.dataHome + kDesktop)).split('\n');
    EXPECT_EQ(lines.value(0), "[Desktop Entry]");
    for (const char *line : {"Type=Application", "Exec=\"/opt/my tools/tessella\" %f",
                             "MimeType=application/x-tessella-mvl;"})
        EXPECT_TRUE(lines.contains(line)) << line;
    const QImage icon(paths.dataHome + kIcon, "PNG"); // the drawn motif, corners clear
    EXPECT_TRUE(icon.size() == QSize(48, 48) && qAlpha(icon.pixel(24, 24)) == 255 &&
                qAlpha(icon.pixel(0, 0)) == 0);
    EXPECT_EQ(tools, (QStringList{"update-mime-database " + paths.dataHome + "/mime",
                                  "update-desktop-database " + paths.dataHome + "/applications",
                                  "xdg-mime default tessella.desktop application/x-tessella-mvl"}));

    // Registering again replaces the entries cleanly; without a runner no tool is started.
    paths.executablePath = "/usr/bin/tessella";
    paths.runTool = nullptr, tools.clear();
    ASSERT_TRUE(registerFileType(paths).isEmpty());
    EXPECT_TRUE(
        test::fileBytes(paths.dataHome + kDesktop).contains("Exec=\"/usr/bin/tessella\" %f\n") &&
        QDir(paths.dataHome + "/applications").entryList(QDir::Files) ==
            QStringList{"tessella.desktop"} &&
        tools.isEmpty());
}

TEST_F(FileAssociation, EveryStepIsTriedAndEachFailureReportedInOrder)
{
    const QString home = paths.dataHome;
    // clang-format off
    const struct { const char *name; std::function<void()> spoil; QStringList errors;
                   const char *toolsRun; bool mime, desktop, icon; } cases[] = {
        {"mime directory impossible", [&] { block(home + "/mime"); },
         {kCreatingKey}, "update-desktop-database", false, true, true},
        {"applications and icon directories impossible",
         [&] { block(home + "/applications"), block(home + "/icons/hicolor/48x48/mimetypes"); },
         {kCreatingKey, kCreatingKey}, "update-mime-database", true, false, false},
        {"desktop entry cannot be written", [&] { QDir().mkpath(home + kDesktop); },
         {kSettingValue}, "update-mime-database", true, false, true}};
    // clang-format on
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(home).removeRecursively(), tools.clear(), c.spoil();
        EXPECT_EQ(registerFileType(paths), c.errors);
        EXPECT_EQ(tools.replaceInStrings(QRegularExpression(" .*"), "").join(' '), c.toolsRun);
        EXPECT_TRUE(exists(kMime) == c.mime && exists(kDesktop) == c.desktop &&
                    exists(kIcon) == c.icon);
    }
    paths.dataHome.clear(), tools.clear();
    EXPECT_EQ(registerFileType(paths), (QStringList{kCreatingKey, kCreatingKey, kCreatingKey}));
    EXPECT_TRUE(tools.isEmpty());
}

TEST_F(FileAssociation, GivenIconIsScaledOrTheDrawnOneUsed)
{
    QImage source(96, 64, QImage::Format_RGB32);
    source.fill(QColor(200, 10, 20));
    ASSERT_TRUE(source.save(dir.filePath("Micon48.ico"), "PNG"));
    const QImage icon = QImage::fromData(documentIconPng(dir.filePath("Micon48.ico")), "PNG");
    ASSERT_EQ(icon.size(), QSize(48, 48)); // 48 x 32, centred
    EXPECT_TRUE(QColor(icon.pixel(24, 24)) == QColor(200, 10, 20) &&
                qAlpha(icon.pixel(24, 2)) == 0);
    EXPECT_EQ(documentIconPng("/nonexistent/Micon48.ico"), documentIconPng(QString()));

    const AssociationPaths current = AssociationPaths::current({dir.path(), "tessella", {}, {}});
    EXPECT_TRUE(current.executablePath == dir.filePath("tessella") &&
                current.iconSource == dir.filePath("Micon48.ico"));
}

TEST(DesktopExecQuote, EscapesWhatIsReservedInsideQuotesThenForTheKeyFile)
{
    // clang-format off
    const std::vector<std::pair<QString, QString>> cases = {
        {"/opt/my tools/tessella", "\"/opt/my tools/tessella\""}, {"/a\"b", "\"/a\\\\\"b\""},
        {"/$HOME/`x`", "\"/\\\\$HOME/\\\\`x\\\\`\""}, {"/a\nb", "\"/a\\nb\""},
        {"/a\\b", "\"/a\\\\\\\\b\""}, // a literal backslash becomes four in the file
        {"/100%/t", "\"/100%%/t\""}};  // a percent sign would start a field code
    // clang-format on
    for (const auto &[argument, quoted] : cases)
        EXPECT_EQ(desktopExecQuote(argument), quoted) << argument.toStdString();
    const QString entry = QString::fromUtf8(desktopEntry("/home/me/odd $dir/tessella"));
    EXPECT_TRUE(entry.contains("\nExec=\"/home/me/odd \\\\$dir/tessella\" %f\n") &&
                entry.count("\nExec=") == 1);
}

} // namespace
