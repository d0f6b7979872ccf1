// SPDX-License-Identifier: GPL-3.0-or-later
// Starts the built program on a virtual display, looks at the screen, and closes it.
// Xvfb and xwd are test dependencies (scripts/deps.sh installs them): without them the
// test fails rather than passing unseen.
#include "tests/qtapp.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <set>

namespace {

const QString kProgram = QStringLiteral(TESSELLA_BIN_DIR "/tessella");
const QString kPrimitives = QStringLiteral(TESSELLA_BIN_DIR "/primitives.mvl");

// The colours of an X window dump of a 24/32-bit TrueColor screen, as 0xRRGGBB.
std::optional<std::set<uint32_t>> screenColours(const QByteArray &xwd)
{
    if (xwd.size() < 100)
        return std::nullopt;
    auto field = [&](int i) {
        auto u = [&](int k) { return uint32_t(uint8_t(xwd[4 * i + k])); };
        return u(0) << 24 | u(1) << 16 | u(2) << 8 | u(3);
    };
    const uint32_t headerSize = field(0), width = field(4), height = field(5);
    const uint32_t byteOrder = field(7), bitsPerPixel = field(11), bytesPerLine = field(12);
    const uint32_t masks[3] = {field(14), field(15), field(16)};
    const qsizetype data = headerSize + 12 * qsizetype(field(19));
    // Xvfb may report a depth of 24 bits while storing 4 bytes per pixel: trust the stride.
    const uint32_t bytesPerPixel = width ? bytesPerLine / width : 0;
    if (bitsPerPixel < 24 || (bytesPerPixel != 3 && bytesPerPixel != 4) ||
        xwd.size() < data + qsizetype(height) * bytesPerLine)
        return std::nullopt;
    std::set<uint32_t> colours;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            const qsizetype at = data + qsizetype(y) * bytesPerLine + bytesPerPixel * qsizetype(x);
            uint32_t pixel = 0;
            for (uint32_t i = 0; i < bytesPerPixel; ++i) {
                const uint32_t byte = uint8_t(xwd[at + i]);
                pixel |= byte << (8 * (byteOrder == 0 ? i : bytesPerPixel - 1 - i));
            }
            uint32_t rgb = 0;
            for (uint32_t mask : masks) { // each channel shifted down to its low bits
                uint32_t value = pixel;
                for (; mask && !(mask & 1); mask >>= 1)
                    value >>= 1;
                rgb = rgb << 8 | (value & mask);
            }
            colours.insert(rgb);
        }
    }
    return colours;
}

TEST(Smoke, ProgramShowsTheDocumentOnAVirtualDisplayAndCloses)
{
    tessella::test::qtApp();
    const QString xvfb = QStandardPaths::findExecutable("Xvfb");
    const QString xwd = QStandardPaths::findExecutable("xwd");
    ASSERT_FALSE(xvfb.isEmpty() || xwd.isEmpty())
        << "Xvfb and xwd are needed (packages xvfb and x11-apps; scripts/deps.sh)";

    // The server picks a free display itself and writes its number once it accepts
    // clients, so parallel runs never race for one and nobody waits on the clock.
    QProcess server;
    server.start(xvfb, {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
    ASSERT_TRUE(server.waitForStarted(10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.canReadLine(); }, 30000))
        << server.readAllStandardError().constData();
    const QString display = ":" + QString::fromLatin1(server.readLine()).trimmed();

    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("HOME", home.path());
    env.insert("XDG_CONFIG_HOME", home.filePath("config"));
    env.insert("XDG_DATA_HOME", home.filePath("data"));
    env.insert("XDG_RUNTIME_DIR", home.path());
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(kProgram, {kPrimitives});
    ASSERT_TRUE(program.waitForStarted(10000));

    // Colours of the starter library's first tiles on the rectangular grid.
    const std::set<uint32_t> wanted = {0xe6785a, 0xf0be5a, 0x96c86e};
    const bool seen = QTest::qWaitFor(
        [&] {
            QProcess dump;
            dump.start(xwd, {"-root", "-silent", "-display", display});
            dump.waitForFinished(10000);
            const auto colours = screenColours(dump.readAllStandardOutput());
            return colours && std::all_of(wanted.begin(), wanted.end(),
                                          [&](uint32_t c) { return colours->count(c) == 1; });
        },
        60000);
    EXPECT_TRUE(seen) << "the document's tile colours never appeared on the screen";

    program.terminate(); // an ordinary close request
    EXPECT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().constData();
    server.terminate();
    EXPECT_TRUE(server.waitForFinished(20000));
}

} // namespace
