// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace tessella {

struct ReadFileResult
{
    bool ok = false;
    QByteArray bytes;
    QString error; // why reading failed, for diagnostics; empty on success
};

inline constexpr qint64 kDefaultMaxReadBytes = qint64(1) << 30;

// Reads a whole regular file. Directories, FIFOs, devices and sockets are refused without
// being opened for blocking reads, and so is a file larger than maxBytes.
ReadFileResult readRegularFile(const QString &path, qint64 maxBytes = kDefaultMaxReadBytes);

// Writes `bytes` as the complete new content of `path`: into a temporary file in the same
// directory, renamed over the target only when every byte was written. A symbolic link at
// `path` is written through to its target; a replaced file keeps its permission bits. When
// the directory is not writable the file is written directly (and truncated). On failure the
// old file is left untouched, no temporary file remains, and `error` says why.
bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error = nullptr);

// Test seams. A write failure makes the next writes fail half-way, as a full disk would;
// direct mode takes the path used for a directory that is not writable.
void setWriteFailureForTesting(bool fail);
void setDirectWriteForTesting(bool direct);

} // namespace tessella
