// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace tessella {

struct AppPaths;

// The marker file records that the association question was answered. Only its existence
// matters; it holds one space.
//
// It lives beside the executable when that directory is writable (a copy run from its build
// or unpack folder), else in the program's own per-user configuration directory. Clearing
// stale markers is allowed only in the latter: a directory beside an executable may be shared
// with other programs whose ".sem" files are not ours to delete.
struct MarkerLocation
{
    QString path;            // the marker file
    bool perUserDir = false; // its directory is the program's own per-user configuration dir

    QString dir() const;
    QString fileName() const;
};

// Where the marker of `paths` goes, and whether its directory is the per-user one.
MarkerLocation markerLocation(const AppPaths &paths);

// Whether the marker file exists (a directory of that name does not count).
bool markerExists(const QString &markerPath);

// Writes the marker, creating its directory. False when it could not be written; the
// question is then simply asked again at the next start.
bool setSem(const QString &markerPath);

// Deletes every "*.sem" file in `markerDir` except `keepName`, but only when `perUserDir`
// says the directory is the program's own per-user configuration directory; otherwise it
// leaves the directory alone. Files that cannot be deleted are skipped.
void removeOtherMarkers(const QString &markerDir, const QString &keepName, bool perUserDir);

} // namespace tessella
