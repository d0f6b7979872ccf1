// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/framesoptions.h"

#include "app/commandline.h"
#include "fractal/framerun.h"
#include "fractal/keyframefile.h"

#include <ostream>

namespace tessella {

std::optional<FramesOptions> parseFramesOptions(const QStringList &args)
{
    if (args.size() < 3 || args[2].isEmpty() || args[2].startsWith(QLatin1Char('-')))
        return std::nullopt;
    FramesOptions options;
    options.outBase = args[2];
    bool haveKeys = false, haveFile = false;
    for (qsizetype i = 3; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == QLatin1String("--keys") && i + 1 < args.size() && !haveKeys) {
            options.keys = args[++i];
            haveKeys = true;
        } else if (arg == QLatin1String("--resolution") && i + 1 < args.size()) {
            bool ok = false;
            options.resolution = args[++i].toInt(&ok);
            if (!ok || frameResolution(options.resolution).isEmpty())
                return std::nullopt;
        } else if (arg == QLatin1String("--anti-alias")) {
            options.antiAlias = true;
        } else if (arg.startsWith(QLatin1Char('-')) || haveFile) {
            return std::nullopt;
        } else {
            options.file = arg;
            haveFile = true;
        }
    }
    if (!haveKeys || !haveFile)
        return std::nullopt;
    return options;
}

int runFrames(const FramesOptions &options, std::ostream &err)
{
    QString error;
    const std::optional<KeyFrameSet> set = loadKeyFrameFile(options.keys, &error);
    if (!set) {
        err << error.toStdString() << '\n';
        return 1;
    }
    const LoadedFile loaded = loadDocumentFile(options.file);
    if (!loaded.report.ok) {
        err << loaded.report.message << '\n';
        return 1;
    }
    FrameOutput output;
    output.size = frameResolution(options.resolution);
    output.antiAlias = options.antiAlias;
    output.draw.grid = loaded.doc.grid;
    const std::vector<FrameJob> jobs = frameJobs(*set, 0, options.outBase);
    if (jobs.empty()) {
        err << "the key frames give no frames\n";
        return 1;
    }
    FrameRun run(loaded.doc, loaded.doc.tiles, output, jobs);
    while (const std::optional<FrameOutcome> outcome = run.next()) {
        if (!outcome->written) {
            err << outcome->message.toStdString() << '\n';
            return 1;
        }
        err << "frame " << outcome->job + 1 << " of " << jobs.size() << ": "
            << jobs[outcome->job].path.toStdString() << '\n';
    }
    return 0;
}

} // namespace tessella
