// SPDX-License-Identifier: GPL-3.0-or-later
// The built program as a script, a user or a packager runs it: the headless verbs (the
// fractal export in process; its rendering is tested in tests/fractal), the installation,
// and the program shown on a virtual display. Xvfb, xwd and desktop-file-validate are test
// dependencies (scripts/deps.sh installs them): without them the tests fail rather than
// passing unseen.
#include "app/commandline.h"
#include "document/colour.h"
#include "document/documentfile.h"
#include "document/lattice.h"
#include "document/mvlformat.h"
#include "fractal/keyframefile.h"
#include "platform/fileassociation.h"
#include "platform/imagesurface.h"
#include "tests/qtapp.h"
#include "tests/support/files.h"
#include "tests/support/tilebuilder.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineF>
#include <QPolygonF>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>
#include <sstream>

using namespace tessella;
using tessella::test::fileBytes;
using tessella::test::putFile;

namespace {

const QString kProgram = QStringLiteral(TESSELLA_BIN_DIR "/tessella");
const QString kPrimitives = QStringLiteral(TESSELLA_BIN_DIR "/primitives.mvl");

struct ProgramRun
{
    int status;
    QByteArray out, err;
};

ProgramRun runProgram(const QStringList &args, const QString &program = kProgram,
                      const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, args);
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

QByteArray bytesOf(const std::vector<uint8_t> &bytes)
{
    return {reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size())};
}

// Whether an X window dump of a 24-bit TrueColor screen stored 4 bytes a pixel (Xvfb's
// "x24"; it may report 24 bits per pixel, so trust the stride) shows every 0xRRGGBB colour
// of `wanted`; false for any other layout.
bool showsColours(const QByteArray &xwd, std::set<uint32_t> wanted)
{
    if (xwd.size() < 100)
        return false;
    const auto field = [&](qsizetype at) { return qFromBigEndian<uint32_t>(xwd.constData() + at); };
    const uint32_t width = field(16), height = field(20), lsbFirst = field(28) == 0;
    const uint32_t stride = field(48);
    const qsizetype data = field(0) + 12 * qsizetype(field(76)); // header, then the colour map
    if (width == 0 || stride / width != 4 || field(56) != 0xff0000 || field(60) != 0xff00 ||
        field(64) != 0xff || xwd.size() < data + qsizetype(height) * stride)
        return false;
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            const char *pixel = xwd.constData() + data + qsizetype(y) * stride + 4 * x;
            wanted.erase(
                (lsbFirst ? qFromLittleEndian<uint32_t>(pixel) : qFromBigEndian<uint32_t>(pixel)) &
                0xffffff);
        }
    return wanted.empty();
}

} // namespace

TEST(CommandLine, ParsesVerbsOptionsAndTheDocumentArgument)
{
    using V = CommandLine::Verb;
    // clang-format off
    struct { QStringList args; V verb; QString file, out; } const cases[] = {
        {{"tessella"}, V::Open, "", ""},
        {{"tessella", "\"my design.mvl\""}, V::Open, "my design.mvl", ""},
        {{"tessella", "--info", "a.mvl"}, V::Info, "a.mvl", ""},
        {{"tessella", "--save-as", "out.mvl", "in.mvl"}, V::SaveAs, "in.mvl", "out.mvl"},
        {{"tessella", "--export", "o.jpg", "in.mvl"}, V::Export, "in.mvl", "o.jpg"},
        {{"tessella", "--help"}, V::Help, "", ""},
        {{"tessella", "--version"}, V::Version, "", ""},
        {{"tessella", "--frames", "m", "--keys", "k.json", "in.mvl"}, V::Frames, "", ""},
        {{"tessella", "--export", "o.png", "--fractal", "1,2,3", "in.mvl"}, V::Export, "in.mvl", "o.png"},
        // A fractal option left without its value is reported by the export, not as the usage.
        {{"tessella", "--export", "o.png", "--fractal", "1,2,3", "in.mvl", "--base"}, V::Export, "in.mvl", "o.png"},
    };
    const QStringList wrong[] = { // the usage, whatever else was read
        {"tessella", "--info"}, {"tessella", "--info", "a.mvl", "b.mvl"},
        {"tessella", "--save-as", "out.mvl"}, {"tessella", "--export", "o.jpg"},
        {"tessella", "--export", "o.jpg", "--quality", "3", "in.mvl"},
        {"tessella", "--export", "o.jpg", "--area", "1,2,3", "in.mvl"},
        {"tessella", "--export", "o.jpg", "--area", "1,2,3,x", "in.mvl"},
        {"tessella", "--export", "o.jpg", "a.mvl", "b.mvl"},
        {"tessella", "--export", "o.jpg", "--colour", "in.mvl"},
        {"tessella", "--frobnicate"}, {"tessella", "--help", "extra"},
        {"tessella", "--frames", "m", "--keys", "k.json", "--resolution", "600", "in.mvl"},
        {"tessella", "--frames", "m", "--keys", "k.json", "a.mvl", "b.mvl"},
    };
    // clang-format on
    for (const auto &c : cases) {
        const CommandLine cl = parseCommandLine(c.args);
        EXPECT_TRUE(cl.verb == c.verb && cl.file == c.file && cl.out == c.out)
            << c.args.join(' ').toStdString();
    }
    for (const QStringList &args : wrong)
        EXPECT_EQ(parseCommandLine(args).verb, V::Usage) << args.join(' ').toStdString();
    const CommandLine full = parseCommandLine(
        {"tessella", "--export", "o.png", "--quality", "8", "--area", "-5,2,30,40", "in.mvl"});
    EXPECT_TRUE(full.quality == 8 && full.area == (std::array<int32_t, 4>{-5, 2, 30, 40}));
    const CommandLine plain = parseCommandLine({"tessella", "--export", "o.jpg", "in.mvl"});
    EXPECT_TRUE(plain.quality == 2 && !plain.area);
    // The wave's amplitude is twentieths, its phase tenths of a half turn, as the panel's.
    const CommandLine wave =
        parseCommandLine({"tessella", "--export", "o.png", "--fractal", "1,2,3", "--decay", "in",
                          "--wave", "10,5", "in.mvl"});
    const MappingParams p = wave.fractal.value_or(FractalOptions{}).params;
    EXPECT_TRUE(p.decay == MappingParams::Decay::Inward && p.waveAmp == 0.5 &&
                std::abs(p.wavePhase - std::numbers::pi / 2) < 1e-12);
}

