// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the files a desktop needs to offer the program and open ".mvl" documents with it
// (shared-mime-info package, desktop entry, document icon) into a data directory laid out
// as <dir>/mime/packages, <dir>/applications and <dir>/icons: the installation's copy of
// what the association window writes for one user.
#include "platform/fileassociation.h"

#include <QCoreApplication>

#include <cstdio>

using namespace tessella;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: desktopfiles DATADIR EXECUTABLE\n");
        return 2;
    }
    AssociationPaths paths;
    paths.dataHome = args[1];
    paths.executablePath = args[2];
    // No caches are refreshed here: that is the installer's step, not the build's.
    const QStringList failures = registerFileType(paths);
    for (const QString &failure : failures)
        std::fprintf(stderr, "%s\n", qPrintable(failure));
    return failures.isEmpty() ? 0 : 1;
}
