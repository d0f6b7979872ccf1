// SPDX-License-Identifier: GPL-3.0-or-later
// Installs the build into a temporary prefix, as a user or a packager (DESTDIR) would,
// and checks what a desktop needs from it.
#include "platform/fileassociation.h"
#include "tests/support/files.h"

#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(Install, HoldsTheFilesADesktopNeeds)
{
    for (const bool staged : {false, true}) {
        SCOPED_TRACE(staged ? "staged" : "prefix");
        QTemporaryDir dir;
        const QString prefix = staged ? QStringLiteral("/usr") : dir.filePath("prefix");
        const QString root = staged ? dir.path() + prefix : prefix;
        QProcess install;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DESTDIR", staged ? dir.path() : QString());
        install.setProcessEnvironment(env);
        install.start(TESSELLA_CMAKE, {"--install", TESSELLA_BUILD_DIR, "--prefix", prefix});
        ASSERT_TRUE(install.waitForFinished(120000));
        ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();

        const QString desktop = root + "/share/applications/tessella.desktop";
        const QString icon = root + "/share/icons/hicolor/48x48/mimetypes/" +
                             QString(tessella::kMvlMimeType).replace('/', '-') + ".png";
        EXPECT_TRUE(QFileInfo(root + "/bin/tessella").isExecutable() &&
                    QFileInfo(root + "/share/tessella/primitives.mvl").size() > 0 &&
                    QImage(icon).size() == QSize(48, 48));
        // What the association window writes for one user, naming the installed program.
        EXPECT_EQ(tessella::test::fileBytes(desktop),
                  tessella::desktopEntry(prefix + "/bin/tessella"));
        EXPECT_EQ(tessella::test::fileBytes(root + "/share/mime/packages/tessella-mvl.xml"),
                  tessella::mimePackageXml());

        const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
        ASSERT_FALSE(validator.isEmpty()) << "desktop-file-validate missing: run scripts/deps.sh";
        QProcess validate;
        validate.setProcessChannelMode(QProcess::MergedChannels);
        validate.start(validator, {desktop});
        ASSERT_TRUE(validate.waitForFinished(60000));
        const QByteArray said = validate.readAll().trimmed(); // not even a hint
        EXPECT_TRUE(validate.exitCode() == 0 && said.isEmpty()) << said.toStdString();
    }
}

} // namespace