TEST(StarterLibrary, EveryTileSitsOnItsLatticeAndCanBeTransformed)
{
    const ProgramRun run = runProgram({"--info", kPrimitives});
    ASSERT_EQ(run.status, 0) << run.err.constData();
    const QJsonObject doc = QJsonDocument::fromJson(run.out).object();
    EXPECT_EQ(doc["header"].toString(), "morvel v.96");
    int perGrid[4] = {};
    QSet<int> colours[4];
    for (const QJsonValue &tile : doc["tiles"].toArray()) {
        const int grid = tile["grid"].toInt(), n = tile["nVerts"].toInt();
        const QJsonArray verts = tile["verts"].toArray();
        ASSERT_TRUE(grid >= 1 && grid <= 3 && verts.size() == n) << grid << " " << n;
        ++perGrid[grid], colours[grid].insert(tile["color"].toInt());
        QPolygonF outline;
        for (const QJsonValue &p : verts) {
            outline << QPointF(p[0].toDouble(), p[1].toDouble());
            const auto [x, y] = std::pair(outline.back().x(), outline.back().y());
            EXPECT_TRUE(snapToGrid(int16_t(grid), x, y, 0.001, false).snapped) << grid;
        }
        // Opposite corners of a hexagon mirror through one centre: opposite edges are
        // parallel, congruent and opposite.
        const auto off = [&](int i) {
            return QLineF(outline[0] + outline[3], outline[i] + outline[i + 3]).length();
        };
        EXPECT_TRUE(n == 3 || n == 4 || (n == 6 && off(1) < 0.001 && off(2) < 0.001)) << n;
        const QRectF box = outline.boundingRect();
        EXPECT_TRUE(box.width() > 0.001 && box.height() > 0.001);
    }
    EXPECT_TRUE(perGrid[1] >= 9 && perGrid[2] >= 9 && perGrid[3] >= 3);
    for (int grid = 1; grid <= 3; ++grid)
        EXPECT_EQ(colours[grid].size(), perGrid[grid]) << "distinct colours on grid " << grid;
}

TEST(CommandLine, SaveAsWritesTheCurrentVersionAndInfoReadsItBack)
{
    QTemporaryDir dir;
    // A foreign file centred on the origin comes out as the current version, centred.
    std::vector<uint8_t> bytes =
        *writeDocument(test::documentOf({test::polygonTile({{-8, -8}, {8, -8}, {8, 8}})}));
    std::copy(kHeaderForeignH.begin(), kHeaderForeignH.end(), bytes.begin());
    const QString in = dir.filePath("foreign.mvl"), out = dir.filePath("out.mvl");
    ASSERT_TRUE(putFile(in, bytesOf(bytes)));
    const ProgramRun save = runProgram({"--save-as", out, in});
    ASSERT_EQ(save.status, 0) << save.err.constData();
    EXPECT_TRUE(fileBytes(out).startsWith("morvel v.96"));

    const ProgramRun info = runProgram({"--info", out});
    ASSERT_EQ(info.status, 0);
    const QJsonObject doc = QJsonDocument::fromJson(info.out).object();
    EXPECT_TRUE(doc["tileCount"].toInt() == 1 && doc["grid"].toInt() == 1);
    const QJsonValue first = doc["tiles"][0]["verts"][0];
    EXPECT_TRUE(first[0].toDouble() == kHeadlessHalfCanvasWidth - 8 &&
                first[1].toDouble() == kHeadlessHalfCanvasHeight - 8);
}

