// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Whole-file reads and writes for the tests of any folder.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

namespace tessella::test {

// The file's bytes; "<unreadable>" when it cannot be read, so that no comparison with
// expected contents passes by accident.
inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Writes `bytes` as the whole file, making its directory first; false on any failure.
inline bool putFile(const QString &path, const QByteArray &bytes = "x")
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) &&
           file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

} // namespace tessella::test
