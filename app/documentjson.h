// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/document.h"

#include <string>

namespace tessella {

// The document as JSON for scripts and tests: header, counts, every tile (its used
// vertices only), every sketch record and node record. Non-finite numbers are null.
std::string documentJson(const Document &doc, const std::string &header);

} // namespace tessella
