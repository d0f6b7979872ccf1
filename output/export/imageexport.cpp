// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/export/imageexport.h"

#include "document/numeric.h"
#include "output/export/metafilerecorders.h"
#include "output/export/painterrecorder.h"
#include "output/export/rasterpipeline.h"
#include "output/export/rowencoder.h"
#include "platform/fileio.h"
#include "platform/imagesurface.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>
#include <limits>

namespace tessella {

std::optional<ImageFormat> classifyImagePath(const QString &path)
{
    const QString last = path.right(3);
    if (last == QLatin1String("bmp")) {
        return ImageFormat::Bmp;
    }
    if (last == QLatin1String("jpg")) {
        return ImageFormat::Jpeg;
    }
    if (last == QLatin1String("emf")) {
        return ImageFormat::Emf;
    }
    if (last == QLatin1String("wmf")) {
        return ImageFormat::Wmf;
    }
    if (last == QLatin1String("png")) {
        return ImageFormat::Png;
    }
    if (last == QLatin1String("svg")) {
        return ImageFormat::Svg;
    }
    if (last == QLatin1String("pdf")) {
        return ImageFormat::Pdf;
    }
    return std::nullopt;
}

QString unrecognizedTypeMessage(const QString &path)
{
    return path.right(4) + QLatin1String(kNotRecognizedSuffix);
}

bool isRasterFormat(ImageFormat format)
{
    return format == ImageFormat::Bmp || format == ImageFormat::Jpeg || format == ImageFormat::Png;
}

bool isMetafileFormat(ImageFormat format)
{
    return format == ImageFormat::Emf || format == ImageFormat::Wmf;
}

int effectiveZoom(ImageFormat format, int qualityZoom)
{
    return isRasterFormat(format) ? qualityZoom : 2;
}

QString savedAsMessage(const QString &path)
{
    return QLatin1String(kSavedAs) + QLatin1Char('\n') + path;
}

QString notSavedMessage(const QString &path)
{
    return QLatin1String(kFileNotSaved) + QLatin1Char('\n') + path;
}

PrintArea PrintArea::ordered() const
{
    return PrintArea{std::min(left, right), std::min(top, bottom), std::max(left, right),
                     std::max(top, bottom)};
}

int exportDrawWidth(int zoom, bool heavy)
{
    const int pct = zoom * 100;
    int width = 4;
    if (pct < 199) {
        width = 1;
    } else if (pct < 299) {
        width = 2;
    } else if (pct < 399) {
        width = 3;
    }
    return heavy ? width * 2 : width;
}

void drawTilingScene(const Document &doc, Surface &surface, const DrawSettings &settings)
{
    SurfaceBatch batch(surface);
    TilingDrawer drawer(surface, doc, settings);
    drawer.drawList();
}

namespace {

// Drawing pixels beyond this are saturated by the drawing code.
constexpr int64_t kMaxDrawingSide = kPixelLimit;

ExportResult result(ExportResult::Status status, const QString &message = {})
{
    return ExportResult{status, message};
}

struct Size64
{
    int64_t width;
    int64_t height;
};

std::optional<Size64> drawingSize(const ExportRequest &request)
{
    const int64_t zoom = effectiveZoom(request.format, request.qualityZoom);
    Size64 size{};
    if (__builtin_mul_overflow(request.area.width(), zoom, &size.width) ||
        __builtin_mul_overflow(request.area.height(), zoom, &size.height)) {
        return std::nullopt;
    }
    return size;
}

ExportScene sceneOf(const Document &doc, const ExportRequest &request)
{
    if (request.scene) {
        return request.scene;
    }
    return [&doc](Surface &surface, const DrawSettings &settings) {
        drawTilingScene(doc, surface, settings);
    };
}

ExportResult exportRaster(const ExportRequest &request, const ExportScene &scene, Size64 size,
                          ExportSink *sink)
{
    const int zoom = request.qualityZoom;
    RasterJob job;
    job.width = size.width;
    job.height = size.height;
    job.zoom = zoom;
    job.originX = request.area.left;
    job.originY = request.area.top;
    job.lineWidth = exportDrawWidth(zoom, request.heavy);
    job.background = kWhite;
    job.smooth = zoom > 1;
    DrawSettings settings = request.settings;
    settings.vectorTarget = nullptr;
    job.draw = [&scene, settings](Surface &band) { scene(band, settings); };
    const RasterEncoding encoding = request.format == ImageFormat::Bmp   ? RasterEncoding::Bmp
                                    : request.format == ImageFormat::Png ? RasterEncoding::Png
                                                                         : RasterEncoding::Jpeg;
    const RasterResult written = writeRaster(job, encoding, request.path, sink);
    switch (written.status) {
    case RasterResult::Status::Written:
        return result(ExportResult::Status::Written);
    case RasterResult::Status::Cancelled:
        return result(ExportResult::Status::Cancelled);
    case RasterResult::Status::Failed:
        break;
    }
    return result(ExportResult::Status::Failed, notSavedMessage(request.path));
}

// Draws the scene into a vector recorder. The raster surface beside it keeps one pixel far
// outside the drawing, so only the recorder receives anything.
void recordScene(const ExportRequest &request, const ExportScene &scene, VectorTarget &target)
{
    const int zoom = effectiveZoom(request.format, request.qualityZoom);
    ImageSurface nowhere(QSize(1, 1), QPoint(-(1 << 30), -(1 << 30)), kWhite);
    nowhere.setScale(zoom, request.area.left, request.area.top);
    nowhere.setPenWidth(exportDrawWidth(zoom, request.heavy));
    DrawSettings settings = request.settings;
    settings.vectorTarget = &target;
    scene(nowhere, settings);
}

ExportResult exportVector(const ExportRequest &request, const ExportScene &scene, Size64 size,
                          ExportSink *sink)
{
    const ExportResult notSaved =
        result(ExportResult::Status::Failed, notSavedMessage(request.path));
    std::vector<uint8_t> bytes;
    if (request.format == ImageFormat::Emf || request.format == ImageFormat::Wmf) {
        if (request.format == ImageFormat::Emf) {
            const PrintArea &a = request.area;
            EmfRecorder recorder(PixelRect{a.left, a.top, a.right, a.bottom}, size.width,
                                 size.height);
            recordScene(request, scene, recorder);
            bytes = recorder.bytes();
        } else {
            WmfRecorder recorder(size.width, size.height);
            recordScene(request, scene, recorder);
            bytes = recorder.bytes();
        }
        if (sink && sink->cancelled()) {
            return result(ExportResult::Status::Cancelled);
        }
        const QByteArray data(reinterpret_cast<const char *>(bytes.data()),
                              qsizetype(bytes.size()));
        return writeFileAtomically(request.path, data) ? result(ExportResult::Status::Written)
                                                       : notSaved;
    }

    AtomicFileWriter file(request.path);
    if (!file.open()) {
        return notSaved;
    }
    const QSize pixels(int(size.width), int(size.height));
    bool painted = false;
    if (request.format == ImageFormat::Svg) {
        QSvgGenerator generator;
        generator.setOutputDevice(file.device());
        generator.setSize(pixels);
        generator.setViewBox(QRect(QPoint(0, 0), pixels));
        generator.setResolution(96);
        QPainter painter;
        if (painter.begin(&generator)) {
            PainterRecorder recorder(painter);
            recordScene(request, scene, recorder);
            painted = painter.end();
        }
    } else {
        QPdfWriter writer(file.device());
        writer.setResolution(96);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setPageSize(QPageSize(QSizeF(size.width * 72.0 / 96, size.height * 72.0 / 96),
                                     QPageSize::Point, QString(), QPageSize::ExactMatch));
        QPainter painter;
        if (painter.begin(&writer)) {
            PainterRecorder recorder(painter);
            recordScene(request, scene, recorder);
            painted = painter.end();
        }
    }
    if (sink && sink->cancelled()) {
        return result(ExportResult::Status::Cancelled);
    }
    return painted && file.commit() ? result(ExportResult::Status::Written) : notSaved;
}

} // namespace

std::optional<QString> exportRefusal(const ExportRequest &request)
{
    const QString tooLarge = QLatin1String(kImageTooLarge);
    if (request.area.empty()) {
        return QLatin1String(kPrintAreaEmpty);
    }
    if (isRasterFormat(request.format) && request.qualityZoom != 1 && request.qualityZoom != 2 &&
        request.qualityZoom != 4 && request.qualityZoom != 8) {
        return tooLarge;
    }
    const std::optional<Size64> size = drawingSize(request);
    if (!size || size->width > kMaxDrawingSide || size->height > kMaxDrawingSide) {
        return tooLarge;
    }
    const bool smooth = isRasterFormat(request.format) && request.qualityZoom > 1;
    const int64_t outWidth = smooth ? (size->width + 1) / 2 : size->width;
    const int64_t outHeight = smooth ? (size->height + 1) / 2 : size->height;
    switch (request.format) {
    case ImageFormat::Jpeg:
        if (outWidth > kJpegMaxSide || outHeight > kJpegMaxSide) {
            return tooLarge;
        }
        break;
    case ImageFormat::Bmp:
        if (!bmpFits(outWidth, outHeight)) {
            return tooLarge;
        }
        break;
    case ImageFormat::Png:
        if (outWidth > kPngMaxSide || outHeight > kPngMaxSide) {
            return tooLarge;
        }
        break;
    case ImageFormat::Svg:
    case ImageFormat::Pdf:
        // Painter coordinates are 32-bit integers.
        if (size->width > std::numeric_limits<int>::max() ||
            size->height > std::numeric_limits<int>::max()) {
            return tooLarge;
        }
        break;
    case ImageFormat::Emf:
    case ImageFormat::Wmf:
        break;
    }
    return std::nullopt;
}

ExportResult exportImage(const Document &doc, const ExportRequest &request, ExportSink *sink)
{
    if (const std::optional<QString> refusal = exportRefusal(request)) {
        return result(ExportResult::Status::Refused, *refusal);
    }
    const Size64 size = *drawingSize(request);
    const ExportScene scene = sceneOf(doc, request);
    if (isRasterFormat(request.format)) {
        return exportRaster(request, scene, size, sink);
    }
    return exportVector(request, scene, size, sink);
}

} // namespace tessella
