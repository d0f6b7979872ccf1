// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/surface.h"

#include <QString>

#include <cstdint>
#include <functional>

namespace tessella {

class AtomicFileWriter;
class ExportSink;

enum class RasterEncoding { Bmp, Jpeg, Png };

// Quality of every JPEG the program writes.
inline constexpr int kJpegQuality = 90;

// A raster picture to write: drawn in horizontal bands onto surfaces that keep only a band
// of rows, optionally smoothed and halved with the 1-2-1 kernel, streamed into the encoder
// and written atomically. Used by image export and by animation frames.
struct RasterJob
{
    int64_t width = 0;  // drawing pixels
    int64_t height = 0; // drawing pixels
    // Scale given to every band surface before draw is called.
    double zoom = 1;
    double originX = 0;
    double originY = 0;
    int lineWidth = 1;
    Colour background = 0xffffff;
    // Halve with the 1-2-1 smoothing: the file is ceil(width / 2) x ceil(height / 2).
    bool smooth = false;
    // Draws the whole picture; the surface keeps only one band. Called from several
    // threads at once with different surfaces.
    std::function<void(Surface &band)> draw;
    // Rows per band of the file (0: chosen from the width); tests vary it.
    int bandRows = 0;
    // Threads drawing bands (0: one per core).
    int threads = 0;
    // Draw every band on the calling thread before encoding it: for callers that keep
    // every core busy with pictures of their own (animation frames).
    bool sequential = false;
};

struct RasterResult
{
    enum class Status { Written, Cancelled, Failed };
    Status status = Status::Failed;
    QString error; // why it failed, for diagnostics
};

// Draws, smooths and encodes `job` into `path`. Written: the file is complete. Otherwise the
// target is untouched and no temporary file remains.
RasterResult writeRaster(const RasterJob &job, RasterEncoding encoding, const QString &path,
                         ExportSink *sink = nullptr);

// The same into `file`, which is open and which the caller commits (or drops) once it
// knows whether the picture may replace the target.
RasterResult encodeRaster(const RasterJob &job, RasterEncoding encoding, AtomicFileWriter &file,
                          ExportSink *sink = nullptr);

} // namespace tessella
