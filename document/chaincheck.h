// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/records.h"

#include <vector>

namespace tessella {

// Most sample points one chain segment may have.
inline constexpr int kMaxSegmentPoints = 26;

// Number of outline points the chain flattens to (the closing copy not counted):
// every record but the last adds nPoints - 1, values below 2 adding nothing.
long flattenedPointCount(const std::vector<NodeRecord> &recs);

// True when saved node records can be rebuilt into an edge chain that every walk of
// the transform editor terminates on: first and last record anchored, at least three
// anchored corners before the closing one, nPoints <= 26, finite numbers, a
// reflection centre after the first record when `reflected`, and a flattened outline
// that fits a 16-bit count. An empty list is valid (no chain saved).
bool isValidSavedChain(const std::vector<NodeRecord> &recs, bool reflected);

} // namespace tessella
