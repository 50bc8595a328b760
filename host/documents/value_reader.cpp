#include "host/documents/value_reader.h"

#include <cmath>
#include <limits>

#include "host/documents/document_error.h"
#include "host/documents/object_paths.h"
#include "host/documents/placement.h"

namespace host {

using namespace docfile;

namespace {

bool isIdentifier(const std::string& key) {
    if (key.empty() || (key[0] >= '0' && key[0] <= '9')) return false;
    for (char c : key)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'))
            return false;
    return true;
}

} // namespace

std::optional<int32_t> numericKey(const std::string& key) {
    if (key.empty() || key.size() > 11) return std::nullopt;
    std::size_t start = key[0] == '-' ? 1 : 0;
    if (start == key.size()) return std::nullopt;
    for (std::size_t i = start; i < key.size(); ++i)
        if (key[i] < '0' || key[i] > '9') return std::nullopt;
    long long value = std::stoll(key);
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(value);
}

std::string kindOf(const JsonTree& node) {
    switch (node.type()) {
    case JsonTree::value_t::null: return "null";
    case JsonTree::value_t::boolean: return "a boolean";
    case JsonTree::value_t::number_integer:
    case JsonTree::value_t::number_unsigned: return "an integer";
    case JsonTree::value_t::number_float: return "a real number";
    case JsonTree::value_t::string: return "a string";
    case JsonTree::value_t::array: return "a list";
    case JsonTree::value_t::object: return "an object";
    default: return "an unsupported value";
    }
}

void ValueReader::fail(const JsonPlace& path, const std::string& problem) const {
    throw DocumentError(file_, path, problem);
}

void ValueReader::requireObject(const JsonTree& node, const JsonPlace& path, const std::string& what) const {
    if (!node.is_object()) fail(path, what + " must be an object {...}, found " + kindOf(node));
}

void ValueReader::allowKeys(const JsonTree& node, const JsonPlace& path, std::initializer_list<std::string_view> keys) const {
    for (const auto& [name, value] : node.get_ref<const JsonTree::object_t&>()) {
        bool known = false;
        for (const std::string_view key : keys) known = known || name == key;
        if (known) continue;
        std::string list;
        for (const std::string_view key : keys) list += std::string(list.empty() ? "" : ", ") + std::string(key);
        fail(member(path, name), "unknown key (expected one of: " + list + ")");
    }
}

const JsonTree& ValueReader::listOf(const JsonTree& node, const JsonPlace& path) const {
    if (!node.is_array()) fail(path, "expected a list [...], found " + kindOf(node));
    return node;
}

std::string ValueReader::text(const JsonTree& node, const JsonPlace& path) const {
    if (!node.is_string()) fail(path, "expected a string, found " + kindOf(node));
    return node.get<std::string>();
}

std::optional<std::string> ValueReader::optionalText(const JsonTree& node, const JsonPlace& path) const {
    if (node.is_null()) return std::nullopt;
    return text(node, path);
}

ObjectPathNames ValueReader::objectPath(const JsonTree& node, const JsonPlace& path) const {
    if (node.is_string()) return splitObjectPath(node.get<std::string>());
    if (!node.is_array() || node.empty())
        fail(path, R"(expected an object's path "A/B" or a list of names ["A", "B"], found )" + kindOf(node));
    ObjectPathNames names;
    for (std::size_t i = 0; i < node.size(); ++i) names.push_back(text(node[i], index(path, i)));
    return names;
}

bool ValueReader::boolean(const JsonTree& node, const JsonPlace& path) const {
    if (!node.is_boolean()) fail(path, "expected true or false, found " + kindOf(node));
    return node.get<bool>();
}

int32_t ValueReader::integer(const JsonTree& node, const JsonPlace& path) const {
    if (!node.is_number_integer()) fail(path, "expected an integer, found " + kindOf(node));
    if (node.is_number_unsigned()) {
        if (node.get<uint64_t>() > static_cast<uint64_t>(std::numeric_limits<int32_t>::max()))
            fail(path, "integer out of range (a 32-bit integer is expected)");
    } else {
        int64_t value = node.get<int64_t>();
        if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
            fail(path, "integer out of range (a 32-bit integer is expected)");
    }
    return static_cast<int32_t>(node.get<int64_t>());
}

double ValueReader::number(const JsonTree& node, const JsonPlace& path) const {
    if (!node.is_number()) fail(path, "expected a number, found " + kindOf(node));
    double value = node.get<double>();
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
        fail(path, "number out of range of a 32-bit real");
    return value;
}

Vector3 ValueReader::vector(const JsonTree& node, const JsonPlace& path) const {
    if (!node.is_array() || node.size() != 3) fail(path, "expected [x, y, z], found " + kindOf(node));
    return {number(node[0], index(path, 0)), number(node[1], index(path, 1)), number(node[2], index(path, 2))};
}

Matrix ValueReader::matrix(const JsonTree& node, const JsonPlace& path) const {
    requireObject(node, path, "a matrix");
    allowKeys(node, path, {"offset", "v1", "v2", "v3"});
    Matrix m;
    if (const JsonTree* offset = field(node, "offset")) m.off = vector(*offset, member(path, "offset"));
    if (const JsonTree* v1 = field(node, "v1")) m.v1 = vector(*v1, member(path, "v1"));
    if (const JsonTree* v2 = field(node, "v2")) m.v2 = vector(*v2, member(path, "v2"));
    if (const JsonTree* v3 = field(node, "v3")) m.v3 = vector(*v3, member(path, "v3"));
    return m;
}

std::optional<Matrix> ValueReader::placement(const JsonTree& node, const JsonPlace& path) const {
    const JsonTree* position = field(node, "position");
    const JsonTree* rotation = field(node, "rotation");
    const JsonTree* scale = field(node, "scale");
    const bool parts = position || rotation || scale;
    if (const JsonTree* matrixNode = field(node, "matrix")) {
        if (parts) fail(member(path, "matrix"), "give either matrix or position/rotation/scale, not both");
        return matrix(*matrixNode, member(path, "matrix"));
    }
    if (!parts) return std::nullopt;
    Vector3 offset, angles, factors{1, 1, 1};
    if (position) offset = vector(*position, member(path, "position"));
    if (rotation) angles = vector(*rotation, member(path, "rotation"));
    if (scale) {
        if (scale->is_number()) {
            double factor = number(*scale, member(path, "scale"));
            factors = {factor, factor, factor};
        } else {
            factors = vector(*scale, member(path, "scale"));
        }
    }
    return placementMatrix(offset, angles, factors);
}

docfile::Value ValueReader::value(const JsonTree& node, const JsonPlace& path) const {
    switch (node.type()) {
    case JsonTree::value_t::null: return Removed{};
    case JsonTree::value_t::boolean: return node.get<bool>();
    case JsonTree::value_t::number_integer:
    case JsonTree::value_t::number_unsigned: return integer(node, path);
    case JsonTree::value_t::number_float: return number(node, path);
    case JsonTree::value_t::string: return node.get<std::string>();
    case JsonTree::value_t::array: return vector(node, path);
    case JsonTree::value_t::object: break;
    default: fail(path, "unsupported value");
    }
    if (node.size() != 1)
        fail(path, R"(expected {"file": ...}, {"object": ...}, {"material": ...} or {"container": ...})");
    auto item = node.begin();
    const std::string form = item.key();
    const JsonTree& inside = item.value();
    std::string inner = member(path, form);
    if (form == "file") return docfile::FileValue{text(inside, inner)};
    if (form == "object") {
        if (inside.is_null()) return ObjectLink{};
        return ObjectLink{objectPath(inside, inner)};
    }
    if (form == "material") return MaterialLink{optionalText(inside, inner)};
    if (form == "container") return Container{params(inside, inner, false)};
    fail(inner, R"(unknown value form (expected "file", "object", "material" or "container"))");
}

std::vector<Param> ValueReader::params(const JsonTree& node, const JsonPlace& path, bool symbolic) const {
    requireObject(node, path, "params");
    std::vector<Param> out;
    for (const auto& item : node.items()) {
        Param param;
        param.path = member(path, item.key());
        param.id = numericKey(item.key());
        if (!param.id) {
            if (!symbolic || !isIdentifier(item.key()))
                fail(param.path, symbolic ? "a parameter key is a numeric ID or a symbolic name such as LCFG_WIDTH"
                                          : "a key in a sub-container is a numeric ID");
            param.symbol = item.key();
        }
        param.value = value(item.value(), param.path);
        out.push_back(std::move(param));
    }
    return out;
}

} // namespace host
