// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/document.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tessella {

// The 11-character headers of a document file.
inline constexpr std::string_view kHeaderV96 = "morvel v.96";
inline constexpr std::string_view kHeaderV09 = "morvel v0.9";
inline constexpr std::string_view kHeaderForeignG = "*g*from zud";
inline constexpr std::string_view kHeaderForeignH = "*h*from zud";
inline constexpr size_t kHeaderSize = 11;
// Header plus the tile count: anything shorter is not a document.
inline constexpr size_t kMinFileSize = kHeaderSize + 2;
// On-disk sizes of the fixed parts of the records.
inline constexpr size_t kTileFixedBytes = 48; // without the vertex array block
inline constexpr size_t kSketchFixedBytes = 14;
inline constexpr size_t kNodeRecordBytes = 68;
inline constexpr size_t kVertexBytes = 16;
// The grid index is stored as a type tag and a value; tag 2 means a 16-bit value.
inline constexpr int16_t kGridTagI16 = 2;

enum class HeaderKind { V96, V09, ForeignG, ForeignH, Unknown };

HeaderKind headerKindOf(std::string_view header);

// Serialises the document in the current layout ("morvel v.96"). Node records are
// written only while doc.xformOpen (otherwise the count 0); sketch records only when
// the table exists. Returns nullopt, writing nothing, when the document holds
// something that does not fit the format or that the reader would refuse: a table
// over 32767 records, a used count negative or above its array, a grid index outside
// 0..3, curTile naming no tile (0 is allowed for an empty document), or an invalid
// pending chain. Callers normally go through saveState(), which fixes curTile first.
std::optional<std::vector<uint8_t>> writeDocument(const Document &doc);

// How much of a file to read: the whole document, or only header, count and tiles
// (the primitives library).
enum class ParseScope { WholeDocument, TilesOnly };

// The items read from a file, kept apart from the live document until the whole file
// has been checked. Items a header kind does not carry stay at their defaults.
struct ParsedDocument
{
    bool ok = false;
    bool headerRead = false; // false: the failure came before the 11 header bytes
    std::string header;      // the header bytes as read (8-bit characters, up to 11)
    HeaderKind kind = HeaderKind::Unknown;
    std::vector<Tile> tiles;
    // "morvel v0.9" and "morvel v.96" only:
    int16_t curTile = 0;
    Colour curColour = 0;
    int16_t xfReflected = 0; // already cleared when there are no node records
    std::vector<NodeRecord> nodeRecs;
    int16_t grid = 0;
    // "morvel v.96" only: records 0 .. sketchCount (never empty for that version).
    std::vector<Sketch> sketches;
};

// Parses a whole file held in memory. Never trusts a count: every array is checked
// against the bytes that remain before anything is allocated. Fields lying beyond the
// end read as zeros, so an array block entirely beyond the end reads as unallocated;
// a block cut off inside its elements is a failure.
ParsedDocument parseDocument(std::span<const uint8_t> bytes,
                             ParseScope scope = ParseScope::WholeDocument);

} // namespace tessella
