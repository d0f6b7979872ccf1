// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commandline.h"

#include "app/documentjson.h"
#include "document/documentfile.h"
#include "platform/apppaths.h"
#include "platform/fileio.h"

#include <ostream>
#include <span>

namespace tessella {

namespace {

struct LoadedFile
{
    Document doc;
    LoadReport report;
};

LoadedFile loadFile(const QString &path)
{
    LoadedFile loaded;
    const ReadFileResult file = readRegularFile(path);
    if (!file.ok) {
        loaded.report.ok = false;
        loaded.report.message = "error loading file";
        return loaded;
    }
    const auto *data = reinterpret_cast<const uint8_t *>(file.bytes.constData());
    loaded.report = loadState(loaded.doc, std::span<const uint8_t>(data, file.bytes.size()),
                              kHeadlessHalfCanvasWidth, kHeadlessHalfCanvasHeight);
    return loaded;
}

} // namespace

CommandLine parseCommandLine(const QStringList &args)
{
    CommandLine cl;
    if (args.size() >= 2 && args[1] == QLatin1String("--info")) {
        cl.verb = args.size() == 3 ? CommandLine::Verb::Info : CommandLine::Verb::Usage;
        cl.file = args.value(2);
    } else if (args.size() >= 2 && args[1] == QLatin1String("--save-as")) {
        cl.verb = args.size() == 4 ? CommandLine::Verb::SaveAs : CommandLine::Verb::Usage;
        cl.out = args.value(2);
        cl.file = args.value(3);
    } else if (args.size() >= 2 && args[1] == QLatin1String("--help")) {
        cl.verb = CommandLine::Verb::Usage;
    } else {
        cl.file = commandLineDocument(args);
    }
    return cl;
}

int runInfo(const QString &file, std::ostream &out, std::ostream &err)
{
    const LoadedFile loaded = loadFile(file);
    if (!loaded.report.ok) {
        err << loaded.report.message << '\n';
        return 1;
    }
    out << documentJson(loaded.doc, loaded.report.header);
    return 0;
}

int runSaveAs(const QString &outFile, const QString &file, std::ostream &err)
{
    LoadedFile loaded = loadFile(file);
    if (!loaded.report.ok) {
        err << loaded.report.message << '\n';
        return 1;
    }
    const auto bytes = saveState(loaded.doc);
    if (!bytes ||
        !writeFileAtomically(outFile, QByteArray(reinterpret_cast<const char *>(bytes->data()),
                                                 static_cast<qsizetype>(bytes->size())))) {
        err << "file not saved\n";
        return 1;
    }
    return 0;
}

int runSummary(const QString &file, std::ostream &out, std::ostream &err)
{
    const LoadedFile loaded = loadFile(file);
    if (!loaded.report.ok) {
        err << loaded.report.message << '\n';
        return 1;
    }
    out << file.toStdString() << ": " << loaded.report.header << ", " << loaded.doc.tileCount()
        << " tiles, " << loaded.doc.sketchCount() << " sketches, " << loaded.doc.nodeRecCount()
        << " node records\n";
    return 0;
}

} // namespace tessella
