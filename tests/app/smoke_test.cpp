// SPDX-License-Identifier: GPL-3.0-or-later
// Starts the built program on a virtual display, looks at the screen, and closes it.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <set>

namespace {

const QString kProgram = QStringLiteral(TESSELLA_BIN_DIR "/tessella");
const QString kPrimitives = QStringLiteral(TESSELLA_BIN_DIR "/primitives.mvl");

uint32_t bigEndian32(const QByteArray &b, qsizetype at)
{
    auto u = [&](qsizetype i) { return static_cast<uint32_t>(static_cast<uint8_t>(b[at + i])); };
    return u(0) << 24 | u(1) << 16 | u(2) << 8 | u(3);
}

// The colours of an X window dump of a 24/32-bit TrueColor screen, as 0xRRGGBB.
std::optional<std::set<uint32_t>> screenColours(const QByteArray &xwd)
{
    if (xwd.size() < 100)
        return std::nullopt;
    auto field = [&](int i) { return bigEndian32(xwd, 4 * i); };
    const uint32_t headerSize = field(0), width = field(4), height = field(5);
    const uint32_t byteOrder = field(7), bitsPerPixel = field(11), bytesPerLine = field(12);
    const uint32_t redMask = field(14), greenMask = field(15), blueMask = field(16);
    const uint32_t ncolors = field(19);
    const qsizetype data = headerSize + 12 * qsizetype(ncolors);
    // Xvfb may report a depth of 24 bits while storing 4 bytes per pixel: trust the stride.
    const uint32_t bytesPerPixel = width ? bytesPerLine / width : 0;
    if (bitsPerPixel < 24 || (bytesPerPixel != 3 && bytesPerPixel != 4) ||
        xwd.size() < data + qsizetype(height) * bytesPerLine)
        return std::nullopt;
    auto channel = [](uint32_t pixel, uint32_t mask) {
        while (mask && !(mask & 1)) {
            mask >>= 1;
            pixel >>= 1;
        }
        return pixel & mask;
    };
    std::set<uint32_t> colours;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            const qsizetype at = data + qsizetype(y) * bytesPerLine + bytesPerPixel * qsizetype(x);
            uint32_t pixel = 0;
            for (uint32_t i = 0; i < bytesPerPixel; ++i) {
                const uint32_t byte = static_cast<uint8_t>(xwd[at + i]);
                pixel |= byteOrder == 0 ? byte << (8 * i) : byte << (8 * (bytesPerPixel - 1 - i));
            }
            colours.insert(channel(pixel, redMask) << 16 | channel(pixel, greenMask) << 8 |
                           channel(pixel, blueMask));
        }
    }
    return colours;
}

int freeDisplay()
{
    for (int n = 90 + static_cast<int>(QCoreApplication::applicationPid() % 200); n < 400; ++n) {
        if (!QFile::exists(QString("/tmp/.X%1-lock").arg(n)) &&
            !QFile::exists(QString("/tmp/.X11-unix/X%1").arg(n)))
            return n;
    }
    return -1;
}

} // namespace

TEST(Smoke, ProgramShowsTheDocumentOnAVirtualDisplayAndCloses)
{
    const QString xvfb = QStandardPaths::findExecutable("Xvfb");
    const QString xwd = QStandardPaths::findExecutable("xwd");
    if (xvfb.isEmpty() || xwd.isEmpty())
        GTEST_SKIP() << "Xvfb and xwd are needed (packages xvfb and x11-apps)";
    const int display = freeDisplay();
    ASSERT_GT(display, 0);
    const QString name = QString(":%1").arg(display);

    QProcess server;
    server.start(xvfb, {name, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
    ASSERT_TRUE(server.waitForStarted(5000));
    for (int i = 0; i < 100 && !QFile::exists(QString("/tmp/.X11-unix/X%1").arg(display)); ++i)
        QThread::msleep(50);

    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", name);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("HOME", home.path());
    env.insert("XDG_CONFIG_HOME", home.filePath("config"));
    env.insert("XDG_DATA_HOME", home.filePath("data"));
    env.insert("XDG_RUNTIME_DIR", home.path());
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(kProgram, {kPrimitives});
    ASSERT_TRUE(program.waitForStarted(5000));

    // Colours of the starter library's first tiles on the rectangular grid.
    const std::set<uint32_t> wanted = {0xe6785a, 0xf0be5a, 0x96c86e};
    bool seen = false;
    for (int attempt = 0; attempt < 60 && !seen; ++attempt) {
        QThread::msleep(250);
        QProcess dump;
        dump.start(xwd, {"-root", "-silent", "-display", name});
        dump.waitForFinished(10000);
        const auto colours = screenColours(dump.readAllStandardOutput());
        if (!colours)
            continue;
        seen = std::all_of(wanted.begin(), wanted.end(),
                           [&](uint32_t c) { return colours->count(c) == 1; });
    }
    EXPECT_TRUE(seen) << "the document's tile colours never appeared on the screen";

    program.terminate(); // an ordinary close request
    EXPECT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().constData();
    if (program.state() != QProcess::NotRunning)
        program.kill();
    server.terminate();
    server.waitForFinished(5000);
}
