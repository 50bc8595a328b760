#include "host/documents/json_printer.h"

namespace host {

namespace {

bool isPlain(const JsonTree& value) { return !value.is_object() && !value.is_array(); }

bool allPlain(const JsonTree& list) {
    for (const auto& item : list)
        if (!isPlain(item)) return false;
    return true;
}

void print(const JsonTree& value, std::size_t indent, std::string& out) {
    const std::string inner(indent + 2, ' ');
    if (value.is_object()) {
        if (value.empty()) {
            out += "{}";
            return;
        }
        out += "{\n";
        bool first = true;
        for (auto it = value.begin(); it != value.end(); ++it) {
            out += first ? "" : ",\n";
            first = false;
            out += inner + JsonTree(it.key()).dump() + ": ";
            print(it.value(), indent + 2, out);
        }
        out += "\n" + std::string(indent, ' ') + "}";
        return;
    }
    if (value.is_array() && !value.empty() && !allPlain(value)) {
        out += "[\n";
        for (std::size_t i = 0; i < value.size(); ++i) {
            out += (i ? ",\n" : "") + inner;
            print(value[i], indent + 2, out);
        }
        out += "\n" + std::string(indent, ' ') + "]";
        return;
    }
    if (value.is_array()) {
        out += "[";
        for (std::size_t i = 0; i < value.size(); ++i) out += (i ? ", " : "") + value[i].dump();
        out += "]";
        return;
    }
    out += value.dump();
}

} // namespace

std::string printJson(const JsonTree& tree) {
    std::string out;
    print(tree, 0, out);
    return out;
}

void printJson(const JsonTree& tree, std::size_t indent, std::string& out) { print(tree, indent, out); }

} // namespace host
