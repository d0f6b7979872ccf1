// SPDX-License-Identifier: GPL-3.0-or-later
// Installs the build into a temporary prefix, as a user or a packager would, and checks
// what a desktop needs from it.
#include "platform/fileassociation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct InstallCase
{
    const char *name;
    bool staged; // DESTDIR set, as a package build does
};

class InstallTest : public ::testing::TestWithParam<InstallCase>
{};

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST_P(InstallTest, HoldsTheFilesADesktopNeeds)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A staged install is made for /usr but lands under DESTDIR.
    const QString prefix = GetParam().staged ? QStringLiteral("/usr") : dir.filePath("prefix");
    const QString root = GetParam().staged ? dir.path() + prefix : prefix;

    QProcess install;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DESTDIR");
    if (GetParam().staged)
        env.insert("DESTDIR", dir.path());
    install.setProcessEnvironment(env);
    install.start(QStringLiteral(TESSELLA_CMAKE),
                  {"--install", QStringLiteral(TESSELLA_BUILD_DIR), "--prefix", prefix});
    ASSERT_TRUE(install.waitForFinished(120000));
    ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();

    const QString desktopFile = root + "/share/applications/tessella.desktop";
    const QString mimeFile = root + "/share/mime/packages/tessella-mvl.xml";
    const QString iconFile = root + "/share/icons/hicolor/48x48/mimetypes/" +
                             QString(tessella::kMvlMimeType).replace('/', '-') + ".png";
    for (const QString &path : {root + "/bin/tessella", root + "/share/tessella/primitives.mvl",
                                desktopFile, mimeFile, iconFile})
        EXPECT_GT(QFileInfo(path).size(), 0) << path.toStdString();
    EXPECT_TRUE(QFileInfo(root + "/bin/tessella").isExecutable());

    // The same files the association window writes for one user, naming the installed
    // program (never the staging directory).
    EXPECT_EQ(readAll(desktopFile), tessella::desktopEntry(prefix + "/bin/tessella"));
    EXPECT_EQ(readAll(mimeFile), tessella::mimePackageXml());
    EXPECT_EQ(QImage(iconFile).size(), QSize(48, 48));

    const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
    ASSERT_FALSE(validator.isEmpty()) << "desktop-file-validate missing: run scripts/deps.sh";
    QProcess validate;
    validate.setProcessChannelMode(QProcess::MergedChannels);
    validate.start(validator, {desktopFile});
    ASSERT_TRUE(validate.waitForFinished(60000));
    EXPECT_EQ(validate.exitCode(), 0);
    EXPECT_EQ(validate.readAll().trimmed().toStdString(), "");
}

INSTANTIATE_TEST_SUITE_P(Prefixes, InstallTest,
                         ::testing::Values(InstallCase{"prefix", false},
                                           InstallCase{"staged", true}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
