// SPDX-License-Identifier: GPL-3.0-or-later
// Resident memory of the tile editor window at 1920 x 1080, at 100 % and at 400 % zoom,
// holding a field of hexagons. Run with QT_QPA_PLATFORM=offscreen.
#include "platform/scripteddialogs.h"
#include "tileeditor/tileeditorwindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

using namespace tessella;

namespace {

long residentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return -1;
}

void press(QWidget &w, int key)
{
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &up);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int tiles = argc > 1 ? std::atoi(argv[1]) : 10000;
    Document doc;
    const double h = 8 * std::sqrt(3.0);
    const int perRow = 100;
    for (int i = 0; i < tiles; ++i) {
        const double x = 48 * (i % perRow) + 16, y = 2 * h * (i / perRow) + ((i % perRow) % 2) * h;
        Tile t;
        t.setCorners({{x, y},
                      {x + 16, y},
                      {x + 24, y + h},
                      {x + 16, y + 2 * h},
                      {x, y + 2 * h},
                      {x - 8, y + h}});
        t.color = 0x3080c0 + (i % 7) * 0x101010;
        t.grid = GridHexagonal;
        doc.tiles.push_back(t);
    }
    doc.grid = GridHexagonal;
    ScriptedDialogs dialogs;
    dialogs.onFailure = [](const std::string &) {
    }; // past 32767 tiles the start-up append is refused
    QTemporaryDir dir;
    AppPaths paths{dir.path(), "tessella", dir.filePath("config"), {}};
    const long before = residentKiB();
    TileEditorWindow window(doc, dialogs, paths);
    window.resize(1920, 1080);
    window.Form_Load({});
    window.show();
    QCoreApplication::processEvents();
    const long at100 = residentKiB();
    for (int i = 0; i < 4; ++i)
        press(window, Qt::Key_Period);
    QCoreApplication::processEvents();
    const long at400 = residentKiB();
    std::printf("tiles %d  window %dx%d  zoom %s\n", tiles, window.width(), window.height(),
                window.windowTitle().toUtf8().constData());
    std::printf("resident before window %ld KiB, at 100%% %ld KiB, at 400%% %ld KiB\n", before,
                at100, at400);
    doc.closing = true;
    return 0;
}
