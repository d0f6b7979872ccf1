// SPDX-License-Identifier: GPL-3.0-or-later
// Starts the built program on a virtual display, looks at the screen, and closes it.
// Xvfb and xwd are test dependencies (scripts/deps.sh installs them): without them the
// test fails rather than passing unseen.
#include "tests/qtapp.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <set>

namespace {

const QString kProgram = QStringLiteral(TESSELLA_BIN_DIR "/tessella");
const QString kPrimitives = QStringLiteral(TESSELLA_BIN_DIR "/primitives.mvl");

// The colours of an X window dump of a 24-bit TrueColor screen stored 4 bytes a pixel
// (Xvfb's "x24"; it may report 24 bits per pixel, so trust the stride), as 0xRRGGBB;
// nothing for any other layout.
std::optional<std::set<uint32_t>> screenColours(const QByteArray &xwd)
{
    if (xwd.size() < 100)
        return std::nullopt;
    const auto field = [&](qsizetype at) { return qFromBigEndian<uint32_t>(xwd.constData() + at); };
    const uint32_t width = field(16), height = field(20), lsbFirst = field(28) == 0;
    const uint32_t stride = field(48);
    const qsizetype data = field(0) + 12 * qsizetype(field(76)); // header, then the colour map
    if (width == 0 || stride / width != 4 || field(56) != 0xff0000 || field(60) != 0xff00 ||
        field(64) != 0xff || xwd.size() < data + qsizetype(height) * stride)
        return std::nullopt;
    std::set<uint32_t> colours;
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            const char *pixel = xwd.constData() + data + qsizetype(y) * stride + 4 * x;
            colours.insert(
                (lsbFirst ? qFromLittleEndian<uint32_t>(pixel) : qFromBigEndian<uint32_t>(pixel)) &
                0xffffff);
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
    EXPECT_TRUE(program.waitForFinished(20000) && program.exitStatus() == QProcess::NormalExit &&
                program.exitCode() == 0)
        << program.readAllStandardError().constData();
    server.terminate();
    EXPECT_TRUE(server.waitForFinished(20000));
}

} // namespace