TEST(CommandLine, FailuresReportTheMessageAndLeaveEveryTargetAlone)
{
    QTemporaryDir dir;
    const QString damaged = dir.filePath("damaged.mvl"), missing = dir.filePath("none.mvl");
    ASSERT_TRUE(
        putFile(damaged, fileBytes(kPrimitives).left(40))); // cut inside the first vertex array
    const QStringList targets = {dir.filePath("old.mvl"), dir.filePath("x.JPG"),
                                 dir.filePath("x.jpg")};
    // clang-format off
    struct { QStringList args; int status; QByteArray message; } const cases[] = {
        {{"--save-as", targets[0], missing}, 1, "error loading file"},
        {{"--save-as", targets[0], damaged}, 1, "morvel v.96error loading file"},
        {{"--info", damaged}, 1, "morvel v.96error loading file"},
        {{"--save-as", dir.path(), kPrimitives}, 1, "file not saved"}, // a directory in the way
        {{"--save-as", dir.filePath("no/such/dir.mvl"), kPrimitives}, 1, "file not saved"},
        {{"--export", targets[1], kPrimitives}, 1, ".JPG is not a recognized file type"},
        {{"--export", targets[2], missing}, 1, "error loading file"},
        {{"--export", targets[2], "--area", "0,0,20000,10", "--quality", "8", kPrimitives}, 1,
         "the image is too large"},
        {{"--frobnicate", kPrimitives}, 2, "usage: tessella"},
    };
    // clang-format on
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        for (const QString &target : targets)
            ASSERT_TRUE(putFile(target, "old"));
        const ProgramRun run = runProgram(c.args);
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.constData();
        EXPECT_TRUE(run.out.isEmpty());
        for (const QString &target : targets)
            EXPECT_EQ(fileBytes(target), "old") << target.toStdString();
    }
}

TEST(CommandLine, HelpVersionAndExportNeedNoDisplay)
{
    QTemporaryDir dir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "minimal-not-a-platform"); // the verbs must not need one
    const ProgramRun help = runProgram({"--help"}, kProgram, env);
    const ProgramRun version = runProgram({"--version"}, kProgram, env);
    EXPECT_TRUE(help.status == 0 && help.out.contains("--export OUT") &&
                help.out.contains("--save-as OUT FILE"));
    EXPECT_TRUE(version.status == 0 && version.out.startsWith("tessella "));

    const QString png = dir.filePath("area.png");
    const ProgramRun area = runProgram(
        {"--export", png, "--area", "0,0,120,80", "--quality", "1", kPrimitives}, kProgram, env);
    EXPECT_TRUE(area.status == 0 && QImage(png).size() == QSize(120, 80)) << area.err.constData();
    // The default area is the tiles' bounding box; "better" halves the doubled drawing.
    const QString jpg = dir.filePath("all.jpg");
    const ProgramRun all = runProgram({"--export", jpg, kPrimitives}, kProgram, env);
    EXPECT_TRUE(all.status == 0 && QImage(jpg).width() > 10 && QImage(jpg).height() > 10)
        << all.err.constData();
}

