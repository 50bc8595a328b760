// String tables: the module's texts by numeric ID, and the per-description label files keyed
// by the symbols of the description's header.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace host {

class SymbolHeader;

/// Texts by ID (UTF-8).
class StringTable {
public:
    /// The text of an ID, or nothing when the table lacks it.
    std::optional<std::string> find(int32_t id) const;
    /// The text of an ID, or "" when the table lacks it.
    std::string text(int32_t id) const;
    bool contains(int32_t id) const { return texts_.count(id) != 0; }
    std::size_t size() const { return texts_.size(); }
    /// Every entry, ordered by ID.
    const std::map<int32_t, std::string>& entries() const { return texts_; }

    /// Adds an entry; answers false (and keeps the old text) when the ID is already there.
    bool add(int32_t id, std::string text);

private:
    std::map<int32_t, std::string> texts_;
};

/// Reads res/strings/module.str of a module folder: `STRINGTABLE { <ID> "<text>" ... }`.
/// Throws ResourceError for a missing or malformed file.
StringTable loadModuleStrings(const std::filesystem::path& moduleFolder);

/// Reads one string file whose keys are numbers. `name` is the name that must follow
/// STRINGTABLE ("" for none).
StringTable loadStringFile(const std::filesystem::path& file, const std::string& name = {});

/// Reads a label file `STRINGTABLE <name> { <SYMBOL> "<text>" ... }` whose keys are symbols of
/// `symbols`; the result is keyed by the symbols' IDs. An undefined symbol is refused.
StringTable loadLabelFile(const std::filesystem::path& file, const std::string& name,
                          const SymbolHeader& symbols);

} // namespace host
