// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <iosfwd>

namespace tessella {

// What the program was asked to do: open the editor (on a document or not), or one
// of the headless verbs that scripts and tests use without a display.
struct CommandLine
{
    enum class Verb { Open, Info, SaveAs, Usage };
    Verb verb = Verb::Open;
    QString file; // document to open or to read
    QString out;  // --save-as target
};

CommandLine parseCommandLine(const QStringList &args);

// Half the canvas of the editor window as it first opens, in plane units: the
// centring that a "*h*" document gets when loaded without a window.
inline constexpr double kHeadlessHalfCanvasWidth = 1200;
inline constexpr double kHeadlessHalfCanvasHeight = 800;

// `tessella --info FILE`: the document as JSON on out; the load message on err.
int runInfo(const QString &file, std::ostream &out, std::ostream &err);
// `tessella --save-as OUT FILE`: loads as "load state" does, saves as "save state" does.
int runSaveAs(const QString &outFile, const QString &file, std::ostream &err);
// One line about a document, for `tessella FILE` without a window.
int runSummary(const QString &file, std::ostream &out, std::ostream &err);

} // namespace tessella
