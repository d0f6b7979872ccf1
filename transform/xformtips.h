// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace tessella {

// Hover texts (and accessible descriptions) of the transform editor's controls and of the
// sketch tools palette.
void applyXformTips(QWidget *window);
void applySketchTips(QWidget *palette);

} // namespace tessella
