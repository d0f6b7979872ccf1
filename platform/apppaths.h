// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace tessella {

// Where the program finds its starter library and keeps its marker file. Built from the
// running executable by `current()`; tests build one from directories of their own.
struct AppPaths
{
    QString appDir;       // directory of the executable
    QString exeName;      // executable name without a ".exe" extension
    QString configDir;    // the user's configuration directory for this program
    QStringList dataDirs; // installed data directories, searched in order

    static AppPaths current();

    // "primitives.mvl" beside the executable, else the first data directory holding it,
    // else the path beside the executable (so that the caller reports it missing).
    QString primitivesPath() const;
    // <appDir>/<exeName>.sem when appDir is writable, else <configDir>/<exeName>.sem.
    // The caller creates the directory before writing the marker.
    QString markerFilePath() const;
};

// Directory of the running executable.
QString applicationDirectory();
// Name of the running executable without directory (and without ".exe").
QString executableName();
// Full path of the running executable.
QString executablePath();

// The document named on the command line: the first positional argument after the
// program name, a surrounding pair of double quotes removed. Arguments starting with "--"
// are the program's own options and are skipped; after "--" every argument is positional.
// Empty when there is none.
QString commandLineDocument(const QStringList &args);

// A pair of double quotes around the whole text removed (only when it has at least two
// characters, so a lone '"' stays as it is).
QString stripSurroundingQuotes(const QString &text);

// Shortcuts for AppPaths::current().
QString primitivesPath();
QString markerFilePath();

} // namespace tessella
