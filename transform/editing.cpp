// SPDX-License-Identifier: GPL-3.0-or-later
#include "transform/editing.h"

namespace tessella {

PointEditor::PointEditor(Chain &chain, Transformations &xforms, Document &doc, Dialogs &dialogs,
                         EditingHost &host)
    : chain_(chain), xforms_(xforms), doc_(doc), dialogs_(dialogs), host_(host)
{}

} // namespace tessella
