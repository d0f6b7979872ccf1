// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QApplication;

namespace tessella {

// Opens the tile editor (loading `commandLineFile` when given), wires the other windows
// to it and runs the application until the editor closes.
int runEditor(QApplication &app, const QString &commandLineFile);

} // namespace tessella
