// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fileio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <atomic>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

namespace tessella {

namespace {

std::atomic<bool> writeFailure{false};
std::atomic<bool> directWrite{false};

QString systemError(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

ReadFileResult failed(const QString &why)
{
    return ReadFileResult{false, {}, why};
}

void setError(QString *error, const QString &text)
{
    if (error) {
        *error = text;
    }
}

// Where the bytes really go: the end of a chain of symbolic links (dangling or not).
QString resolveLinks(const QString &path)
{
    QString target = QFileInfo(path).absoluteFilePath();
    for (int depth = 0; depth < 40; ++depth) {
        const QFileInfo info(target);
        if (!info.isSymLink()) {
            break;
        }
        target = info.symLinkTarget();
    }
    return target;
}

// Writes in two halves so that an injected failure strikes part-way, as a full disk would.
bool writeAll(QFileDevice &file, const QByteArray &bytes)
{
    const qint64 half = bytes.size() / 2;
    if (file.write(bytes.constData(), half) != half) {
        return false;
    }
    if (writeFailure.load()) {
        return false;
    }
    const qint64 rest = bytes.size() - half;
    return file.write(bytes.constData() + half, rest) == rest;
}

bool writeDirectly(const QString &target, const QByteArray &bytes, QString *error)
{
    QFile file(target);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        setError(error, file.errorString());
        return false;
    }
    if (!writeAll(file, bytes) || !file.flush()) {
        setError(error, file.error() != QFileDevice::NoError ? file.errorString()
                                                             : QStringLiteral("write failed"));
        file.close();
        return false;
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        setError(error, file.errorString());
        return false;
    }
    return true;
}

} // namespace

void setWriteFailureForTesting(bool fail)
{
    writeFailure.store(fail);
}

void setDirectWriteForTesting(bool direct)
{
    directWrite.store(direct);
}

ReadFileResult readRegularFile(const QString &path, qint64 maxBytes)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat before
    {};
    if (name.isEmpty() || ::stat(name.constData(), &before) != 0) {
        return failed(name.isEmpty() ? QStringLiteral("no file name") : systemError(errno));
    }
    // A FIFO or a device would block the reader or never end.
    if (!S_ISREG(before.st_mode)) {
        return failed(QStringLiteral("not a regular file"));
    }
    if (before.st_size > maxBytes) {
        return failed(QStringLiteral("file too large"));
    }
    // Non-blocking, and checked again on the open descriptor, in case the name was
    // replaced by something else in between.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return failed(systemError(errno));
    }
    struct stat opened
    {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(fd);
        return failed(QStringLiteral("not a regular file"));
    }
    ReadFileResult result;
    result.ok = true;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got == 0) {
            break;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            result = failed(systemError(errno));
            break;
        }
        if (result.bytes.size() + got > maxBytes) {
            result = failed(QStringLiteral("file too large"));
            break;
        }
        result.bytes.append(buffer, got);
    }
    ::close(fd);
    return result;
}

bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    if (path.isEmpty()) {
        setError(error, QStringLiteral("no file name"));
        return false;
    }
    const QString target = resolveLinks(path);
    const QFileInfo targetInfo(target);
    const QFileInfo dirInfo(targetInfo.absolutePath());
    if (!dirInfo.isDir()) {
        setError(error, QStringLiteral("folder does not exist"));
        return false;
    }
    if (directWrite.load() || !dirInfo.isWritable()) {
        return writeDirectly(target, bytes, error);
    }

    const bool replacing = targetInfo.exists();
    const QFileDevice::Permissions oldPermissions = targetInfo.permissions();
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly)) {
        setError(error, file.errorString());
        return false;
    }
    if (replacing) {
        file.setPermissions(oldPermissions);
    }
    if (!writeAll(file, bytes)) {
        setError(error, file.error() != QFileDevice::NoError ? file.errorString()
                                                             : QStringLiteral("write failed"));
        file.cancelWriting();
        return false;
    }
    // commit() flushes, closes and renames; on failure it removes the temporary file.
    if (!file.commit()) {
        setError(error, file.errorString());
        return false;
    }
    return true;
}

struct AtomicFileWriter::State
{
    QString target;
    bool keepTimes = false;
    bool replacing = false;
    QFileDevice::Permissions permissions;
    struct stat oldStat
    {};
    std::unique_ptr<QSaveFile> file;
    qint64 written = 0;
};

AtomicFileWriter::AtomicFileWriter(const QString &path, bool keepTimes)
    : state_(std::make_unique<State>())
{
    state_->target = path.isEmpty() ? QString() : resolveLinks(path);
    state_->keepTimes = keepTimes;
}

AtomicFileWriter::~AtomicFileWriter()
{
    cancel();
}

bool AtomicFileWriter::fail(const QString &why)
{
    error_ = why;
    cancel();
    return false;
}

void AtomicFileWriter::handTo(QThread *thread)
{
    if (state_->file && thread)
        state_->file->moveToThread(thread);
}

bool AtomicFileWriter::open()
{
    State &s = *state_;
    if (s.target.isEmpty()) {
        return fail(QStringLiteral("no file name"));
    }
    const QFileInfo info(s.target);
    if (!QFileInfo(info.absolutePath()).isDir()) {
        return fail(QStringLiteral("folder does not exist"));
    }
    s.replacing = info.exists();
    if (s.replacing) {
        s.permissions = info.permissions();
        if (::stat(QFile::encodeName(s.target).constData(), &s.oldStat) != 0) {
            return fail(systemError(errno));
        }
    }
    s.file = std::make_unique<QSaveFile>(s.target);
    if (!s.file->open(QIODevice::WriteOnly)) {
        return fail(s.file->errorString());
    }
    if (s.replacing) {
        s.file->setPermissions(s.permissions);
    }
    return true;
}

bool AtomicFileWriter::write(const char *data, qint64 size)
{
    State &s = *state_;
    if (!s.file) {
        return fail(QStringLiteral("file not open"));
    }
    // An injected failure strikes after the first bytes, as a full disk would.
    if (writeFailure.load() && s.written > 0) {
        return fail(QStringLiteral("write failed"));
    }
    if (s.file->write(data, size) != size) {
        return fail(s.file->errorString());
    }
    s.written += size;
    return true;
}

bool AtomicFileWriter::seek(qint64 position)
{
    State &s = *state_;
    if (!s.file || !s.file->seek(position)) {
        return fail(s.file ? s.file->errorString() : QStringLiteral("file not open"));
    }
    return true;
}

QIODevice *AtomicFileWriter::device()
{
    return state_->file.get();
}

bool AtomicFileWriter::commit()
{
    State &s = *state_;
    if (!s.file) {
        return fail(QStringLiteral("file not open"));
    }
    if (writeFailure.load()) {
        return fail(QStringLiteral("write failed"));
    }
    if (!s.file->commit()) {
        const QString why = s.file->errorString();
        s.file.reset();
        error_ = why;
        return false;
    }
    s.file.reset();
    if (s.replacing && s.keepTimes) {
        const struct timespec times[2] = {s.oldStat.st_atim, s.oldStat.st_mtim};
        ::utimensat(AT_FDCWD, QFile::encodeName(s.target).constData(), times, 0);
    }
    return true;
}

void AtomicFileWriter::cancel()
{
    if (state_->file) {
        state_->file->cancelWriting();
        state_->file.reset();
    }
}

} // namespace tessella
