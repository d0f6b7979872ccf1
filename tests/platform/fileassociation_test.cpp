// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fileassociation.h"

#include "platform/apppaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace tessella;

namespace {

const QString kCreatingKey = QStringLiteral("Error: Creating Key!");
const QString kSettingValue = QStringLiteral("Error Setting String Value!");

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

bool makeRegularFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("not a directory") > 0;
}

class FileAssociationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        paths.dataHome = dir.filePath(QStringLiteral("share"));
        paths.executablePath = QStringLiteral("/opt/my tools/tessella");
        // Record the desktop tools instead of running them.
        paths.runTool = [this](const QString &tool, const QStringList &args) {
            calls.emplace_back(tool, args);
        };
    }

    QString mimeFile() const { return paths.dataHome + "/mime/packages/tessella-mvl.xml"; }
    QString desktopFile() const { return paths.dataHome + "/applications/tessella.desktop"; }
    QString iconFile() const
    {
        return paths.dataHome + "/icons/hicolor/48x48/mimetypes/application-x-tessella-mvl.png";
    }
    QStringList tools() const
    {
        QStringList names;
        for (const auto &call : calls) {
            names << call.first;
        }
        return names;
    }

    QTemporaryDir dir;
    AssociationPaths paths;
    std::vector<std::pair<QString, QStringList>> calls;
};

} // namespace

TEST_F(FileAssociationTest, WritesMimePackageDesktopEntryAndIcon)
{
    EXPECT_TRUE(registerFileType(paths).isEmpty());

    const QByteArray xml = readAll(mimeFile());
    EXPECT_TRUE(xml.contains("<mime-type type=\"application/x-tessella-mvl\">"));
    EXPECT_TRUE(xml.contains("<glob pattern=\"*.mvl\"/>"));
    EXPECT_TRUE(xml.contains("<comment>dazizi vize</comment>"));
    EXPECT_TRUE(xml.contains("xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\""));

    const QStringList lines = QString::fromUtf8(readAll(desktopFile())).split('\n');
    EXPECT_EQ(lines.value(0), "[Desktop Entry]");
    EXPECT_TRUE(lines.contains("Type=Application"));
    EXPECT_TRUE(lines.contains("Name=Tessella"));
    EXPECT_TRUE(lines.contains("Exec=\"/opt/my tools/tessella\" %f"));
    EXPECT_TRUE(lines.contains("MimeType=application/x-tessella-mvl;"));

    const QImage icon(iconFile(), "PNG");
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.size(), QSize(48, 48));
    // The drawn motif is opaque in the middle and leaves the corners clear.
    EXPECT_EQ(qAlpha(icon.pixel(24, 24)), 255);
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
}

TEST_F(FileAssociationTest, RefreshesTheDesktopCachesAfterwards)
{
    ASSERT_TRUE(registerFileType(paths).isEmpty());
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].first, "update-mime-database");
    EXPECT_EQ(calls[0].second, QStringList{paths.dataHome + "/mime"});
    EXPECT_EQ(calls[1].first, "update-desktop-database");
    EXPECT_EQ(calls[1].second, QStringList{paths.dataHome + "/applications"});
    EXPECT_EQ(calls[2].first, "xdg-mime");
    EXPECT_EQ(calls[2].second,
              (QStringList{"default", "tessella.desktop", "application/x-tessella-mvl"}));
}

TEST_F(FileAssociationTest, WithoutRunnerNoToolIsStarted)
{
    paths.runTool = nullptr;
    EXPECT_TRUE(registerFileType(paths).isEmpty());
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(QFileInfo(desktopFile()).isFile());
}

TEST_F(FileAssociationTest, RegisteringAgainReplacesTheFilesCleanly)
{
    ASSERT_TRUE(registerFileType(paths).isEmpty());
    paths.executablePath = QStringLiteral("/usr/bin/tessella");
    ASSERT_TRUE(registerFileType(paths).isEmpty());
    EXPECT_TRUE(readAll(desktopFile()).contains("Exec=\"/usr/bin/tessella\" %f\n"));
    // No temporary files are left beside the entries.
    EXPECT_EQ(QDir(paths.dataHome + "/applications").entryList(QDir::Files),
              QStringList{"tessella.desktop"});
    EXPECT_EQ(QDir(paths.dataHome + "/mime/packages").entryList(QDir::Files),
              QStringList{"tessella-mvl.xml"});
}

TEST_F(FileAssociationTest, DirectoryThatCannotBeCreatedIsReportedAndTheRestStillDone)
{
    ASSERT_TRUE(QDir().mkpath(paths.dataHome));
    // A regular file where a directory belongs makes the directory impossible, even as root.
    ASSERT_TRUE(makeRegularFile(paths.dataHome + "/mime"));

    EXPECT_EQ(registerFileType(paths), QStringList{kCreatingKey});
    EXPECT_FALSE(QFileInfo::exists(mimeFile()));
    EXPECT_TRUE(QFileInfo(desktopFile()).isFile());
    EXPECT_TRUE(QFileInfo(iconFile()).isFile());
    // The mime cache and the default handler depend on the missing package.
    EXPECT_EQ(tools(), QStringList{"update-desktop-database"});
}

