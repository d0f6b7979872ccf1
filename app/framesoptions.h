// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <iosfwd>
#include <optional>

namespace tessella {

// `tessella --frames OUTBASE --keys KEYS.json [--resolution 540|720|1080] [--anti-alias]
// FILE`: every frame of the key frames in KEYS.json over the document FILE.
struct FramesOptions
{
    QString outBase; // the files are OUTBASE, the zero-padded file number and ".jpg"
    QString keys;
    int resolution = 540; // lines of the frame: 540, 720 or 1080
    bool antiAlias = false;
    QString file;
};

// The options after "--frames"; nothing when they are wrong (the usage is then shown).
std::optional<FramesOptions> parseFramesOptions(const QStringList &args);

// Writes the frames on every core as a run with "save files" writes them, one progress
// line per frame on err. A refused key-frame file, a document that does not load or a
// frame that cannot be written gives its message on err and status 1; frames written
// before a failure stay, no file is ever left half-written.
int runFrames(const FramesOptions &options, std::ostream &err);

} // namespace tessella
