// Symbol headers: the IDs of one description as a C/C++ header, so that module code could
// include the same file.
//
//   #ifndef TLUMENOCONFIG_H
//   #define TLUMENOCONFIG_H
//   enum {
//       Tlumenoconfig = 10000,
//       LCFG_WIDTH = 1009,
//   };
//   #endif
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace host {

struct Symbol {
    std::string name;
    int32_t id = 0;
    int line = 0; // where the header declares it
};

/// The symbols of a header in file order; names and IDs are each unique.
class SymbolHeader {
public:
    SymbolHeader() = default;
    SymbolHeader(std::filesystem::path file, std::vector<Symbol> symbols);

    const std::filesystem::path& file() const { return file_; }
    const std::vector<Symbol>& symbols() const { return symbols_; }
    std::optional<int32_t> find(std::string_view name) const;
    /// The symbol's name for an ID, or nullptr.
    const Symbol* byId(int32_t id) const;

private:
    std::filesystem::path file_;
    std::vector<Symbol> symbols_;
    std::unordered_map<std::string, std::size_t> byName_;
    std::unordered_map<int32_t, std::size_t> byId_;
};

/// Reads a symbol header. Throws ResourceError for a missing file, a line outside the grammar,
/// a missing "};", a duplicate name or a duplicate ID.
SymbolHeader loadSymbolHeader(const std::filesystem::path& file);

} // namespace host
