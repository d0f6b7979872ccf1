// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fileassociation.h"

#include "platform/apppaths.h"
#include "platform/fileio.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QStandardPaths>

namespace tessella {

namespace {

const QString kCreatingKey = QStringLiteral("Error: Creating Key!");
const QString kSettingValue = QStringLiteral("Error Setting String Value!");
const QString kIconSourceName = QStringLiteral("Micon48.ico");
constexpr int kIconSize = 48;
constexpr int kToolStartMs = 5000;
constexpr int kToolFinishMs = 20000;

QString iconName()
{
    return QString::fromLatin1(kMvlMimeType).replace(QLatin1Char('/'), QLatin1Char('-'));
}

// One step of the association: a directory (the "key") and a file in it (its "value").
// Returns whether both were made; failures are appended to `failures`.
bool writeEntry(const QString &dir, const QString &fileName, const QByteArray &content,
                QStringList &failures)
{
    if (dir.isEmpty() || !QDir().mkpath(dir)) {
        failures << kCreatingKey;
        return false;
    }
    if (content.isEmpty() || !writeFileAtomically(QDir(dir).filePath(fileName), content)) {
        failures << kSettingValue;
        return false;
    }
    return true;
}

QImage drawnIcon()
{
    QImage image(kIconSize, kIconSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF page(4.5, 4.5, 39, 39);
    QPainterPath clip;
    clip.addRoundedRect(page, 4, 4);
    painter.setClipPath(clip);
    // A small periodic tiling: each square cell split into two triangles of alternating colour.
    const QColor colours[] = {QColor(0x2e, 0x6f, 0xb5), QColor(0xf2, 0xb1, 0x34),
                              QColor(0xd9, 0x4f, 0x3d)};
    constexpr int cells = 4;
    const double cell = page.width() / cells;
    painter.setPen(QPen(QColor(0x20, 0x20, 0x20), 1.0));
    for (int row = 0; row < cells; ++row) {
        for (int col = 0; col < cells; ++col) {
            const QPointF topLeft(page.left() + col * cell, page.top() + row * cell);
            const QPointF topRight = topLeft + QPointF(cell, 0);
            const QPointF bottomLeft = topLeft + QPointF(0, cell);
            const QPointF bottomRight = topLeft + QPointF(cell, cell);
            const QPointF upper[] = {topLeft, topRight, bottomLeft};
            const QPointF lower[] = {topRight, bottomRight, bottomLeft};
            painter.setBrush(colours[(row + col) % 3]);
            painter.drawPolygon(upper, 3);
            painter.setBrush(colours[(row + col + 1) % 3]);
            painter.drawPolygon(lower, 3);
        }
    }
    painter.setClipping(false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0x20, 0x20, 0x20), 1.5));
    painter.drawRoundedRect(page, 4, 4);
    painter.end();
    return image;
}

} // namespace

AssociationPaths AssociationPaths::current(const AppPaths &app)
{
    AssociationPaths paths;
    paths.dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    paths.executablePath = QDir(app.appDir).filePath(app.exeName);
    QStringList iconDirs{app.appDir};
    iconDirs << app.dataDirs;
    for (const QString &dir : iconDirs) {
        const QString candidate = QDir(dir).filePath(kIconSourceName);
        if (QFileInfo(candidate).isFile()) {
            paths.iconSource = candidate;
            break;
        }
    }
    paths.runTool = runAssociationTool;
    return paths;
}

void runAssociationTool(const QString &tool, const QStringList &args)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty()) {
        return;
    }
    QProcess process;
    process.setProgram(program);
    process.setArguments(args);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted(kToolStartMs)) {
        return;
    }
    // A hung tool must not hold up the window; the caches are refreshed on next login anyway.
    if (!process.waitForFinished(kToolFinishMs)) {
        process.kill();
        process.waitForFinished(kToolStartMs);
    }
}

QByteArray mimePackageXml()
{
    QByteArray xml;
    xml += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    xml += "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
    xml += "  <mime-type type=\"";
    xml += kMvlMimeType;
    xml += "\">\n";
    xml += "    <comment>dazizi vize</comment>\n";
    xml += "    <icon name=\"" + iconName().toLatin1() + "\"/>\n";
    xml += "    <glob pattern=\"*.mvl\"/>\n";
    xml += "  </mime-type>\n";
    xml += "</mime-info>\n";
    return xml;
}

