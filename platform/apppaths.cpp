// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/apppaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tessella {

namespace {

const QString kPrimitivesName = QStringLiteral("primitives.mvl");

} // namespace

AppPaths AppPaths::current()
{
    AppPaths paths;
    paths.appDir = applicationDirectory();
    paths.exeName = executableName();
    paths.configDir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    paths.dataDirs = QStandardPaths::standardLocations(QStandardPaths::AppDataLocation);
    // An installation under any prefix keeps its data in <prefix>/share/tessella, which
    // the desktop's data directories need not list.
    const QString besideInstall =
        QDir::cleanPath(QDir(paths.appDir).filePath(QStringLiteral("../share/tessella")));
    if (!paths.dataDirs.contains(besideInstall))
        paths.dataDirs << besideInstall;
    return paths;
}

QString AppPaths::primitivesPath() const
{
    const QString beside = QDir(appDir).filePath(kPrimitivesName);
    if (QFileInfo(beside).isFile()) {
        return beside;
    }
    for (const QString &dir : dataDirs) {
        const QString installed = QDir(dir).filePath(kPrimitivesName);
        if (QFileInfo(installed).isFile()) {
            return installed;
        }
    }
    return beside;
}

QString AppPaths::markerFilePath() const
{
    const QString name = exeName + QStringLiteral(".sem");
    const QFileInfo dir(appDir);
    // An installed copy usually cannot write beside itself.
    if (!appDir.isEmpty() && dir.isDir() && dir.isWritable()) {
        return QDir(appDir).filePath(name);
    }
    return QDir(configDir).filePath(name);
}

QString applicationDirectory()
{
    return QCoreApplication::applicationDirPath();
}

QString executableName()
{
    QString name = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    // Linux executables carry no extension; a dotted name such as "tessella-1.2" keeps its
    // dots. Only a Windows-style ".exe" is dropped.
    if (name.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive)) {
        name.chop(4);
    }
    return name;
}

QString executablePath()
{
    return QCoreApplication::applicationFilePath();
}

QString stripSurroundingQuotes(const QString &text)
{
    if (text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"'))) {
        return text.mid(1, text.size() - 2);
    }
    return text;
}

QString commandLineDocument(const QStringList &args)
{
    bool optionsEnded = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (!optionsEnded) {
            if (arg == QLatin1String("--")) {
                optionsEnded = true;
                continue;
            }
            if (arg.startsWith(QLatin1String("--"))) {
                continue;
            }
        }
        return stripSurroundingQuotes(arg);
    }
    return {};
}

QString primitivesPath()
{
    return AppPaths::current().primitivesPath();
}

QString markerFilePath()
{
    return AppPaths::current().markerFilePath();
}

} // namespace tessella
