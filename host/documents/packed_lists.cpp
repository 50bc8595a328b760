#include "host/documents/packed_lists.h"

#include <cmath>
#include <limits>

namespace host {

namespace {

bool isInt32(const JsonTree& value) {
    if (value.is_number_unsigned()) return value.get<uint64_t>() <= static_cast<uint64_t>(std::numeric_limits<int32_t>::max());
    if (!value.is_number_integer()) return false;
    int64_t v = value.get<int64_t>();
    return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
}

bool isReal32(const JsonTree& value) {
    const double v = value.get<double>();
    return std::isfinite(v) && std::fabs(v) <= std::numeric_limits<float>::max();
}

docfile::Vector3 vectorOf(const JsonTree& list) {
    return {list[0].get<double>(), list[1].get<double>(), list.size() == 3 ? list[2].get<double>() : std::nan("")};
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

void ListPacker::begin(PackedKind kind) {
    list_ = PackedList{};
    list_.kind = kind;
    level_ = 1;
    // The entry and corner arrays are kept from list to list: one allocation for the whole file.
    for (JsonTree* array : {&entry_, &corner_}) {
        if (array->is_array()) array->clear();
        else *array = JsonTree::array();
    }
}

ListPacker::Step ListPacker::startArray() {
    if (level_ == 1) {
        entry_.clear();
        level_ = 2;
        return Step::Taken;
    }
    if (level_ == 2 && list_.kind == PackedKind::Uvs) {
        corner_.clear();
        level_ = 3;
        return Step::Taken;
    }
    return Step::Refused;
}

ListPacker::Step ListPacker::number(JsonTree&& value) {
    if (level_ == 1 || (level_ == 2 && list_.kind == PackedKind::Uvs)) return Step::Refused;
    (level_ == 3 ? corner_ : entry_).push_back(std::move(value));
    return Step::Taken;
}

ListPacker::Step ListPacker::endArray() {
    if (level_ == 1) return Step::Finished;
    if (level_ == 3) {
        if (corner_.size() != 2 && corner_.size() != 3) return Step::Refused;
        entry_.push_back(corner_);
        level_ = 2;
        return Step::Taken;
    }
    if (!commitEntry()) return Step::Refused;
    level_ = 1;
    return Step::Taken;
}

bool ListPacker::commitEntry() {
    const std::size_t n = entry_.size();
    switch (list_.kind) {
    case PackedKind::Points: {
        if (n != 3 || !isReal32(entry_[0]) || !isReal32(entry_[1]) || !isReal32(entry_[2])) return false;
        auto real = [this](std::size_t k) { return static_cast<float>(entry_[k].get<double>()); };
        list_.points.push_back({real(0), real(1), real(2)});
        return true;
    }
    case PackedKind::Polygons: {
        if (n != 3 && n != 4) return false;
        std::array<int32_t, 4> corner{};
        for (std::size_t k = 0; k < n; ++k) {
            if (!isInt32(entry_[k])) return false;
            corner[k] = static_cast<int32_t>(entry_[k].get<int64_t>());
        }
        list_.polygons.push_back({corner[0], corner[1], corner[2], n == 3 ? corner[2] : corner[3]});
        list_.corners.push_back(static_cast<uint8_t>(n));
        return true;
    }
    case PackedKind::Uvs: {
        if (n != 3 && n != 4) return false;
        std::array<docfile::Vector3, 4> entry{};
        for (std::size_t k = 0; k < n; ++k) entry[k] = vectorOf(entry_[k]);
        list_.uvs.push_back(entry);
        list_.corners.push_back(static_cast<uint8_t>(n));
        return true;
    }
    }
    return false;
}

PackedList ListPacker::take() {
    list_.points.shrink_to_fit();
    list_.polygons.shrink_to_fit();
    list_.uvs.shrink_to_fit();
    list_.corners.shrink_to_fit();
    return std::move(list_);
}

JsonTree ListPacker::openTree(std::size_t& openLevels) {
    JsonTree out = list_.tree();
    openLevels = static_cast<std::size_t>(level_);
    if (level_ >= 2) {
        out.push_back(entry_);
        if (level_ == 3) out.back().push_back(corner_);
    }
    list_ = PackedList{};
    return out;
}

} // namespace host
