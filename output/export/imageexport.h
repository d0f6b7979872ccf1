// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/document.h"
#include "output/export/exportsink.h"
#include "platform/surface.h"
#include "tileeditor/view/tilingdrawer.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

namespace tessella {

// Image export without a window: the file types, the print area and the export pass.
// The caller (the editor's "save image", the command line, later the fractal panel) owns
// the dialogs and the view; this only draws, encodes and writes.

enum class ImageFormat { Bmp, Jpeg, Emf, Wmf, Png, Svg, Pdf };

inline constexpr char kNotRecognizedSuffix[] = " is not a recognized file type";
inline constexpr char kFileNotSaved[] = "file not saved";
inline constexpr char kSavedAs[] = "saved as:";
inline constexpr char kImageTooLarge[] = "the image is too large";
inline constexpr char kPrintAreaEmpty[] = "the print area is empty";

// The type named by the last three characters of the path, compared exactly (so ".JPG"
// is not a JPEG); nothing for any other ending.
std::optional<ImageFormat> classifyImagePath(const QString &path);
// The refusal for a path classifyImagePath does not know: its last four characters
// followed by " is not a recognized file type".
QString unrecognizedTypeMessage(const QString &path);

bool isRasterFormat(ImageFormat format);   // BMP, JPEG, PNG: drawn in pixels, zoom 1/2/4/8
bool isMetafileFormat(ImageFormat format); // EMF, WMF: always drawn at zoom 2
// The zoom the export uses: the quality's zoom for raster files, 2 for every vector file.
int effectiveZoom(ImageFormat format, int qualityZoom);

// "saved as:", a line break and the path; "file not saved", a line break and the path.
QString savedAsMessage(const QString &path);
QString notSavedMessage(const QString &path);

// The rectangle around the exported part of the plane, plane units, left <= right and
// top <= bottom once ordered. Sizes are 64-bit so that no corner difference overflows.
struct PrintArea
{
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int64_t width() const { return int64_t(right) - left; }
    int64_t height() const { return int64_t(bottom) - top; }
    bool empty() const { return width() <= 0 || height() <= 0; }
    PrintArea ordered() const;
    friend bool operator==(const PrintArea &, const PrintArea &) = default;
};

// Line width of the export drawing for a zoom: 4, but 3 below 4x, 2 below 3x and 1 below
// 2x; doubled with "heavy".
int exportDrawWidth(int zoom, bool heavy);

// Draws the exported picture onto a surface whose scale (zoom, origin at the print
// area's top-left) and line width are already set and which has been cleared to white.
// For raster files the surface keeps only one band of rows and the scene is called once
// per band, from several threads at once: it must only read shared state. For vector
// files `settings.vectorTarget` is set and every shape must also be sent there.
using ExportScene = std::function<void(Surface &surface, const DrawSettings &settings)>;

// The tiling of the settings' grid, as drawList draws it: the default scene.
void drawTilingScene(const Document &doc, Surface &surface, const DrawSettings &settings);

struct ExportRequest
{
    QString path;
    ImageFormat format = ImageFormat::Jpeg;
    PrintArea area;      // ordered, plane units
    int qualityZoom = 2; // 1, 2, 4 or 8; ignored for vector files (zoom 2)
    bool heavy = false;  // the view option: doubles the draw width
    DrawSettings settings;
    ExportScene scene; // empty: drawTilingScene of the document
};

struct ExportResult
{
    enum class Status { Written, Cancelled, Failed, Refused };
    Status status = Status::Failed;
    // Failed: "file not saved", a line break and the path; Refused: why. Else empty.
    QString message;

    bool written() const { return status == Status::Written; }
};

// Checks the size, draws the print area at the format's zoom, encodes and writes the file
// through a temporary file beside it that replaces the target only when complete. On
// anything but Written the target is left exactly as it was.
ExportResult exportImage(const Document &doc, const ExportRequest &request,
                         ExportSink *sink = nullptr);

// Refusal text when the export of `request` would exceed what the encoders take or what
// 64-bit sizes hold; nothing when it may go ahead.
std::optional<QString> exportRefusal(const ExportRequest &request);

} // namespace tessella
