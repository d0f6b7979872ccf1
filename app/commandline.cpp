// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commandline.h"

#include "app/documentjson.h"
#include "document/documentfile.h"
#include "fractal/mappedrendering.h"
#include "output/export/imageexport.h"
#include "platform/apppaths.h"
#include "platform/fileio.h"

#include <cmath>
#include <limits>
#include <memory>
#include <ostream>
#include <span>

namespace tessella {

LoadedFile loadDocumentFile(const QString &path)
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

namespace {

bool isOption(const QString &arg)
{
    return arg.size() > 1 && arg.startsWith(QLatin1Char('-')) && arg != QLatin1String("--");
}

std::optional<std::array<int32_t, 4>> parseArea(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4) {
        return std::nullopt;
    }
    std::array<int32_t, 4> area{};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        area[std::size_t(i)] = parts[i].trimmed().toInt(&ok);
        if (!ok) {
            return std::nullopt;
        }
    }
    return area;
}

// --export OUT [--area L,T,R,B] [--quality 1|2|4|8] FILE, options in any order after OUT.
CommandLine parseExport(const QStringList &args)
{
    CommandLine cl;
    cl.verb = CommandLine::Verb::Usage;
    if (args.size() < 4) {
        return cl;
    }
    cl.out = args[2];
    bool haveFile = false;
    FractalOptionReader fractal;
    for (qsizetype i = 3; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (fractal.take(args, i)) {
            continue;
        }
        if (arg == QLatin1String("--area") && i + 1 < args.size()) {
            cl.area = parseArea(args[++i]);
            if (!cl.area) {
                return cl;
            }
        } else if (arg == QLatin1String("--quality") && i + 1 < args.size()) {
            bool ok = false;
            cl.quality = args[++i].toInt(&ok);
            if (!ok || (cl.quality != 1 && cl.quality != 2 && cl.quality != 4 && cl.quality != 8)) {
                return cl;
            }
        } else if (isOption(arg) || haveFile) {
            return cl;
        } else {
            cl.file = arg;
            haveFile = true;
        }
    }
    if (haveFile) {
        cl.verb = CommandLine::Verb::Export;
    }
    cl.fractal = fractal.options();
    cl.fractalError = fractal.error();
    return cl;
}

// The bounding box of the tiles of the document's grid, rounded outward to whole units.
std::optional<PrintArea> tilesBoundingBox(const Document &doc)
{
    double left = std::numeric_limits<double>::infinity(), top = left;
    double right = -left, bottom = -left;
    for (const Tile &tile : doc.tiles) {
        if (tile.grid != doc.grid) {
            continue;
        }
        for (int j = 0; j < tile.usableVerts(); ++j) {
            const Vertex &v = tile.verts[std::size_t(j)];
            if (std::isfinite(v.x) && std::isfinite(v.y)) {
                left = std::min(left, v.x);
                right = std::max(right, v.x);
                top = std::min(top, v.y);
                bottom = std::max(bottom, v.y);
            }
        }
    }
    if (!(left <= right && top <= bottom)) {
        return PrintArea{};
    }
    const double lo = std::numeric_limits<int32_t>::min(), hi = std::numeric_limits<int32_t>::max();
    left = std::floor(left);
    top = std::floor(top);
    right = std::ceil(right);
    bottom = std::ceil(bottom);
    if (left < lo || top < lo || right > hi || bottom > hi) {
        return std::nullopt;
    }
    return PrintArea{int32_t(left), int32_t(top), int32_t(right), int32_t(bottom)};
}

} // namespace

CommandLine parseCommandLine(const QStringList &args)
{
    CommandLine cl;
    const QString first = args.value(1);
    if (first == QLatin1String("--info")) {
        cl.verb = args.size() == 3 ? CommandLine::Verb::Info : CommandLine::Verb::Usage;
        cl.file = args.value(2);
    } else if (first == QLatin1String("--save-as")) {
        cl.verb = args.size() == 4 ? CommandLine::Verb::SaveAs : CommandLine::Verb::Usage;
        cl.out = args.value(2);
        cl.file = args.value(3);
    } else if (first == QLatin1String("--export")) {
        cl = parseExport(args);
    } else if (first == QLatin1String("--frames")) {
        cl.frames = parseFramesOptions(args);
        cl.verb = cl.frames ? CommandLine::Verb::Frames : CommandLine::Verb::Usage;
    } else if (first == QLatin1String("--help") || first == QLatin1String("-h")) {
        cl.verb = args.size() == 2 ? CommandLine::Verb::Help : CommandLine::Verb::Usage;
    } else if (first == QLatin1String("--version")) {
        cl.verb = args.size() == 2 ? CommandLine::Verb::Version : CommandLine::Verb::Usage;
    } else if (isOption(first)) {
        cl.verb = CommandLine::Verb::Usage;
    } else {
        cl.file = commandLineDocument(args);
    }
    return cl;
}

