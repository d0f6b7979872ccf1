// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing files, the marker file, where the program looks for its files and the
// desktop's file association, including what happens when the file system says no.
#include "platform/apppaths.h"
#include "platform/fileassociation.h"
#include "platform/fileio.h"
#include "platform/markerfile.h"
#include "tests/qtapp.h"
#include "tests/support/files.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <functional>

using namespace tessella;
using tessella::test::fileBytes;
using tessella::test::putFile;

namespace {

const auto entries = [](const QString &dir, const QStringList &filter = {}) {
    return QDir(dir).entryList(
        filter, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
};

class Files : public ::testing::Test
{
protected:
    void TearDown() override { setWriteFailureForTesting(false), setDirectWriteForTesting(false); }
    QString path(const QString &name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

// First in the file, so that it meets the file system as the program starts.
TEST_F(Files, AtomicWriteReplacesWholeKeepsPermissionsAndFollowsLinks)
{
    QString error;
    ASSERT_TRUE(writeFileAtomically(path("doc.mvl"), "first version, long", &error) &&
                !::link(QFile::encodeName(path("doc.mvl")), QFile::encodeName(path("held.mvl"))) &&
                writeFileAtomically(path("doc.mvl"), "short", &error))
        << error.toStdString();
    // Replaced whole by a new file, never written into (a hard link keeps the old bytes),
    // and no temporary left.
    EXPECT_TRUE(fileBytes(path("doc.mvl")) == "short" && fileBytes(path("held.mvl")) != "short" &&
                entries(dir.path()) == QStringList({"doc.mvl", "held.mvl"}));

    const auto wanted = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(path("doc.mvl"), wanted) &&
                writeFileAtomically(path("doc.mvl"), "new"));
    EXPECT_EQ(QFileInfo(path("doc.mvl")).permissions() & 0x7077, wanted); // owner, group, other
    const mode_t old = ::umask(022);
    ASSERT_TRUE(writeFileAtomically(path("fresh.mvl"), "x"));
    ::umask(old);
    EXPECT_TRUE(QFileInfo(path("fresh.mvl")).permissions() & QFileDevice::ReadOther);

    ASSERT_TRUE(putFile(path("real/doc.mvl"), "old, longer") &&
                QFile::link("real/doc.mvl", path("link.mvl")) &&
                writeFileAtomically(path("link.mvl"), "new"));
    EXPECT_TRUE(QFileInfo(path("link.mvl")).isSymLink() &&
                fileBytes(path("real/doc.mvl")) == "new" &&
                entries(path("real")) == QStringList{"doc.mvl"});
    ASSERT_TRUE(QFile::link(path("target.mvl"), path("dangling.mvl")) &&
                writeFileAtomically(path("dangling.mvl"), "made"));
    EXPECT_EQ(fileBytes(path("target.mvl")), "made");
}

TEST_F(Files, ReadsRegularFilesWholeAndRefusesEverythingElseWithoutBlocking)
{
    QByteArray bytes(200000, '\0');
    std::ranges::generate(bytes, [i = 0]() mutable { return char(7 * i++); });
    ASSERT_TRUE(putFile(path("a.mvl"), bytes) && putFile(path("empty.mvl"), {}));
    EXPECT_EQ(readRegularFile(path("a.mvl")).bytes, bytes);
    EXPECT_TRUE(readRegularFile(path("empty.mvl")).ok &&
                readRegularFile(path("a.mvl"), 200000).ok &&
                !readRegularFile(path("a.mvl"), 199999).ok);

    // With no writer, opening the FIFO for reading would wait forever.
    ASSERT_TRUE(::mkfifo(QFile::encodeName(path("pipe.mvl")).constData(), 0600) == 0 &&
                QFile::link(path("pipe.mvl"), path("link.mvl")) &&
                QDir().mkdir(path("folder.mvl")));
    for (const QString &name : {path("missing.mvl"), QString(), path("pipe.mvl"), path("link.mvl"),
                                path("folder.mvl"), QString("/dev/null"), QString("/dev/zero")}) {
        const ReadFileResult r = readRegularFile(name);
        EXPECT_TRUE(!r.ok && !r.error.isEmpty() && r.bytes.isEmpty()) << name.toStdString();
    }
}

TEST_F(Files, FailedWritesLeaveTheOldFileWholeAndNothingElse)
{
    const auto fails = [](const QString &target, const QByteArray &bytes) { // and says why
        QString error;
        return !writeFileAtomically(target, bytes, &error) && !error.isEmpty();
    };
    const QByteArray old("the old document, byte for byte\x00\x01\xff", 34);
    ASSERT_TRUE(putFile(path("doc.mvl"), old));
    setWriteFailureForTesting(true); // as a full disk would, half-way through
    EXPECT_TRUE(fails(path("doc.mvl"), QByteArray(5000, 'n')) && fails(path("other.mvl"), "abc"));
    EXPECT_TRUE(fileBytes(path("doc.mvl")) == old && entries(dir.path()) == QStringList{"doc.mvl"});
    setWriteFailureForTesting(false);
    EXPECT_TRUE(fails(path("no/such/doc.mvl"), "x") && fails(QString(), "x"));

    // Where no temporary can be made the file is written in place, every write checked: on a
    // full device the second write fails only at the flush.
    setDirectWriteForTesting(true);
    ASSERT_TRUE(writeFileAtomically(path("doc.mvl"), "short"));
    EXPECT_TRUE(fileBytes(path("doc.mvl")) == "short" &&
                fails("/dev/full", QByteArray(100000, 'x')) && fails("/dev/full", "tiny"));
}

TEST_F(Files, MarkerIsOneSpaceOnlyThePerUserDirectoryIsTidiedAndLocations)
{
    const QString marker = path("config/tessella/tessella.sem");
    ASSERT_TRUE(!markerExists(marker) && setSem(marker));
    EXPECT_TRUE(markerExists(marker) && fileBytes(marker) == " ");

    ASSERT_TRUE(putFile(path("blocker")) && QDir().mkpath(path("taken.sem")));
    // Nothing can be made under a file; a directory is no marker.
    EXPECT_FALSE(setSem(path("blocker/sub/tessella.sem")) || setSem(QString()) ||
                 markerExists(path("taken.sem")) || setSem(path("taken.sem")));

    for (const QString d : {"own/", "shared/"})
        for (const QString f : {"old-name.sem", "tessella.sem", "notes.txt"})
            ASSERT_TRUE(putFile(path(d + f)));
    ASSERT_TRUE(QFile::link(path("precious.sem"), path("own/link.sem")) &&
                putFile(path("precious.sem")) && QDir().mkpath(path("bin")));
    removeOtherMarkers(path("shared"), "tessella.sem", false);
    removeOtherMarkers(path("own"), "tessella.sem", true);
    EXPECT_EQ(entries(path("shared"), {"*.sem"}), (QStringList{"old-name.sem", "tessella.sem"}));
    EXPECT_EQ(entries(path("own")), (QStringList{"notes.txt", "tessella.sem"}));
    EXPECT_TRUE(QFileInfo::exists(path("precious.sem"))); // a link's target stays

    // Where the marker and the primitives library are looked for.
    AppPaths app{path("bin"), "tessella", path("config"), {path("data1"), path("data2")}};
    const MarkerLocation beside = markerLocation(app);
    EXPECT_TRUE(beside.path == path("bin/tessella.sem") && !beside.perUserDir);
    for (const QString &unwritable : {path("missing"), QString()}) {
        const MarkerLocation perUser = markerLocation({unwritable, app.exeName, app.configDir, {}});
        EXPECT_TRUE(perUser.path == path("config/tessella.sem") && perUser.perUserDir &&
                    perUser.dir() == path("config"));
    }

    // Beside the executable first, then the data directories in order; nowhere: beside
    // it, so that the caller reports it missing. The name is case-sensitive and must be a file.
    EXPECT_EQ(app.primitivesPath(), path("bin/primitives.mvl"));
    ASSERT_TRUE(putFile(path("bin/Primitives.mvl")) &&
                QDir().mkpath(path("data1/primitives.mvl")) &&
                putFile(path("data2/primitives.mvl")));
    EXPECT_EQ(app.primitivesPath(), path("data2/primitives.mvl"));
    ASSERT_TRUE(putFile(path("bin/primitives.mvl")));
    EXPECT_EQ(app.primitivesPath(), path("bin/primitives.mvl"));

    test::qtApp();
    EXPECT_EQ(AppPaths::current().markerFilePath(),
              QDir(applicationDirectory()).filePath("test_platform.sem"));
}

// The program's own options are skipped, anything after "--" is taken; a lone quote is both
// first and last, and kept.
TEST(CommandLineDocument, FirstPositionalArgumentWithoutSurroundingQuotes)
{
    // clang-format off
    const std::vector<std::pair<QStringList, QString>> cases = {
        {{}, ""}, {{"a.mvl", "b.mvl"}, "a.mvl"}, {{"--verbose", "a.mvl"}, "a.mvl"},
        {{"--info"}, ""}, {{"--", "--odd.mvl"}, "--odd.mvl"}, {{"--", "--"}, "--"},
        {{"-style.mvl"}, "-style.mvl"},
        {{"\"\""}, ""}, {{"\"/tmp/with space.mvl\""}, "/tmp/with space.mvl"}, {{"\""}, "\""},
        {{"\"a.mvl"}, "\"a.mvl"}, {{"a\".mvl\""}, "a\".mvl\""}, {{"\"\"\""}, "\""}};
    // clang-format on
    for (const auto &[args, document] : cases)
        EXPECT_EQ(commandLineDocument(QStringList{"tessella"} + args), document)
            << args.join(' ').toStdString();
    EXPECT_EQ(commandLineDocument({}), "");
}

const QString kCreatingKey = QStringLiteral("Error: Creating Key!");
const QString kMime = "/mime/packages/tessella-mvl.xml";
const QString kDesktop = "/applications/tessella.desktop";
const QString kIcon = "/icons/hicolor/48x48/mimetypes/application-x-tessella-mvl.png";

// A regular file where a directory belongs makes the directory impossible, even as root.
const auto block = [](const QString &path) { ASSERT_TRUE(putFile(path, "not a directory")); };

class FileAssociation : public Files
{
protected:
    bool exists(const QString &file) const { return QFileInfo(paths.dataHome + file).isFile(); }
    void run(const QString &tool, const QStringList &args) { tools << tool + " " + args.join(' '); }
    QStringList tools; // run instead of the desktop's tools
    // clang-format off
    AssociationPaths paths{path("share"), "/opt/my tools/tessella", {},
                           [this](auto &tool, auto &args) { run(tool, args); }};
    // clang-format on
};

TEST_F(FileAssociation, WritesMimePackageDesktopEntryAndIconThenRefreshesTheCaches)
{
    EXPECT_TRUE(registerFileType(paths).isEmpty());
    const QByteArray xml = fileBytes(paths.dataHome + kMime);
    EXPECT_TRUE(xml.contains("<mime-type type=\"application/x-tessella-mvl\">") &&
                xml.contains("<glob pattern=\"*.mvl\"/>"));
    const QByteArray entry = fileBytes(paths.dataHome + kDesktop);
    EXPECT_TRUE(entry.startsWith("[Desktop Entry]\n") && entry.contains("\nType=Application\n") &&
                entry.contains("\nExec=\"/opt/my tools/tessella\" %f\n") &&
                entry.contains("\nMimeType=application/x-tessella-mvl;\n"))
        << entry.toStdString();
    const QImage icon(paths.dataHome + kIcon, "PNG"); // the drawn motif, corners clear
    EXPECT_TRUE(icon.size() == QSize(48, 48) && qAlpha(icon.pixel(24, 24)) == 255 &&
                qAlpha(icon.pixel(0, 0)) == 0);
    EXPECT_EQ(tools, (QStringList{"update-mime-database " + paths.dataHome + "/mime",
                                  "update-desktop-database " + paths.dataHome + "/applications",
                                  "xdg-mime default tessella.desktop application/x-tessella-mvl"}));

    // Registering again replaces the entries cleanly; without a runner no tool is started.
    paths.executablePath = "/usr/bin/tessella", paths.runTool = nullptr, tools.clear();
    ASSERT_TRUE(registerFileType(paths).isEmpty());
    EXPECT_TRUE(fileBytes(paths.dataHome + kDesktop).contains("Exec=\"/usr/bin/tessella\" %f\n") &&
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
         {"Error Setting String Value!"}, "update-mime-database", true, false, true},
        {"no data directory", [&] { paths.dataHome.clear(); },
         {kCreatingKey, kCreatingKey, kCreatingKey}, "", false, false, false}};
    // clang-format on
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(home).removeRecursively(), tools.clear(), c.spoil();
        EXPECT_EQ(registerFileType(paths), c.errors);
        EXPECT_EQ(tools.replaceInStrings(QRegularExpression(" .*"), "").join(' '), c.toolsRun);
        EXPECT_TRUE(exists(kMime) == c.mime && exists(kDesktop) == c.desktop &&
                    exists(kIcon) == c.icon);
    }
}

TEST_F(FileAssociation, GivenIconIsScaledOrTheDrawnOneUsed)
{
    QImage source(96, 64, QImage::Format_RGB32);
    source.fill(QColor(200, 10, 20));
    ASSERT_TRUE(source.save(dir.filePath("Micon48.ico"), "PNG"));
    const QImage icon = QImage::fromData(documentIconPng(dir.filePath("Micon48.ico")), "PNG");
    // 48 x 32, centred.
    EXPECT_TRUE(icon.size() == QSize(48, 48) && QColor(icon.pixel(24, 24)) == QColor(200, 10, 20) &&
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
