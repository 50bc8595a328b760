// Reading the values of a document file's JSON tree into records: each value is checked for the
// JSON form it must have, and a wrong one is refused with its place and what was found there.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/documents/document_file.h"
#include "host/documents/json_path.h"
#include "host/documents/json_tree.h"

namespace host {

/// "a string", "an integer", ... for messages.
std::string kindOf(const JsonTree& node);
/// A decimal integer key such as "1005" or "-3"; none otherwise.
std::optional<int32_t> numericKey(const std::string& key);

// Places are made into text only when a message names them.
inline JsonPlace member(const JsonPlace& parent, const std::string& key) { return parent.member(key); }
inline JsonPlace index(const JsonPlace& parent, std::size_t i) { return parent.index(i); }

class ValueReader {
public:
    /// `file` names the source in errors.
    explicit ValueReader(std::string file) : file_(std::move(file)) {}
    const std::string& file() const { return file_; }

    /// Throws DocumentError.
    [[noreturn]] void fail(const JsonPlace& path, const std::string& problem) const;
    void requireObject(const JsonTree& node, const JsonPlace& path, const std::string& what) const;
    /// Refuses the first key of `node` that is not one of `keys`.
    void allowKeys(const JsonTree& node, const JsonPlace& path, std::initializer_list<std::string_view> keys) const;
    const JsonTree& listOf(const JsonTree& node, const JsonPlace& path) const;
    std::string text(const JsonTree& node, const JsonPlace& path) const;
    /// A string, or none for null.
    std::optional<std::string> optionalText(const JsonTree& node, const JsonPlace& path) const;
    /// "A/B", or a list of names ["A", "B/C"] for names that hold a "/".
    docfile::ObjectPathNames objectPath(const JsonTree& node, const JsonPlace& path) const;
    bool boolean(const JsonTree& node, const JsonPlace& path) const;
    /// A 32-bit integer.
    int32_t integer(const JsonTree& node, const JsonPlace& path) const;
    /// A number that the host keeps as a 32-bit real; integers are welcome here.
    double number(const JsonTree& node, const JsonPlace& path) const;
    /// [x, y, z].
    docfile::Vector3 vector(const JsonTree& node, const JsonPlace& path) const;
    docfile::Matrix matrix(const JsonTree& node, const JsonPlace& path) const;
    /// `matrix`, or any of `position`, `rotation`, `scale` of `node`; never both ways.
    std::optional<docfile::Matrix> placement(const JsonTree& node, const JsonPlace& path) const;
    /// A parameter's value: a plain value, or one of the forms {"file": ...}, {"object": ...},
    /// {"material": ...}, {"container": ...}.
    docfile::Value value(const JsonTree& node, const JsonPlace& path) const;
    /// `symbolic`: keys may be symbolic names as well as numeric IDs.
    std::vector<docfile::Param> params(const JsonTree& node, const JsonPlace& path, bool symbolic) const;

protected:
    std::string file_;
};

} // namespace host
