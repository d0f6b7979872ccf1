// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/records.h"

#include <algorithm>

namespace tessella {

int Tile::usableVerts() const
{
    return std::clamp<int>(nVerts, 0, static_cast<int>(verts.size()));
}

void Tile::setCorners(const std::vector<Vertex> &corners)
{
    verts = corners;
    if (!corners.empty())
        verts.push_back(corners.front());
    vertsAllocated = true;
    nVerts = static_cast<int16_t>(corners.size());
}

int Sketch::usablePoints() const
{
    return std::clamp<int>(nPoints, 0, static_cast<int>(points.size()));
}

} // namespace tessella
