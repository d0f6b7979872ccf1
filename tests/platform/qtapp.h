// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

namespace tessella::test {

// One application object for the whole test program, offscreen unless told otherwise.
inline QApplication &qtApp()
{
    static int argc = 1;
    static char name[] = "test_platform";
    static char *argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static QApplication app(argc, argv);
    return app;
}

} // namespace tessella::test
