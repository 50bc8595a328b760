// Plug-in settings: one container per plug-in ID, kept in the host's preferences file (JSON).
// The file is read on first use and rewritten atomically (a temporary file, then a rename) every
// time a container is stored; top-level keys other than "plugins" are kept as they are.
//
//   { "plugins": { "1019430": { "1000": {"file": "/opt/lumeno"}, "1001": {"file": ""} } } }
//
// Element values in the file: true/false boolean, an integer, a number with a point or exponent a
// real, [x, y, z] a vector, a string a text, {"file": "..."} a file name, {"link": N} a link
// token, {"container": {...}} a sub-container.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>

#include <nlohmann/json.hpp>

#include "host/model/container.h"

namespace host {

/// Containers nested deeper than this are refused, as the document reader refuses its lists.
constexpr int maxPreferencesDepth = 2000;

class Preferences {
public:
    /// Keeps its settings in `file`; empty: defaultPreferencesFile().
    explicit Preferences(std::filesystem::path file = {});

    const std::filesystem::path& file() const { return file_; }

    /// The settings of a plug-in, or nullptr when none are stored. Throws HostError naming the
    /// file when the preferences file is malformed or unreadable.
    HostContainer* find(int32_t pluginId);
    /// Stores a plug-in's settings: with merge, the elements given replace their own and the
    /// others stay; without, the container replaces the old one. Writes the file. Throws
    /// HostError naming the file when it cannot be read or written (the settings in memory are
    /// then unchanged).
    void store(int32_t pluginId, const HostContainer& settings, bool merge);

    /// Reads the file now (it is read on first use otherwise). A missing file is no settings.
    void load();

private:
    void ensureLoaded();
    void write(const std::map<int32_t, HostContainer>& all) const;

    std::filesystem::path file_;
    bool loaded_ = false;
    std::map<int32_t, HostContainer> settings_;
    nlohmann::json others_ = nlohmann::json::object(); // top-level keys this host does not read
};

/// $XDG_CONFIG_HOME/lumeno-host/prefs.json, else $HOME/.config/lumeno-host/prefs.json.
std::filesystem::path defaultPreferencesFile();

} // namespace host