TEST_F(FileAssociationTest, EachFailureMetIsReportedInOrder)
{
    ASSERT_TRUE(QDir().mkpath(paths.dataHome + "/icons/hicolor/48x48"));
    ASSERT_TRUE(makeRegularFile(paths.dataHome + "/applications"));
    ASSERT_TRUE(makeRegularFile(paths.dataHome + "/icons/hicolor/48x48/mimetypes"));

    EXPECT_EQ(registerFileType(paths), (QStringList{kCreatingKey, kCreatingKey}));
    EXPECT_TRUE(QFileInfo(mimeFile()).isFile());
    EXPECT_EQ(tools(), QStringList{"update-mime-database"});
}

TEST_F(FileAssociationTest, FileThatCannotBeWrittenIsReportedAsValueError)
{
    // A directory in place of the desktop entry: its folder exists, the file cannot be written.
    ASSERT_TRUE(QDir().mkpath(desktopFile()));
    EXPECT_EQ(registerFileType(paths), QStringList{kSettingValue});
    EXPECT_TRUE(QFileInfo(mimeFile()).isFile());
    EXPECT_TRUE(QFileInfo(iconFile()).isFile());
}

TEST_F(FileAssociationTest, NoDataDirectoryFailsEveryStep)
{
    paths.dataHome.clear();
    EXPECT_EQ(registerFileType(paths), (QStringList{kCreatingKey, kCreatingKey, kCreatingKey}));
    EXPECT_TRUE(calls.empty());
}

TEST(DesktopExecQuote, EscapesCharactersReservedInsideQuotes)
{
    EXPECT_EQ(desktopExecQuote("/usr/bin/tessella"), "\"/usr/bin/tessella\"");
    EXPECT_EQ(desktopExecQuote("/opt/my tools/tessella"), "\"/opt/my tools/tessella\"");
    EXPECT_EQ(desktopExecQuote("/a\"b"), "\"/a\\\\\"b\"");
    EXPECT_EQ(desktopExecQuote("/$HOME/`x`"), "\"/\\\\$HOME/\\\\`x\\\\`\"");
    // A literal backslash becomes four in the file.
    EXPECT_EQ(desktopExecQuote("/a\\b"), "\"/a\\\\\\\\b\"");
    // A percent sign would otherwise start a field code.
    EXPECT_EQ(desktopExecQuote("/100%/t"), "\"/100%%/t\"");
    EXPECT_EQ(desktopExecQuote("/a\nb"), "\"/a\\nb\"");
}

TEST(DesktopEntry, ExecLineEndsWithTheFileFieldCode)
{
    const QString entry = QString::fromUtf8(desktopEntry("/home/me/odd $dir/tessella"));
    EXPECT_TRUE(entry.contains("\nExec=\"/home/me/odd \\\\$dir/tessella\" %f\n"));
    EXPECT_EQ(entry.count("\nExec="), 1);
}

TEST(DocumentIcon, GivenImageIsScaledToFortyEight)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage source(96, 64, QImage::Format_RGB32);
    source.fill(QColor(200, 10, 20));
    const QString sourcePath = dir.filePath("icon.png");
    ASSERT_TRUE(source.save(sourcePath));

    const QImage icon = QImage::fromData(documentIconPng(sourcePath), "PNG");
    ASSERT_EQ(icon.size(), QSize(48, 48));
    EXPECT_EQ(QColor(icon.pixel(24, 24)), QColor(200, 10, 20));
    // Kept in proportion: 48x32, centred, transparent above and below.
    EXPECT_EQ(qAlpha(icon.pixel(24, 2)), 0);
}

TEST(DocumentIcon, UnreadableSourceFallsBackToTheDrawnIcon)
{
    const QByteArray drawn = documentIconPng(QString());
    ASSERT_FALSE(drawn.isEmpty());
    EXPECT_EQ(documentIconPng("/nonexistent/Micon48.ico"), drawn);
}

TEST(AssociationPathsCurrent, PointsAtTheExecutableAndFindsTheIcon)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    AppPaths app;
    app.appDir = dir.path();
    app.exeName = "tessella";
    AssociationPaths paths = AssociationPaths::current(app);
    EXPECT_EQ(paths.executablePath, dir.filePath("tessella"));
    EXPECT_TRUE(paths.iconSource.isEmpty());
    EXPECT_TRUE(static_cast<bool>(paths.runTool));
    EXPECT_FALSE(paths.dataHome.isEmpty());

    ASSERT_TRUE(makeRegularFile(dir.filePath("Micon48.ico")));
    EXPECT_EQ(AssociationPaths::current(app).iconSource, dir.filePath("Micon48.ico"));
}