QString desktopExecQuote(const QString &argument)
{
    // Inside double quotes '"', '`', '$' and '\' take a backslash, and a literal '%' is
    // doubled so that it is not read as a field code.
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\')) {
            quoted += QLatin1Char('\\');
        } else if (c == QLatin1Char('%')) {
            quoted += QLatin1Char('%');
        }
        quoted += c;
    }
    quoted += QLatin1Char('"');
    // The key file's own escapes apply on top of the quoting.
    QString escaped;
    for (const QChar c : quoted) {
        if (c == QLatin1Char('\\')) {
            escaped += QLatin1String("\\\\");
        } else if (c == QLatin1Char('\n')) {
            escaped += QLatin1String("\\n");
        } else if (c == QLatin1Char('\t')) {
            escaped += QLatin1String("\\t");
        } else if (c == QLatin1Char('\r')) {
            escaped += QLatin1String("\\r");
        } else {
            escaped += c;
        }
    }
    return escaped;
}

QByteArray desktopEntry(const QString &executablePath)
{
    QString entry;
    entry += QLatin1String("[Desktop Entry]\n");
    entry += QLatin1String("Type=Application\n");
    entry += QLatin1String("Name=Tessella\n");
    entry += QLatin1String("Comment=Design periodic tilings of the plane\n");
    entry += QLatin1String("Exec=") + desktopExecQuote(executablePath) + QLatin1String(" %f\n");
    entry += QLatin1String("Icon=") + iconName() + QLatin1Char('\n');
    entry += QLatin1String("Terminal=false\n");
    entry += QLatin1String("MimeType=") + QLatin1String(kMvlMimeType) + QLatin1String(";\n");
    entry += QLatin1String("Categories=Graphics;\n");
    return entry.toUtf8();
}

QByteArray documentIconPng(const QString &iconSource)
{
    QImage image;
    if (!iconSource.isEmpty()) {
        image.load(iconSource);
    }
    if (image.isNull()) {
        image = drawnIcon();
    } else if (image.size() != QSize(kIconSize, kIconSize)) {
        const QImage scaled =
            image.scaled(kIconSize, kIconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QImage square(kIconSize, kIconSize, QImage::Format_ARGB32_Premultiplied);
        square.fill(Qt::transparent);
        QPainter painter(&square);
        painter.drawImage((kIconSize - scaled.width()) / 2, (kIconSize - scaled.height()) / 2,
                          scaled);
        painter.end();
        image = square;
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        return {};
    }
    return png;
}

QStringList registerFileType(const AssociationPaths &paths)
{
    QStringList failures;
    const QDir home(paths.dataHome);
    const bool haveHome = !paths.dataHome.isEmpty();
    const QString mimeDir = haveHome ? home.filePath(QStringLiteral("mime")) : QString();
    const QString appsDir = haveHome ? home.filePath(QStringLiteral("applications")) : QString();
    const QString iconDir =
        haveHome ? home.filePath(QStringLiteral("icons/hicolor/48x48/mimetypes")) : QString();

    const bool mimeOk = writeEntry(
        mimeDir.isEmpty() ? QString() : QDir(mimeDir).filePath(QStringLiteral("packages")),
        QStringLiteral("tessella-mvl.xml"), mimePackageXml(), failures);
    const bool desktopOk = writeEntry(appsDir, QString::fromLatin1(kDesktopFileName),
                                      desktopEntry(paths.executablePath), failures);
    writeEntry(iconDir, iconName() + QStringLiteral(".png"), documentIconPng(paths.iconSource),
               failures);

    if (paths.runTool) {
        if (mimeOk) {
            paths.runTool(QStringLiteral("update-mime-database"), {mimeDir});
        }
        if (desktopOk) {
            paths.runTool(QStringLiteral("update-desktop-database"), {appsDir});
        }
        if (mimeOk && desktopOk) {
            paths.runTool(QStringLiteral("xdg-mime"),
                          {QStringLiteral("default"), QString::fromLatin1(kDesktopFileName),
                           QString::fromLatin1(kMvlMimeType)});
        }
    }
    return failures;
}

} // namespace tessella
