// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/fractaloptions.h"
#include "app/framesoptions.h"
#include "document/document.h"
#include "document/documentfile.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <iosfwd>
#include <optional>

namespace tessella {

// What the program was asked to do: open the editor (on a document or not), or one
// of the headless verbs that scripts and tests use without a display.
struct CommandLine
{
    // Usage: the arguments were wrong (usage on stderr, status 2); Help: --help.
    enum class Verb { Open, Info, SaveAs, Export, Frames, Help, Version, Usage };
    Verb verb = Verb::Open;
    QString file; // document to open or to read
    QString out;  // --save-as or --export target
    // --export options: the print area (plane units; none: the tiles' bounding box) and
    // the quality's zoom.
    std::optional<std::array<int32_t, 4>> area;
    int quality = 2;
    // --fractal and its options: the rendering to export, or why they were refused.
    std::optional<FractalOptions> fractal;
    QString fractalError;
    std::optional<FramesOptions> frames; // --frames
};

CommandLine parseCommandLine(const QStringList &args);

// Half the canvas of the editor window as it first opens, in plane units: the
// centring that a "*h*" document gets when loaded without a window.
inline constexpr double kHeadlessHalfCanvasWidth = 1200;
inline constexpr double kHeadlessHalfCanvasHeight = 800;

// A document read as "load state" reads it, without a window; the report says why not.
struct LoadedFile
{
    Document doc;
    LoadReport report;
};
LoadedFile loadDocumentFile(const QString &path);

// `tessella --info FILE`: the document as JSON on out; the load message on err.
int runInfo(const QString &file, std::ostream &out, std::ostream &err);
// `tessella --save-as OUT FILE`: loads as "load state" does, saves as "save state" does.
int runSaveAs(const QString &outFile, const QString &file, std::ostream &err);
// `tessella --export OUT [--area L,T,R,B] [--quality Q] [--fractal CX,CY,R ...] FILE`:
// loads FILE and writes the image OUT as "save image" would, with --fractal the tiling
// rendered into the print area; the message of any failure on err, OUT untouched.
int runExport(const CommandLine &cl, std::ostream &err);
// The usage of every verb; the program's name and version.
void printUsage(std::ostream &out);
void printVersion(std::ostream &out);

} // namespace tessella
