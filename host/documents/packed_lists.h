// The geometry lists of polygon objects (points, polygons, uvs) read straight into records while
// the document streams by, instead of as a JSON tree: they hold nearly all of a large document.
// A list keeps this form only while it has the usual shape; anything else turns it back into a
// tree, so that the checks after reading see exactly what the file says.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "host/documents/document_file.h"
#include "host/documents/json_tree_type.h"

namespace host {

enum class PackedKind : uint8_t { Points, Polygons, Uvs };

/// A list of [x, y, z] points of 32-bit reals, of [a, b, c] or [a, b, c, d] 32-bit integers, or
/// of 3 or 4 corners [u, v] or [u, v, w] per entry. Points and polygons are in the host's form, so
/// a number out of their range is not the usual shape; coordinates are kept as read and checked
/// later.
struct PackedList {
    PackedKind kind = PackedKind::Points;
    std::vector<HostVector> points;
    std::vector<HostPolygon> polygons; // a triangle has d == c
    std::vector<std::array<docfile::Vector3, 4>> uvs; // a corner [u, v] has w = NaN
    std::vector<uint8_t> corners; // per polygon or uv entry: 3 or 4

    std::size_t size() const;
    /// The list as the JSON tree it was read from.
    JsonTree tree() const;
};

/// A number as the parser gave it, held without a JSON value around it.
struct PackedNumber {
    enum class Kind : uint8_t { Integer, Unsigned, Real };
    Kind kind = Kind::Integer;
    int64_t integer = 0;
    uint64_t unsignedInteger = 0;
    double real = 0;

    static PackedNumber of(int64_t v) { return {Kind::Integer, v, 0, 0}; }
    static PackedNumber of(uint64_t v) { return {Kind::Unsigned, 0, v, 0}; }
    static PackedNumber of(double v) { return {Kind::Real, 0, 0, v}; }
    /// The value as a real, as the JSON library converts it.
    double asReal() const;
    bool isInt32() const;
    /// The JSON value it was read as.
    JsonTree tree() const;
};

/// Takes the parse events of one list, from just after its opening "[".
class ListPacker {
public:
    enum class Step { Taken, Finished, Refused };

    void begin(PackedKind kind);
    Step startArray();
    Step endArray();
    /// Takes the number only when it answers Taken.
    Step number(const PackedNumber& value);
    /// After a refusal: the list read so far as a tree, with the entries still open appended to it,
    /// and how many arrays are open (1 to 3, the list included).
    JsonTree openTree(std::size_t& openLevels);
    /// The finished list, holding no more memory than its entries need.
    PackedList take();

private:
    /// What one entry may hold before it leaves the usual shape.
    static constexpr std::size_t maxNumbers = 4, maxCorners = 4, maxCornerNumbers = 3;
    PackedList list_;
    int level_ = 0; // 1 in the list, 2 in an entry, 3 in a uv corner
    // The entry being read, as read: numbers (points, polygons) or corners of numbers (uvs).
    std::array<PackedNumber, maxNumbers> numbers_{};
    std::size_t numberCount_ = 0;
    std::array<std::array<PackedNumber, maxCornerNumbers>, maxCorners> corners_{};
    std::array<std::size_t, maxCorners> cornerSizes_{};
    std::size_t cornerCount_ = 0; // finished corners of the entry

    bool commitEntry();
    JsonTree entryTree() const;
    JsonTree cornerTree(std::size_t corner) const;
};

} // namespace host
