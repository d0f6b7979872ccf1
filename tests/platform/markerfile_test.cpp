// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/markerfile.h"

#include "platform/apppaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tessella;

namespace {

bool makeFile(const QString &path, const QByteArray &content = "x")
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QStringList semFiles(const QString &dir)
{
    return QDir(dir).entryList({"*.sem"}, QDir::Files, QDir::Name);
}

} // namespace

TEST(MarkerFile, SetSemWritesOneSpaceAndCreatesTheDirectory)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString marker = dir.filePath("config/tessella/tessella.sem");
    EXPECT_FALSE(markerExists(marker));
    ASSERT_TRUE(setSem(marker));
    EXPECT_TRUE(markerExists(marker));
    QFile file(marker);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray(" "));
    // Writing again keeps it as it is.
    EXPECT_TRUE(setSem(marker));
    EXPECT_EQ(QFileInfo(marker).size(), 1);
}

TEST(MarkerFile, ImpossibleLocationFailsQuietly)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(makeFile(dir.filePath("blocker")));
    const QString marker = dir.filePath("blocker/sub/tessella.sem");
    EXPECT_FALSE(setSem(marker));
    EXPECT_FALSE(markerExists(marker));
    EXPECT_FALSE(setSem(QString()));

    // A directory in the marker's place cannot be replaced and does not count as a marker.
    const QString taken = dir.filePath("taken.sem");
    ASSERT_TRUE(QDir().mkpath(taken));
    EXPECT_FALSE(markerExists(taken));
    EXPECT_FALSE(setSem(taken));
    EXPECT_TRUE(QFileInfo(taken).isDir());
}

TEST(MarkerFile, OtherMarkersAreRemovedOnlyFromThePerUserDirectory)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString own = dir.filePath("config");
    const QString shared = dir.filePath("bin");
    for (const QString &d : {own, shared}) {
        ASSERT_TRUE(QDir().mkpath(d));
        ASSERT_TRUE(makeFile(d + "/old-name.sem"));
        ASSERT_TRUE(makeFile(d + "/tessella.sem"));
        ASSERT_TRUE(makeFile(d + "/notes.txt"));
    }

    removeOtherMarkers(shared, "tessella.sem", false);
    EXPECT_EQ(semFiles(shared), (QStringList{"old-name.sem", "tessella.sem"}));

    removeOtherMarkers(own, "tessella.sem", true);
    EXPECT_EQ(semFiles(own), QStringList{"tessella.sem"});
    EXPECT_TRUE(QFileInfo::exists(own + "/notes.txt"));
}

TEST(MarkerFile, RemovingALinkedMarkerLeavesItsTarget)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString own = dir.filePath("config");
    ASSERT_TRUE(QDir().mkpath(own));
    const QString elsewhere = dir.filePath("precious.sem");
    ASSERT_TRUE(makeFile(elsewhere));
    ASSERT_TRUE(QFile::link(elsewhere, own + "/link.sem"));

    removeOtherMarkers(own, "tessella.sem", true);
    EXPECT_FALSE(QFileInfo(own + "/link.sem").isSymLink());
    EXPECT_TRUE(QFileInfo::exists(elsewhere));
}

TEST(MarkerLocation, WritableApplicationDirectoryIsSharedConfigurationIsPerUser)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    AppPaths app;
    app.appDir = dir.filePath("bin");
    app.exeName = "tessella";
    app.configDir = dir.filePath("config/tessella");
    ASSERT_TRUE(QDir().mkpath(app.appDir));

    MarkerLocation beside = markerLocation(app);
    EXPECT_EQ(beside.path, app.appDir + "/tessella.sem");
    EXPECT_FALSE(beside.perUserDir);
    EXPECT_EQ(beside.fileName(), "tessella.sem");

    // An application directory that cannot take the marker sends it to the configuration.
    app.appDir = dir.filePath("missing");
    MarkerLocation perUser = markerLocation(app);
    EXPECT_EQ(perUser.path, app.configDir + "/tessella.sem");
    EXPECT_TRUE(perUser.perUserDir);
    EXPECT_EQ(perUser.dir(), app.configDir);
}
