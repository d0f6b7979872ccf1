// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing files, the marker file and where the program looks for its files,
// including what happens when the file system says no.
#include "platform/apppaths.h"
#include "platform/fileio.h"
#include "platform/markerfile.h"
#include "tests/qtapp.h"
#include "tests/support/files.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <sys/stat.h>

#include <algorithm>

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

TEST_F(Files, AtomicWriteReplacesWholeKeepsPermissionsAndFollowsLinks)
{
    QString error;
    ASSERT_TRUE(writeFileAtomically(path("doc.mvl"), "first version, long", &error) &&
                writeFileAtomically(path("doc.mvl"), "short", &error))
        << error.toStdString();
    // Replaced whole, and no temporary left.
    EXPECT_TRUE(fileBytes(path("doc.mvl")) == "short" &&
                entries(dir.path()) == QStringList{"doc.mvl"});

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

TEST_F(Files, FailedWritesLeaveTheOldFileWholeAndNothingElse)
{
    const QByteArray old("the old document, byte for byte\x00\x01\xff", 34);
    ASSERT_TRUE(putFile(path("doc.mvl"), old));
    setWriteFailureForTesting(true); // as a full disk would, half-way through
    QString error;
    EXPECT_FALSE(writeFileAtomically(path("doc.mvl"), QByteArray(5000, 'n'), &error) ||
                 error.isEmpty() || writeFileAtomically(path("other.mvl"), "abc"));
    EXPECT_TRUE(fileBytes(path("doc.mvl")) == old && entries(dir.path()) == QStringList{"doc.mvl"});
    setWriteFailureForTesting(false);

    for (const QString &target : {path("no/such/doc.mvl"), QString()}) {
        error.clear();
        EXPECT_FALSE(writeFileAtomically(target, "x", &error) || error.isEmpty());
    }

    // Where no temporary can be made the file is written in place, every write checked.
    setDirectWriteForTesting(true);
    ASSERT_TRUE(writeFileAtomically(path("doc.mvl"), "short"));
    EXPECT_FALSE(fileBytes(path("doc.mvl")) != "short" ||
                 writeFileAtomically("/dev/full", QByteArray(100000, 'x')) ||
                 writeFileAtomically("/dev/full", "tiny")); // the second fails only at the flush
}

TEST_F(Files, MarkerIsOneSpaceOnlyThePerUserDirectoryIsTidiedAndLocations)
{
    const QString marker = path("config/tessella/tessella.sem");
    EXPECT_FALSE(markerExists(marker));
    ASSERT_TRUE(setSem(marker));
    EXPECT_TRUE(markerExists(marker) && fileBytes(marker) == " ");

    ASSERT_TRUE(putFile(path("blocker")) && QDir().mkpath(path("taken.sem")));
    // Nothing can be made under a file; a directory is no marker.
    EXPECT_FALSE(setSem(path("blocker/sub/tessella.sem")) || setSem(QString()) ||
                 markerExists(path("taken.sem")) || setSem(path("taken.sem")));

    for (const QString d : {"own/", "shared/"})
        for (const QString f : {"old-name.sem", "tessella.sem", "notes.txt"})
            ASSERT_TRUE(putFile(path(d + f)));
    ASSERT_TRUE(QFile::link(path("precious.sem"), path("own/link.sem")) &&
                putFile(path("precious.sem")));
    removeOtherMarkers(path("shared"), "tessella.sem", false);
    removeOtherMarkers(path("own"), "tessella.sem", true);
    EXPECT_EQ(entries(path("shared"), {"*.sem"}), (QStringList{"old-name.sem", "tessella.sem"}));
    EXPECT_EQ(entries(path("own")), (QStringList{"notes.txt", "tessella.sem"}));
    EXPECT_TRUE(QFileInfo::exists(path("precious.sem"))); // a link's target stays

    // Where the marker and the primitives library are looked for.
    ASSERT_TRUE(QDir().mkpath(path("bin")));
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

TEST(CommandLineDocument, FirstPositionalArgumentWithoutSurroundingQuotes)
{
    // clang-format off
    const std::vector<std::pair<QStringList, QString>> cases = {
        {{}, ""}, {{"tessella"}, ""}, {{"tessella", "a.mvl", "b.mvl"}, "a.mvl"},
        {{"tessella", "--verbose", "a.mvl"}, "a.mvl"}, {{"tessella", "--info"}, ""}, // its own options
        {{"tessella", "--", "--odd.mvl"}, "--odd.mvl"}, {{"tessella", "--", "--"}, "--"}, // after "--" anything
        {{"tessella", "-style.mvl"}, "-style.mvl"}, {{"tessella", "\"\""}, ""},
        {{"tessella", "\"/tmp/with space.mvl\""}, "/tmp/with space.mvl"},
        {{"tessella", "\""}, "\""}, // a lone quote is both first and last: kept
        {{"tessella", "\"a.mvl"}, "\"a.mvl"}, {{"tessella", "a\".mvl\""}, "a\".mvl\""},
        {{"tessella", "\"\"\""}, "\""}};
    // clang-format on
    for (const auto &[args, document] : cases)
        EXPECT_EQ(commandLineDocument(args), document) << args.join(' ').toStdString();
}

} // namespace