// `--export OUT --fractal CX,CY,R [options] FILE` in process, on an 8 x 8 board of green and
// blue squares: the reference centre lies in a green square and is drawn in the middle of
// the area; outward decay leaves the corners outside the disc.
TEST(FractalExport, RendersIntoTheDiscOfTheAreaOrSaysWhyItWritesNothing)
{
    QTemporaryDir dir;
    const QString in = dir.filePath("in.mvl"), out = dir.filePath("out.png");
    std::vector<Tile> tiles;
    for (int i = 0; i < 64; ++i)
        tiles.push_back(
            test::squareTile(i / 8 * 25, i % 8 * 25, 25, i / 8 % 2 != i % 2 ? 0xff : 0xff00));
    ASSERT_TRUE(putFile(in, bytesOf(*writeDocument(test::documentOf(tiles)))));
    std::ostringstream err;
    const auto run = [&](const QStringList &options) {
        err.str({});
        QFile::remove(out);
        return runExport(
            parseCommandLine(QStringList{"tessella", "--export", out, "--quality", "1"} + options
                             << in),
            err);
    };
    const QStringList area{"--fractal", "110,110,40", "--area", "0,0,200,100"};
    // clang-format off
    struct { QStringList extra; QRgb centre; } const drawn[] = {
        {{}, qRgb(0, 255, 0)}, {{"--hue", "120"}, toQColor(shiftColour(0x00ff00, 120, 0)).rgb()},
        {{"--skeleton"}, qRgb(255, 255, 255)}};
    // clang-format on
    for (const auto &c : drawn) {
        SCOPED_TRACE(c.extra.join(' ').toStdString());
        ASSERT_EQ(run(area + c.extra), 0) << err.str();
        const QImage image(out);
        ASSERT_EQ(image.size(), QSize(200, 100));
        EXPECT_TRUE(image.pixel(100, 50) == c.centre &&
                    (image.pixel(2, 2) & image.pixel(197, 97)) == qRgb(255, 255, 255));
    }
    // Both ends of each range are accepted.
    for (const QStringList &edge : {QStringList{"--wave", "0,0"},
                                    {"--wave", "20,20"},
                                    {"--falloff", "0.5"},
                                    {"--pinch", "1.0"}})
        EXPECT_EQ(run(area + edge), 0) << edge.join(' ').toStdString() << err.str();
    const QString r = "1,1,9";
    // clang-format off
    struct { QStringList options; const char *message; } const refused[] = {
        {{"--fractal", "0,0,0"}, "pull a reference circle"},
        {{"--fractal", "0,0"}, "--fractal needs CX,CY,R in plane units"},
        {{"--fractal", "1,x,9"}, "--fractal needs CX,CY,R in plane units"},
        {{"--fractal", "x,1,9"}, "--fractal needs CX,CY,R in plane units"},
        {{"--fractal", r, "--base", "4.1"}, "--base must be a number from 1.4 to 4.0"},
        {{"--fractal", r, "--falloff", "0.4"}, "--falloff must be a number from 0.5 to 2.0"},
        {{"--fractal", r, "--squareness", "nan"}, "--squareness must be a number from -1.0 to 3.0"},
        {{"--fractal", r, "--size", "2.6"}, "--size must be a number from 0.5 to 2.5"},
        {{"--fractal", r, "--granularity", "7"}, "--granularity must be a number from 0 to 6"},
        {{"--fractal", r, "--hue", "361"}, "--hue must be a number from 0 to 360"},
        {{"--fractal", r, "--light", "-1"}, "--light must be a number from 0 to 360"},
        {{"--fractal", r, "--pinch", "-1.2"}, "--pinch must be a number from -1.0 to 1.0"},
        {{"--fractal", r, "--pinch", "1.1"}, "--pinch must be a number from -1.0 to 1.0"},
        {{"--fractal", r, "--wave", "21,0"}, "--wave needs AMP,PHASE, each from 0 to 20"},
        {{"--fractal", r, "--pinch", "0.5", "--wave", "1,1"}, "--pinch and --wave exclude each other"},
        {{"--fractal", r, "--method", "log"}, "--method must be exp or hyp"},
        {{"--skeleton"}, "the fractal options need --fractal CX,CY,R"},
    };
    // clang-format on
    for (const auto &c : refused) {
        EXPECT_EQ(run(c.options), 1) << c.message;
        EXPECT_TRUE(err.str() == std::string(c.message) + "\n" && !QFile::exists(out)) << err.str();
    }
}

// `--frames`: a progress line a frame, then two failing runs (a damaged key-frame file, an
// unwritable base) that report why.
TEST(FramesVerb, WritesEveryFrameWithAProgressLineAndFailsWithTheMessage)
{
    QTemporaryDir dir;
    const QString keys = dir.filePath("keys.json"), damaged = dir.filePath("damaged.json");
    // clang-format off
    const KeyFrame a{.centerX = 150, .centerY = 120, .radius = 80, .aspect = 1, .falloffValue = 10, .baseValue = 20, .sizeValue = 10};
    KeyFrame b = a;
    b.centerX = 260, b.radius = 140, b.hueValue = 120;
    struct { QString base, keys; int status; QString first; /* how standard error starts */ } const rows[] = {
        {dir.filePath("m"), keys, 0, "frame 1 of 4: " + dir.filePath("m000.jpg")},
        {dir.filePath("x"), damaged, 1, ""},
        {dir.filePath("no/m"), keys, 1, "file not saved\n"}};
    // clang-format on
    ASSERT_TRUE(
        saveKeyFrameFile(keys, {.keyFrames = {a, b}, .framesPerKey = 3, .live = {}}, nullptr) &&
        putFile(damaged, "{\"format\": "));
    for (const auto &r : rows) {
        const ProgramRun run = runProgram({"--frames", r.base, "--keys", r.keys, "--resolution",
                                           "720", "--anti-alias", kPrimitives});
        const QString err = QString::fromUtf8(run.err);
        EXPECT_EQ(run.status, r.status) << err.toStdString();
        EXPECT_TRUE(err.startsWith(r.first) && !err.isEmpty()) << err.toStdString();
        EXPECT_TRUE(r.status || err.count('\n') == 4) << err.toStdString(); // a line a frame
    }
    for (const char *name : {"m000.jpg", "m001.jpg", "m002.jpg", "m003.jpg"})
        EXPECT_EQ(QImage(dir.filePath(name)).size(), QSize(1280, 720)) << name;
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 6);
}