void printUsage(std::ostream &out)
{
    out << "usage: tessella [FILE]\n"
           "       tessella --info FILE\n"
           "       tessella --save-as OUT FILE\n"
           "       tessella --export OUT [--area L,T,R,B] [--quality 1|2|4|8] FILE\n"
           "       tessella --export OUT --fractal CX,CY,R [fractal options] [--area ...] FILE\n"
           "       tessella --frames OUTBASE --keys KEYS.json [--resolution 540|720|1080]\n"
           "                [--anti-alias] FILE\n"
           "       tessella --help\n"
           "       tessella --version\n"
           "\n"
           "  FILE                open the editor on FILE\n"
           "  --info FILE         print the document as JSON\n"
           "  --save-as OUT FILE  load FILE and save it as the current version to OUT\n"
           "  --export OUT FILE   write an image of FILE to OUT (.bmp .jpg .png .emf .wmf .svg\n"
           "                      .pdf); --area in plane units (default: the tiles of the\n"
           "                      current grid), --quality the zoom of raster files (default 2)\n"
           "  --fractal CX,CY,R   render the tiling into the reference circle at (CX, CY) of\n"
           "                      radius R, the print area as the picture; options:\n"
           "                      --aspect A, --method exp|hyp, --decay in|out, --base 1.4-4.0,\n"
           "                      --falloff 0.5-2.0, --squareness -1.0-3.0, --size 0.5-2.5,\n"
           "                      --granularity 0-6 or --no-smoothing, --hue 0-360,\n"
           "                      --light 0-360, --pinch -1.0-1.0 or --wave AMP,PHASE (0-20),\n"
           "                      --skeleton\n"
           "  --frames OUTBASE    write every frame of the key frames in KEYS.json over FILE\n"
           "                      as OUTBASE000.jpg, OUTBASE001.jpg, ... on every core;\n"
           "                      --resolution the lines of a frame (default 540),\n"
           "                      --anti-alias draws twice the size and smooths it back\n";
}

void printVersion(std::ostream &out)
{
    out << "tessella " << TESSELLA_VERSION << '\n';
}

int runExport(const CommandLine &cl, std::ostream &err)
{
    if (!cl.fractalError.isEmpty()) {
        err << cl.fractalError.toStdString() << '\n';
        return 1;
    }
    const std::optional<ImageFormat> format = classifyImagePath(cl.out);
    if (!format) {
        err << unrecognizedTypeMessage(cl.out).toStdString() << '\n';
        return 1;
    }
    const LoadedFile loaded = loadDocumentFile(cl.file);
    if (!loaded.report.ok) {
        err << loaded.report.message << '\n';
        return 1;
    }
    ExportRequest request;
    request.path = cl.out;
    request.format = *format;
    request.qualityZoom = cl.quality;
    request.settings.grid = loaded.doc.grid;
    if (cl.area) {
        const auto &a = *cl.area;
        request.area = PrintArea{a[0], a[1], a[2], a[3]}.ordered();
    } else if (const std::optional<PrintArea> box = tilesBoundingBox(loaded.doc)) {
        request.area = *box;
    } else {
        err << kImageTooLarge << '\n';
        return 1;
    }
    std::shared_ptr<const MappedRendering> rendering;
    if (cl.fractal) {
        // As the panel draws: colour shifts on, "skeleton" without fills and sketches.
        request.settings.colorShiftOn = true;
        request.settings.hueShift = cl.fractal->hueShift;
        request.settings.lightShift = cl.fractal->lightShift;
        request.settings.fills = request.settings.sketches = !cl.fractal->skeleton;
        const PrintArea &a = request.area;
        rendering = std::make_shared<const MappedRendering>(
            loaded.doc, loaded.doc.tiles, cl.fractal->params,
            SurfaceRect{double(a.left), double(a.top), double(a.width()), double(a.height())});
        request.scene = [rendering](Surface &surface, const DrawSettings &settings) {
            rendering->draw(surface, settings);
        };
    }
    const ExportResult result = exportImage(loaded.doc, request);
    if (!result.written()) {
        err << result.message.toStdString() << '\n';
        return 1;
    }
    return 0;
}

int runInfo(const QString &file, std::ostream &out, std::ostream &err)
{
    const LoadedFile loaded = loadDocumentFile(file);
    if (!loaded.report.ok) {
        err << loaded.report.message << '\n';
        return 1;
    }
    out << documentJson(loaded.doc, loaded.report.header);
    return 0;
}

int runSaveAs(const QString &outFile, const QString &file, std::ostream &err)
{
    LoadedFile loaded = loadDocumentFile(file);
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

} // namespace tessella
