// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/apppaths.h"
#include "tests/qtapp.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace tessella;

namespace {

void touch(const QString &path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("x");
}

} // namespace

TEST(CommandLine, FirstPositionalArgumentIsTheDocument)
{
    EXPECT_EQ(commandLineDocument({"tessella"}), QString());
    EXPECT_EQ(commandLineDocument({}), QString());
    EXPECT_EQ(commandLineDocument({"tessella", "/home/a/b.mvl"}), "/home/a/b.mvl");
    EXPECT_EQ(commandLineDocument({"tessella", "a.mvl", "b.mvl"}), "a.mvl");
    // The program's own long options are not documents.
    EXPECT_EQ(commandLineDocument({"tessella", "--verbose", "a.mvl"}), "a.mvl");
    EXPECT_EQ(commandLineDocument({"tessella", "--info"}), QString());
    // After "--" even a name that looks like an option is a document.
    EXPECT_EQ(commandLineDocument({"tessella", "--", "--odd.mvl"}), "--odd.mvl");
    EXPECT_EQ(commandLineDocument({"tessella", "--", "--"}), "--");
    EXPECT_EQ(commandLineDocument({"tessella", "-style.mvl"}), "-style.mvl");
}

TEST(CommandLine, SurroundingQuotesAreRemoved)
{
    EXPECT_EQ(commandLineDocument({"tessella", "\"/tmp/with space.mvl\""}), "/tmp/with space.mvl");
    EXPECT_EQ(commandLineDocument({"tessella", "\"\""}), QString());
    // A lone quote is both first and last character: nothing is removed.
    EXPECT_EQ(commandLineDocument({"tessella", "\""}), "\"");
    EXPECT_EQ(commandLineDocument({"tessella", ""}), QString());
    // Only a pair around the whole text counts.
    EXPECT_EQ(commandLineDocument({"tessella", "\"a.mvl"}), "\"a.mvl");
    EXPECT_EQ(commandLineDocument({"tessella", "a\".mvl\""}), "a\".mvl\"");
    EXPECT_EQ(stripSurroundingQuotes("\"\"\""), "\"");
    EXPECT_EQ(stripSurroundingQuotes("x"), "x");
}

TEST(AppPaths, PrimitivesBesideTheExecutableComeFirst)
{
    QTemporaryDir app, data1, data2;
    ASSERT_TRUE(app.isValid() && data1.isValid() && data2.isValid());
    AppPaths paths{app.path(), "tessella", app.filePath("config"), {data1.path(), data2.path()}};
    const QString beside = QDir(app.path()).filePath("primitives.mvl");

    // Nowhere: the path beside the executable, so that the caller reports it missing.
    EXPECT_EQ(paths.primitivesPath(), beside);

    touch(QDir(data2.path()).filePath("primitives.mvl"));
    EXPECT_EQ(paths.primitivesPath(), QDir(data2.path()).filePath("primitives.mvl"));

    touch(QDir(data1.path()).filePath("primitives.mvl"));
    EXPECT_EQ(paths.primitivesPath(), QDir(data1.path()).filePath("primitives.mvl"));

    touch(beside);
    EXPECT_EQ(paths.primitivesPath(), beside);
}

TEST(AppPaths, NameIsCaseSensitiveAndMustBeAFile)
{
    QTemporaryDir app, data;
    AppPaths paths{app.path(), "tessella", app.filePath("config"), {data.path()}};
    touch(QDir(app.path()).filePath("Primitives.mvl"));
    ASSERT_TRUE(QDir(data.path()).mkdir("primitives.mvl"));
    EXPECT_EQ(paths.primitivesPath(), QDir(app.path()).filePath("primitives.mvl"));
}

TEST(AppPaths, MarkerBesideTheExecutableWhenWritable)
{
    QTemporaryDir app;
    AppPaths paths{app.path(), "tessella", "/nonexistent/config", {}};
    EXPECT_EQ(paths.markerFilePath(), QDir(app.path()).filePath("tessella.sem"));
}

TEST(AppPaths, MarkerFallsBackToTheConfigDirectory)
{
    QTemporaryDir config;
    // A directory that cannot be written to, for root too: it does not exist.
    AppPaths paths{config.filePath("no/such/dir"), "tessella", config.path(), {}};
    EXPECT_EQ(paths.markerFilePath(), QDir(config.path()).filePath("tessella.sem"));
    AppPaths noDir{QString(), "tessella", config.path(), {}};
    EXPECT_EQ(noDir.markerFilePath(), QDir(config.path()).filePath("tessella.sem"));
}

TEST(AppPaths, RunningExecutable)
{
    test::qtApp();
    const QFileInfo exe(executablePath());
    EXPECT_TRUE(exe.isFile());
    EXPECT_TRUE(exe.isAbsolute());
    EXPECT_EQ(executableName(), "test_platform");
    EXPECT_EQ(QDir(applicationDirectory()), exe.dir());
    const AppPaths current = AppPaths::current();
    EXPECT_EQ(current.exeName, "test_platform");
    EXPECT_EQ(current.markerFilePath(), QDir(applicationDirectory()).filePath("test_platform.sem"));
    EXPECT_TRUE(primitivesPath().endsWith("/primitives.mvl"));
}
