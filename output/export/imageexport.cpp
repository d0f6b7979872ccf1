// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/export/imageexport.h"

#include <algorithm>

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
    return format == ImageFormat::Bmp || format == ImageFormat::Jpeg ||
           format == ImageFormat::Png;
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
    TilingDrawer drawer(surface, doc, settings);
    drawer.drawList();
}

std::optional<QString> exportRefusal(const ExportRequest &)
{
    return std::nullopt;
}

ExportResult exportImage(const Document &, const ExportRequest &request, ExportSink *)
{
    return ExportResult{ExportResult::Status::Failed, notSavedMessage(request.path)};
}

} // namespace tessella
