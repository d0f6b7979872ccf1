// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace tessella {

struct AppPaths;

// The document type registered for ".mvl" files.
inline constexpr char kMvlMimeType[] = "application/x-tessella-mvl";
inline constexpr char kDesktopFileName[] = "tessella.desktop";

// Runs one of the desktop's cache tools with its arguments. The default runner looks the tool
// up on PATH and runs it with a timeout; a tool that is missing or fails is not an error, as
// the files written beforehand are the association and the caches catch up on next login.
using AssociationToolRunner = std::function<void(const QString &tool, const QStringList &args)>;

// Where the association is written and what it points at.
struct AssociationPaths
{
    QString dataHome;       // the user's data directory, e.g. ~/.local/share
    QString executablePath; // the program that opens the documents
    QString iconSource;     // an image for the document icon; empty: a drawn one is used
    // Empty: the desktop's tools are not run at all (tests).
    AssociationToolRunner runTool;

    // The running program's paths, with the default tool runner.
    static AssociationPaths current(const AppPaths &app);
};

// The default runner of `AssociationPaths::current()`.
void runAssociationTool(const QString &tool, const QStringList &args);

// The freedesktop counterpart of the document-type keys: a shared-mime-info package for
// "*.mvl", a desktop entry that opens such files with the program, and the document icon,
// then the desktop's caches are refreshed. Every step is attempted even after one failed.
// Returns the messages of the failures met, in order: "Error: Creating Key!" when a directory
// cannot be created, "Error Setting String Value!" when a file cannot be written. Empty when
// everything was registered.
QStringList registerFileType(const AssociationPaths &paths);

// Building blocks, exposed for tests.
QByteArray mimePackageXml();
QByteArray desktopEntry(const QString &executablePath);
// One argument of an Exec key: quoted, with the characters reserved inside quotes escaped,
// then escaped once more for the key file's string syntax.
QString desktopExecQuote(const QString &argument);
// A 48x48 PNG: the given image scaled, or a small tiling motif when it cannot be read.
QByteArray documentIconPng(const QString &iconSource);

} // namespace tessella
