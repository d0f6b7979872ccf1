// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/markerfile.h"

#include "platform/apppaths.h"
#include "platform/fileio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tessella {

QString MarkerLocation::dir() const
{
    return QFileInfo(path).absolutePath();
}

QString MarkerLocation::fileName() const
{
    return QFileInfo(path).fileName();
}

MarkerLocation markerLocation(const AppPaths &paths)
{
    MarkerLocation location;
    location.path = paths.markerFilePath();
    if (!paths.configDir.isEmpty()) {
        // Compare cleaned absolute paths: the configuration directory may not exist yet.
        const QString markerDir = QDir::cleanPath(QFileInfo(location.path).absolutePath());
        const QString configDir = QDir::cleanPath(QFileInfo(paths.configDir).absoluteFilePath());
        location.perUserDir = markerDir == configDir;
    }
    return location;
}

bool markerExists(const QString &markerPath)
{
    return !markerPath.isEmpty() && QFileInfo(markerPath).isFile();
}

bool setSem(const QString &markerPath)
{
    if (markerPath.isEmpty()) {
        return false;
    }
    const QFileInfo info(markerPath);
    if (!QDir().mkpath(info.absolutePath())) {
        return false;
    }
    return writeFileAtomically(info.absoluteFilePath(), QByteArray(1, ' '));
}

void removeOtherMarkers(const QString &markerDir, const QString &keepName, bool perUserDir)
{
    if (!perUserDir || markerDir.isEmpty()) {
        return;
    }
    const QDir dir(markerDir);
    const QStringList names =
        dir.entryList({QStringLiteral("*.sem")},
                      QDir::Files | QDir::Hidden | QDir::System | QDir::CaseSensitive, QDir::Name);
    for (const QString &name : names) {
        if (name != keepName) {
            // A link is removed itself, never the file it points to.
            QFile::remove(dir.filePath(name));
        }
    }
}

} // namespace tessella
