// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace tessella {

// Hover texts (and accessible descriptions) of the tile editor's buttons and list entries:
// the terse captions say little to a newcomer.
void applyTileEditorTips(QWidget *window);

} // namespace tessella
