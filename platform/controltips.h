// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>

class QWidget;

namespace tessella {

// A hover text for a control, or for one entry of a list when `entry` is given. Controls
// are named by their objectName, entries by their text, so a window keeps one table of
// texts apart from the code that builds its controls.
struct ControlTip
{
    const char *control;
    const char *entry; // nullptr: the control itself
    const char *tip;
};

// Gives every control of `window` named in `tips` (and every entry of its lists named
// there) the tooltip and, for screen readers, the same accessible description. Controls
// or entries the table does not name are left as they are.
void applyControlTips(QWidget *window, std::span<const ControlTip> tips);

} // namespace tessella
