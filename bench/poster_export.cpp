// SPDX-License-Identifier: GPL-3.0-or-later
// The poster case: an "extra large" JPEG export of a 3840 x 2160 print area (a 30720 x
// 17280 drawing, a 15360 x 8640 file) of a field of 10,000 hexagons. Prints the time and
// the peak resident memory. Usage: poster_export THREADS [OUT.jpg]
#include "output/export/imageexport.h"
#include "output/export/rasterpipeline.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>

#include <ctime>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <string>

#include "hexagonfields.h"

using namespace tessella;

namespace {

double cpuSeconds(clockid_t clock)
{
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) + t.tv_nsec / 1e9;
}

long peakResidentKb()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return std::atol(line.mid(6).trimmed().constData());
        }
    }
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int threads = argc > 1 ? std::atoi(argv[1]) : 0;
    const QString out =
        argc > 2 ? QString::fromLocal8Bit(argv[2]) : QDir::temp().filePath("tessella-poster.jpg");
    const Document doc = hexagonRows(10000);
    DrawSettings settings;
    settings.grid = GridHexagonal;

    RasterJob job;
    job.width = int64_t(3840) * 8;
    job.height = int64_t(2160) * 8;
    job.zoom = 8;
    job.lineWidth = exportDrawWidth(8, false);
    job.smooth = true;
    job.threads = threads;
    job.draw = [&](Surface &band) { drawTilingScene(doc, band, settings); };

    QElapsedTimer timer;
    timer.start();
    const RasterResult result = writeRaster(job, RasterEncoding::Jpeg, out);
    const double seconds = timer.nsecsElapsed() / 1e9;
    // The calling thread encodes; the others draw and smooth. On an idle machine the pass
    // takes about the larger of the encoding and the drawing shared among the threads.
    const double encoding = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    const double total = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    std::printf("threads %d: %s in %.2f s, peak resident %.1f MB, file %.1f MB\n"
                "  CPU %.2f s: encoding thread %.2f s, drawing threads %.2f s\n",
                threads, result.status == RasterResult::Status::Written ? "written" : "FAILED",
                seconds, peakResidentKb() / 1024.0, QFile(out).size() / 1048576.0, total, encoding,
                total - encoding);
    if (argc <= 2) {
        QFile::remove(out);
    }
    return result.status == RasterResult::Status::Written ? 0 : 1;
}
