// SPDX-License-Identifier: GPL-3.0-or-later
// Document load (parse from memory) and save (serialise to memory) throughput.
// Tile indices are 16-bit, so one document holds at most 32767 tiles; the "three
// documents" cases handle 98,301 hexagons (about 17 MB) per iteration.
#include "document/documentfile.h"
#include "document/mvlformat.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace tessella;

namespace {

constexpr int kTilesPerDocument = kMaxRecords;
constexpr int kDocuments = 3;

// A field of hexagons, each with six corners and the closing spare element.
Document hexagonField(int count)
{
    Document doc;
    doc.tiles.reserve(count);
    const double h = 8 * std::sqrt(3.0);
    for (int i = 0; i < count; ++i) {
        const double ox = 48.0 * (i % 200);
        const double oy = 2 * h * (i / 200) + ((i % 2) ? h : 0);
        Tile t;
        t.setCorners({{ox, oy},
                      {ox + 16, oy},
                      {ox + 24, oy + h},
                      {ox + 16, oy + 2 * h},
                      {ox, oy + 2 * h},
                      {ox - 8, oy + h}});
        t.color = 0x40a0f0 + i;
        t.grid = GridHexagonal;
        doc.tiles.push_back(std::move(t));
    }
    doc.grid = GridHexagonal;
    return doc;
}

std::vector<uint8_t> bytesOf(const Document &doc)
{
    auto bytes = writeDocument(doc);
    if (!bytes) {
        std::fprintf(stderr, "mvlio_bench: the bench document cannot be written\n");
        std::abort();
    }
    return std::move(*bytes);
}

void saveDocuments(benchmark::State &state, int documents)
{
    const Document doc = hexagonField(kTilesPerDocument);
    const size_t size = bytesOf(doc).size();
    for (auto _ : state) {
        for (int d = 0; d < documents; ++d) {
            auto bytes = writeDocument(doc);
            benchmark::DoNotOptimize(bytes->data());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * documents * size);
    state.counters["tiles"] = static_cast<double>(kTilesPerDocument) * documents;
}

void loadDocuments(benchmark::State &state, int documents)
{
    const std::vector<uint8_t> bytes = bytesOf(hexagonField(kTilesPerDocument));
    Document doc;
    for (auto _ : state) {
        for (int d = 0; d < documents; ++d) {
            const LoadReport report = loadState(doc, bytes, 400, 300);
            if (!report.ok)
                state.SkipWithError("bench document did not load");
            benchmark::DoNotOptimize(doc.tiles.data());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * documents * bytes.size());
    state.counters["tiles"] = static_cast<double>(kTilesPerDocument) * documents;
}

void BM_SaveDocument(benchmark::State &state)
{
    saveDocuments(state, 1);
}

void BM_SaveThreeDocuments(benchmark::State &state)
{
    saveDocuments(state, kDocuments);
}

void BM_LoadDocument(benchmark::State &state)
{
    loadDocuments(state, 1);
}

void BM_LoadThreeDocuments(benchmark::State &state)
{
    loadDocuments(state, kDocuments);
}

} // namespace

BENCHMARK(BM_SaveDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveThreeDocuments)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadThreeDocuments)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
