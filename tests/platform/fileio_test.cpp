// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fileio.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <sys/types.h>

using namespace tessella;

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return "<unreadable>";
    }
    return file.readAll();
}

void writePlain(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                               QDir::NoDotAndDotDot);
}

// Resets the test seams whatever happens in a test.
class FileIo : public ::testing::Test
{
protected:
    void TearDown() override
    {
        setWriteFailureForTesting(false);
        setDirectWriteForTesting(false);
    }
    QTemporaryDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }
};

} // namespace

TEST_F(FileIo, ReadsARegularFileWhole)
{
    QByteArray bytes(200000, '\0');
    for (int i = 0; i < bytes.size(); ++i) {
        bytes[i] = char(i * 7);
    }
    writePlain(path("a.mvl"), bytes);
    const ReadFileResult result = readRegularFile(path("a.mvl"));
    EXPECT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.bytes, bytes);
    EXPECT_TRUE(result.error.isEmpty());

    writePlain(path("empty.mvl"), {});
    const ReadFileResult empty = readRegularFile(path("empty.mvl"));
    EXPECT_TRUE(empty.ok);
    EXPECT_TRUE(empty.bytes.isEmpty());
}

TEST_F(FileIo, RefusesMissingAndOversizedFiles)
{
    EXPECT_FALSE(readRegularFile(path("missing.mvl")).ok);
    EXPECT_FALSE(readRegularFile(QString()).ok);
    writePlain(path("big.mvl"), QByteArray(1000, 'x'));
    const ReadFileResult big = readRegularFile(path("big.mvl"), 999);
    EXPECT_FALSE(big.ok);
    EXPECT_FALSE(big.error.isEmpty());
    EXPECT_TRUE(big.bytes.isEmpty());
    EXPECT_TRUE(readRegularFile(path("big.mvl"), 1000).ok);
}

TEST_F(FileIo, FifoIsRefusedWithoutBlocking)
{
    // With no writer, opening this for reading would wait forever.
    const QByteArray fifo = QFile::encodeName(path("pipe.mvl"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    const ReadFileResult result = readRegularFile(path("pipe.mvl"));
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());

    // Nor through a link to it.
    ASSERT_TRUE(QFile::link(path("pipe.mvl"), path("link.mvl")));
    EXPECT_FALSE(readRegularFile(path("link.mvl")).ok);
}

TEST_F(FileIo, DirectoriesAndDevicesAreRefused)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.mvl"));
    EXPECT_FALSE(readRegularFile(path("folder.mvl")).ok);
    EXPECT_FALSE(readRegularFile("/dev/null").ok);
    EXPECT_FALSE(readRegularFile("/dev/zero").ok);
}

TEST_F(FileIo, AtomicWriteCreatesAndReplacesWithTruncation)
{
    QString error;
    ASSERT_TRUE(writeFileAtomically(path("doc.mvl"), "first version, long", &error))
        << error.toStdString();
    EXPECT_EQ(contents(path("doc.mvl")), "first version, long");
    ASSERT_TRUE(writeFileAtomically(path("doc.mvl"), "short", &error));
    EXPECT_EQ(contents(path("doc.mvl")), "short");
    EXPECT_EQ(QFileInfo(path("doc.mvl")).size(), 5);
    EXPECT_EQ(entries(dir.path()), QStringList{"doc.mvl"});
}

TEST_F(FileIo, NewFileIsNotPrivateToTheOwner)
{
    const mode_t old = ::umask(022);
    ASSERT_TRUE(writeFileAtomically(path("new.mvl"), "x"));
    ::umask(old);
    const auto permissions = QFileInfo(path("new.mvl")).permissions();
    EXPECT_TRUE(permissions & QFileDevice::ReadOwner);
    EXPECT_TRUE(permissions & QFileDevice::WriteOwner);
    EXPECT_TRUE(permissions & QFileDevice::ReadOther);
}

TEST_F(FileIo, ReplacedFileKeepsItsPermissions)
{
    writePlain(path("doc.mvl"), "old");
    const auto wanted = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(path("doc.mvl"), wanted));
    ASSERT_TRUE(writeFileAtomically(path("doc.mvl"), "new"));
    EXPECT_EQ(contents(path("doc.mvl")), "new");
    const auto mask = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                      QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                      QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    EXPECT_EQ(QFileInfo(path("doc.mvl")).permissions() & mask, wanted);
}

TEST_F(FileIo, SymbolicLinkIsWrittenThrough)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("real"));
    writePlain(path("real/doc.mvl"), "old content that is longer");
    ASSERT_TRUE(QFile::link("real/doc.mvl", path("link.mvl")));
    ASSERT_TRUE(writeFileAtomically(path("link.mvl"), "new"));
    EXPECT_TRUE(QFileInfo(path("link.mvl")).isSymLink());
    EXPECT_EQ(contents(path("real/doc.mvl")), "new");
    EXPECT_EQ(entries(path("real")), QStringList{"doc.mvl"});
    EXPECT_EQ(entries(dir.path()), (QStringList{"link.mvl", "real"}));
}

TEST_F(FileIo, DanglingLinkCreatesItsTarget)
{
    ASSERT_TRUE(QFile::link(path("target.mvl"), path("link.mvl")));
    ASSERT_TRUE(writeFileAtomically(path("link.mvl"), "made"));
    EXPECT_TRUE(QFileInfo(path("link.mvl")).isSymLink());
    EXPECT_EQ(contents(path("target.mvl")), "made");
}

TEST_F(FileIo, FailedWriteLeavesTheOldFileWholeAndNoTemporary)
{
    const QByteArray old("the old document, byte for byte\x00\x01\xff", 34);
    writePlain(path("doc.mvl"), old);
    setWriteFailureForTesting(true);
    QString error;
    EXPECT_FALSE(writeFileAtomically(path("doc.mvl"), QByteArray(5000, 'n'), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(contents(path("doc.mvl")), old);
    EXPECT_EQ(entries(dir.path()), QStringList{"doc.mvl"});

    // A failed first save leaves nothing behind at all.
    EXPECT_FALSE(writeFileAtomically(path("other.mvl"), "abc"));
    EXPECT_EQ(entries(dir.path()), QStringList{"doc.mvl"});

    setWriteFailureForTesting(false);
    EXPECT_TRUE(writeFileAtomically(path("doc.mvl"), "abc"));
    EXPECT_EQ(contents(path("doc.mvl")), "abc");
}

TEST_F(FileIo, MissingFolderIsAnError)
{
    QString error;
    EXPECT_FALSE(writeFileAtomically(path("no/such/doc.mvl"), "x", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(writeFileAtomically(QString(), "x", &error));
}

TEST_F(FileIo, DirectWriteTruncatesAndReportsFailures)
{
    setDirectWriteForTesting(true);
    writePlain(path("doc.mvl"), "a much longer old document");
    ASSERT_TRUE(writeFileAtomically(path("doc.mvl"), "short"));
    EXPECT_EQ(contents(path("doc.mvl")), "short");
    EXPECT_EQ(entries(dir.path()), QStringList{"doc.mvl"});

    // A device that is always full: every write is checked, including the final flush.
    QString error;
    EXPECT_FALSE(writeFileAtomically("/dev/full", QByteArray(100000, 'x'), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(writeFileAtomically("/dev/full", "tiny", &error));
}
