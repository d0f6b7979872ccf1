// SPDX-License-Identifier: GPL-3.0-or-later
#include "fractal/render.h"

#include <algorithm>
#include <cmath>
#include <thread>

namespace tessella {

namespace {

// Fewer tiles than this are mapped on one core: a thread costs more than they do.
constexpr std::size_t kParallelFrom = 64;

void placeTile(Tile &tile, const MappingParams &params, const RenderPlacement &placement)
{
    const bool inPlane = params.variant != MappingParams::Variant::None;
    const int n = tile.usableVerts();
    for (int j = 0; j < n; ++j) {
        Vertex &v = tile.verts[std::size_t(j)];
        if (inPlane) {
            v.x += params.refCenterX;
            v.y += params.refCenterY;
        } else {
            v.x = v.x * placement.mapScale + placement.mapCenterX;
            v.y = v.y * placement.mapScale + placement.mapCenterY;
        }
    }
    if (tile.verts.size() > std::size_t(n) && n > 0)
        tile.verts[std::size_t(n)] = tile.verts[0];
}

void mapTile(Tile &tile, const RadialMapping &mapping, const RenderPlacement &placement)
{
    if (tile.usableVerts() == 0)
        return;
    if (mapping.params().smoothing) {
        subdivideTile(tile, mapping, placement.segLength);
    } else {
        const int n = tile.usableVerts();
        for (int j = 0; j < n; ++j)
            mapping.pointTransform(tile.verts[std::size_t(j)].x, tile.verts[std::size_t(j)].y);
    }
    placeTile(tile, mapping.params(), placement);
}

// Pieces per edge, reduced so that the tile keeps at most kMaxMappedVerts vertices.
void limitPieces(std::vector<double> &pieces)
{
    double total = 0;
    for (double m : pieces)
        total += m;
    if (total <= kMaxMappedVerts)
        return;
    const double room = double(kMaxMappedVerts) - double(pieces.size());
    for (double &m : pieces)
        m = room <= 0 ? 1 : std::max(1.0, std::floor(m * room / total));
}

} // namespace

RenderPlacement renderPlacement(const MappingParams &params, const SurfaceRect &rect)
{
    RenderPlacement placement;
    placement.mapCenterX = rect.left + rect.width / 2;
    placement.mapCenterY = rect.top + rect.height / 2;
    if (!params.hasCircle())
        return placement;
    // A negative aspect mirrors the picture in the mapping; the scale uses its size.
    const double aspect = std::fabs(params.aspect());
    const double radius = params.refRadius;
    const double size = params.renderSize;
    if (rect.width / radius / aspect > rect.height / radius)
        placement.mapScale = rect.height * size / radius / 2.2;
    else
        placement.mapScale = rect.width * size / radius / aspect / 2.2;
    if (!std::isfinite(placement.mapScale) || placement.mapScale <= 0)
        return placement;
    double seg = std::pow(2.0, params.granularity) / placement.mapScale * 4;
    if (params.decay == MappingParams::Decay::Inward)
        seg /= 4;
    placement.segLength = std::isfinite(seg) && seg > 0 ? seg : 0;
    placement.mapped = true;
    return placement;
}

namespace {

// The mapped points strictly inside edge a-b cut into m equal steps before mapping.
void edgePoints(const RadialMapping &mapping, Vertex a, Vertex b, int m, std::vector<Vertex> &out)
{
    for (int s = 1; s < m; ++s) {
        const double t = double(s) / m;
        Vertex p{a.x * (1 - t) + b.x * t, a.y * (1 - t) + b.y * t};
        mapping.pointTransform(p.x, p.y);
        out.push_back(p);
    }
}

double longestPiece(Vertex from, const std::vector<Vertex> &inner, std::size_t first, Vertex to)
{
    double longest = 0;
    Vertex prev = from;
    for (std::size_t i = first; i <= inner.size(); ++i) {
        const Vertex &next = i < inner.size() ? inner[i] : to;
        longest = std::max(longest, std::hypot(next.x - prev.x, next.y - prev.y));
        prev = next;
    }
    return longest;
}

} // namespace

void subdivideTile(Tile &tile, const RadialMapping &mapping, double segLength)
{
    const int n = tile.usableVerts();
    if (n == 0)
        return;
    const bool divide = std::isfinite(segLength) && segLength > 0;
    std::vector<Vertex> corners(tile.verts.begin(), tile.verts.begin() + n);
    std::vector<Vertex> mapped = corners;
    for (Vertex &v : mapped)
        mapping.pointTransform(v.x, v.y);

    std::vector<double> pieces(std::size_t(n), 1.0);
    std::vector<Vertex> out;
    out.reserve(std::size_t(n));
    for (int j = 0; j < n; ++j) {
        const std::size_t k = std::size_t((j + 1) % n);
        out.push_back(mapped[std::size_t(j)]);
        if (!divide)
            continue;
        const Vertex &prev = mapped[std::size_t(j)];
        const double d = std::hypot(mapped[k].x - prev.x, mapped[k].y - prev.y);
        if (!std::isfinite(d) || d < segLength)
            continue;
        double m = std::min(std::floor(d / segLength) + 1, double(kMaxMappedVerts));
        const std::size_t first = out.size();
        // Equal steps before mapping give unequal pieces after it: take more steps on
        // an edge until none of its pieces is longer than segLength.
        for (int attempt = 0;; ++attempt) {
            edgePoints(mapping, corners[std::size_t(j)], corners[k], int(m), out);
            const double longest = longestPiece(prev, out, first, mapped[k]);
            if (!(longest > segLength) || attempt == 3 || m >= kMaxMappedVerts)
                break;
            out.resize(first);
            m = std::min(std::ceil(m * longest / segLength * 1.05), double(kMaxMappedVerts));
        }
        pieces[std::size_t(j)] = m;
    }

    double total = 0;
    for (double m : pieces)
        total += m;
    if (total > kMaxMappedVerts) {
        limitPieces(pieces);
        out.clear();
        for (int j = 0; j < n; ++j) {
            out.push_back(mapped[std::size_t(j)]);
            edgePoints(mapping, corners[std::size_t(j)], corners[std::size_t((j + 1) % n)],
                       int(pieces[std::size_t(j)]), out);
        }
    }
    tile.setCorners(out);
}

void mapTiles(std::vector<Tile> &tiles, const RadialMapping &mapping,
              const RenderPlacement &placement, int threads)
{
    auto mapRange = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i)
            mapTile(tiles[i], mapping, placement);
    };
    const unsigned cores =
        std::min(unsigned(std::max(threads, 1)), std::max(1u, std::thread::hardware_concurrency()));
    if (cores < 2 || tiles.size() < kParallelFrom) {
        mapRange(0, tiles.size());
        return;
    }
    const std::size_t half = tiles.size() / 2;
    std::jthread other(mapRange, half, tiles.size());
    mapRange(0, half);
}

