// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

namespace tessella::test {

// One application object for the whole test program, offscreen unless told otherwise.
// Another test file may have made one already.
inline QApplication &qtApp()
{
    static int argc = 1;
    static char name[] = "tessella-tests";
    static char *argv[] = {name, nullptr};
    if (auto *existing = qobject_cast<QApplication *>(QCoreApplication::instance())) {
        return *existing;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Never destroyed: tearing it down among the exit handlers would run Qt's clean-up
    // after parts of Qt are already gone.
    static QApplication *app = new QApplication(argc, argv);
    return *app;
}

} // namespace tessella::test
