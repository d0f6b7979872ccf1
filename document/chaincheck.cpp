// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/chaincheck.h"

#include <cmath>

namespace tessella {

long flattenedPointCount(const std::vector<NodeRecord> &recs)
{
    long total = 0;
    for (size_t i = 0; i + 1 < recs.size(); ++i)
        if (recs[i].nPoints >= 2)
            total += recs[i].nPoints - 1;
    return total;
}

bool isValidSavedChain(const std::vector<NodeRecord> &recs, bool reflected)
{
    if (recs.empty())
        return true;
    if (recs.size() > static_cast<size_t>(kMaxRecords))
        return false;
    // Backward edge walks stop only at anchored nodes, so both ends must be corners.
    if (!recs.front().anchored || !recs.back().anchored)
        return false;
    int corners = 0;
    bool hasRefCenter = false;
    for (size_t i = 0; i < recs.size(); ++i) {
        const NodeRecord &r = recs[i];
        if (r.nPoints > kMaxSegmentPoints)
            return false;
        for (double v : {r.x, r.y, r.fcpX, r.fcpY, r.bcpX, r.bcpY})
            if (!std::isfinite(v))
                return false;
        if (r.anchored && i + 1 < recs.size())
            ++corners;
        // The reflection centre is searched from the second node on.
        if (r.refCenter && i > 0)
            hasRefCenter = true;
    }
    if (corners < 3)
        return false;
    if (reflected && !hasRefCenter)
        return false;
    return flattenedPointCount(recs) <= kMaxRecords;
}

} // namespace tessella
