// SPDX-License-Identifier: GPL-3.0-or-later
#include "transform/transformations.h"

#include "transform/sketchstore.h"

namespace tessella {

Transformations::Transformations(Chain &chain, Document &doc, Dialogs &dialogs, TransformHost &host,
                                 SketchWorkingCopy &sketches)
    : chain_(chain), doc_(doc), dialogs_(dialogs), host_(host), sketches_(sketches)
{}

} // namespace tessella