TEST(Install, HoldsTheFilesADesktopNeeds)
{
    for (const bool staged : {false, true}) {
        SCOPED_TRACE(staged ? "staged" : "prefix");
        QTemporaryDir dir;
        const QString prefix = staged ? QStringLiteral("/usr") : dir.filePath("prefix");
        const QString root = staged ? dir.path() + prefix : prefix;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DESTDIR", staged ? dir.path() : QString());
        const ProgramRun install =
            runProgram({"--install", TESSELLA_BUILD_DIR, "--prefix", prefix}, TESSELLA_CMAKE, env);
        ASSERT_EQ(install.status, 0) << install.err.constData();

        const QString desktop = root + "/share/applications/tessella.desktop";
        const QString icon = root + "/share/icons/hicolor/48x48/mimetypes/" +
                             QString(kMvlMimeType).replace('/', '-') + ".png";
        EXPECT_TRUE(QFileInfo(root + "/bin/tessella").isExecutable() &&
                    QFileInfo(root + "/share/tessella/primitives.mvl").size() > 0 &&
                    QImage(icon).size() == QSize(48, 48));
        // What the association window writes for one user, naming the installed program.
        EXPECT_EQ(fileBytes(desktop), desktopEntry(prefix + "/bin/tessella"));
        EXPECT_EQ(fileBytes(root + "/share/mime/packages/tessella-mvl.xml"), mimePackageXml());

        const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
        ASSERT_FALSE(validator.isEmpty()) << "desktop-file-validate missing: run scripts/deps.sh";
        const ProgramRun validate = runProgram({desktop}, validator);
        EXPECT_TRUE(validate.status == 0 && (validate.out + validate.err).trimmed().isEmpty())
            << validate.out.constData() << validate.err.constData(); // not even a hint
    }
}

TEST(Smoke, ProgramShowsTheDocumentOnAVirtualDisplayAndCloses)
{
    test::qtApp();
    const QString xvfb = QStandardPaths::findExecutable("Xvfb");
    const QString xwd = QStandardPaths::findExecutable("xwd");
    ASSERT_FALSE(xvfb.isEmpty() || xwd.isEmpty())
        << "Xvfb and xwd are needed (packages xvfb and x11-apps; scripts/deps.sh)";

    // The server picks a free display itself and writes its number once it accepts
    // clients, so parallel runs never race for one and nobody waits on the clock.
    QProcess server;
    // No reset when the last client leaves: a screen dump between start-up and the program's
    // connection would otherwise close the door on the program.
    server.start(
        xvfb, {"-displayfd", "1", "-noreset", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
    ASSERT_TRUE(server.waitForStarted(10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.canReadLine(); }, 30000))
        << server.readAllStandardError().constData();
    const QString display = ":" + QString::fromLatin1(server.readLine()).trimmed();

    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // clang-format off
    for (const auto &[name, value] : {std::pair<QString, QString>{"DISPLAY", display}, {"QT_QPA_PLATFORM", "xcb"}, {"HOME", home.path()},
                                      {"XDG_CONFIG_HOME", home.filePath("config")}, {"XDG_DATA_HOME", home.filePath("data")}, {"XDG_RUNTIME_DIR", home.path()}})
        env.insert(name, value);
    // clang-format on
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(kProgram, {kPrimitives});
    ASSERT_TRUE(program.waitForStarted(10000));

    // Colours of the starter library's first tiles on the rectangular grid.
    const bool seen = QTest::qWaitFor(
        [&] {
            return showsColours(runProgram({"-root", "-silent", "-display", display}, xwd).out,
                                {0xe6785a, 0xf0be5a, 0x96c86e});
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
