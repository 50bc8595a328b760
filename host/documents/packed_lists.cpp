#include "host/documents/packed_lists.h"

#include <cmath>
#include <limits>

namespace host {

namespace {

bool isReal32(const PackedNumber& value) {
    const double v = value.asReal();
    return std::isfinite(v) && std::fabs(v) <= std::numeric_limits<float>::max();
}

docfile::Vector3 vectorOf(const std::array<PackedNumber, 3>& corner, std::size_t size) {
    return {corner[0].asReal(), corner[1].asReal(), size == 3 ? corner[2].asReal() : std::nan("")};
}

JsonTree treeOf(const docfile::Vector3& v, bool withZ) {
    JsonTree out = JsonTree::array({v.x, v.y});
    if (withZ) out.push_back(v.z);
    return out;
}

} // namespace

std::size_t PackedList::size() const {
    switch (kind) {
    case PackedKind::Points: return points.size();
    case PackedKind::Polygons: return polygons.size();
    case PackedKind::Uvs: return uvs.size();
    }
    return 0;
}

JsonTree PackedList::tree() const {
    JsonTree out = JsonTree::array();
    for (const HostVector& p : points) out.push_back(JsonTree::array({p.x, p.y, p.z}));
    for (std::size_t i = 0; i < polygons.size(); ++i) {
        const HostPolygon& p = polygons[i];
        JsonTree polygon = JsonTree::array({p.a, p.b, p.c});
        if (corners[i] == 4) polygon.push_back(p.d);
        out.push_back(std::move(polygon));
    }
    for (std::size_t i = 0; i < uvs.size(); ++i) {
        JsonTree entry = JsonTree::array();
        for (std::size_t k = 0; k < corners[i]; ++k) entry.push_back(treeOf(uvs[i][k], !std::isnan(uvs[i][k].z)));
        out.push_back(std::move(entry));
    }
    return out;
}

double PackedNumber::asReal() const {
    switch (kind) {
    case Kind::Integer: return static_cast<double>(integer);
    case Kind::Unsigned: return static_cast<double>(unsignedInteger);
    case Kind::Real: return real;
    }
    return real;
}

bool PackedNumber::isInt32() const {
    if (kind == Kind::Unsigned) return unsignedInteger <= static_cast<uint64_t>(std::numeric_limits<int32_t>::max());
    return kind == Kind::Integer && integer >= std::numeric_limits<int32_t>::min() &&
           integer <= std::numeric_limits<int32_t>::max();
}

JsonTree PackedNumber::tree() const {
    switch (kind) {
    case Kind::Integer: return JsonTree(static_cast<JsonTree::number_integer_t>(integer));
    case Kind::Unsigned: return JsonTree(static_cast<JsonTree::number_unsigned_t>(unsignedInteger));
    case Kind::Real: return JsonTree(static_cast<JsonTree::number_float_t>(real));
    }
    return JsonTree(real);
}

void ListPacker::begin(PackedKind kind) {
    // The lists of the last one keep their room: most lists are short, and they are read into
    // the same memory one after the other.
    list_.points.clear();
    list_.polygons.clear();
    list_.uvs.clear();
    list_.corners.clear();
    list_.kind = kind;
    level_ = 1;
}

ListPacker::Step ListPacker::startArray() {
    if (level_ == 1) {
        numberCount_ = 0;
        cornerCount_ = 0;
        level_ = 2;
        return Step::Taken;
    }
    if (level_ == 2 && list_.kind == PackedKind::Uvs && cornerCount_ < maxCorners) {
        cornerSizes_[cornerCount_] = 0;
        level_ = 3;
        return Step::Taken;
    }
    return Step::Refused;
}

ListPacker::Step ListPacker::number(const PackedNumber& value) {
    if (level_ == 2 && list_.kind != PackedKind::Uvs && numberCount_ < maxNumbers) {
        numbers_[numberCount_++] = value;
        return Step::Taken;
    }
    if (level_ == 3 && cornerSizes_[cornerCount_] < maxCornerNumbers) {
        corners_[cornerCount_][cornerSizes_[cornerCount_]++] = value;
        return Step::Taken;
    }
    return Step::Refused;
}

ListPacker::Step ListPacker::endArray() {
    if (level_ == 1) return Step::Finished;
    if (level_ == 3) {
        const std::size_t size = cornerSizes_[cornerCount_];
        if (size != 2 && size != 3) return Step::Refused;
        ++cornerCount_;
        level_ = 2;
        return Step::Taken;
    }
    if (!commitEntry()) return Step::Refused;
    level_ = 1;
    return Step::Taken;
}

bool ListPacker::commitEntry() {
    switch (list_.kind) {
    case PackedKind::Points: {
        if (numberCount_ != 3 || !isReal32(numbers_[0]) || !isReal32(numbers_[1]) || !isReal32(numbers_[2])) return false;
        auto real = [this](std::size_t k) { return static_cast<float>(numbers_[k].asReal()); };
        list_.points.push_back({real(0), real(1), real(2)});
        return true;
    }
    case PackedKind::Polygons: {
        const std::size_t n = numberCount_;
        if (n != 3 && n != 4) return false;
        std::array<int32_t, 4> corner{};
        for (std::size_t k = 0; k < n; ++k) {
            if (!numbers_[k].isInt32()) return false;
            const PackedNumber& v = numbers_[k];
            corner[k] = static_cast<int32_t>(v.kind == PackedNumber::Kind::Unsigned ? static_cast<int64_t>(v.unsignedInteger) : v.integer);
        }
        list_.polygons.push_back({corner[0], corner[1], corner[2], n == 3 ? corner[2] : corner[3]});
        list_.corners.push_back(static_cast<uint8_t>(n));
        return true;
    }
    case PackedKind::Uvs: {
        const std::size_t n = cornerCount_;
        if (n != 3 && n != 4) return false;
        std::array<docfile::Vector3, 4> entry{};
        for (std::size_t k = 0; k < n; ++k) entry[k] = vectorOf(corners_[k], cornerSizes_[k]);
        list_.uvs.push_back(entry);
        list_.corners.push_back(static_cast<uint8_t>(n));
        return true;
    }
    }
    return false;
}

JsonTree ListPacker::cornerTree(std::size_t corner) const {
    JsonTree out = JsonTree::array();
    for (std::size_t k = 0; k < cornerSizes_[corner]; ++k) out.push_back(corners_[corner][k].tree());
    return out;
}

JsonTree ListPacker::entryTree() const {
    JsonTree out = JsonTree::array();
    if (list_.kind != PackedKind::Uvs)
        for (std::size_t k = 0; k < numberCount_; ++k) out.push_back(numbers_[k].tree());
    else
        for (std::size_t k = 0; k < cornerCount_; ++k) out.push_back(cornerTree(k));
    return out;
}

namespace {

/// The entries of `from` in memory of their size; `from` keeps its room only while it is small.
template <typename T>
std::vector<T> exactCopy(std::vector<T>& from) {
    std::vector<T> out(from.begin(), from.end());
    constexpr std::size_t keptBytes = std::size_t(1) << 16;
    if (from.capacity() * sizeof(T) > keptBytes) std::vector<T>().swap(from);
    return out;
}

} // namespace

PackedList ListPacker::take() {
    PackedList out;
    out.kind = list_.kind;
    out.points = exactCopy(list_.points);
    out.polygons = exactCopy(list_.polygons);
    out.uvs = exactCopy(list_.uvs);
    out.corners = exactCopy(list_.corners);
    return out;
}

JsonTree ListPacker::openTree(std::size_t& openLevels) {
    JsonTree out = list_.tree();
    openLevels = static_cast<std::size_t>(level_);
    if (level_ >= 2) {
        out.push_back(entryTree());
        if (level_ == 3) out.back().push_back(cornerTree(cornerCount_));
    }
    list_ = PackedList{};
    return out;
}

} // namespace host
