// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <memory>

class QThread;

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

// A file written piece by piece (and in any order, through seek) into a temporary file in
// the target's directory, renamed over the target by commit(). A symbolic link at the path
// is written through to its target; a replaced file keeps its permission bits, and with
// keepTimes also its access and modification times. Destroying an uncommitted writer
// removes the temporary file: the target is then exactly as it was.
class AtomicFileWriter
{
public:
    explicit AtomicFileWriter(const QString &path, bool keepTimes = false);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter &) = delete;
    AtomicFileWriter &operator=(const AtomicFileWriter &) = delete;

    bool open();
    bool write(const char *data, qint64 size);
    bool seek(qint64 position);
    bool commit();
    void cancel();
    // The open device (for writers that take one), or nullptr before open().
    QIODevice *device();
    // Why the last call failed.
    QString error() const { return error_; }
    // Gives the open file to `thread`, which will commit or cancel it; call it on the
    // thread that opened it. A writer that outlives its thread otherwise keeps that
    // thread's bookkeeping alive.
    void handTo(QThread *thread);

private:
    bool fail(const QString &why);

    struct State;
    std::unique_ptr<State> state_;
    QString error_;
};

// Test seams. A write failure makes the next writes fail half-way, as a full disk would;
// direct mode takes the path used for a directory that is not writable.
void setWriteFailureForTesting(bool fail);
void setDirectWriteForTesting(bool direct);

} // namespace tessella