void setRenderingSettings(DrawSettings &settings, const RadialMapping &mapping,
                          const RenderPlacement &placement, const std::vector<Tile> &unmapped)
{
    settings.rendering = true;
    settings.fractalSnapshot = &unmapped;
    settings.pointTransform = [&mapping](double &x, double &y) { mapping.pointTransform(x, y); };
    // Pinch and wave keep the plane's own units about the centre; sketches go where
    // their tiles went.
    if (mapping.params().variant != MappingParams::Variant::None) {
        settings.mapScale = 1;
        settings.mapCenterX = mapping.params().refCenterX;
        settings.mapCenterY = mapping.params().refCenterY;
    } else {
        settings.mapScale = placement.mapScale;
        settings.mapCenterX = placement.mapCenterX;
        settings.mapCenterY = placement.mapCenterY;
    }
}

RenderPlacement Frender(TilingDrawer &drawer, Document &doc, FractalSnapshot &snapshot,
                        const MappingParams &params, const SurfaceRect &rect)
{
    snapshot.fRestore(doc);
    const RenderPlacement placement = renderPlacement(params, rect);
    if (!placement.mapped) {
        drawer.drawList();
        return placement;
    }
    const RadialMapping mapping(params);
    mapTiles(doc.tiles, mapping, placement);
    const DrawSettings before = drawer.settings();
    setRenderingSettings(drawer.settings(), mapping, placement, snapshot.tiles());
    drawer.drawList();
    drawer.settings() = before;
    return placement;
}

} // namespace tessella
