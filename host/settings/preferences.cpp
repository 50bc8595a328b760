#include "host/settings/preferences.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "host/files/whole_file.h"
#include "host/plugins/host_error.h"
#include "host/settings/container_json.h"

namespace host {

std::filesystem::path defaultPreferencesFile()
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::filesystem::path base;
    if (config && *config) {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        base = std::filesystem::path(home && *home ? home : ".") / ".config";
    }
    return base / "lumeno-host" / "prefs.json";
}

Preferences::Preferences(std::filesystem::path file)
    : file_(file.empty() ? defaultPreferencesFile() : std::move(file))
{
}

namespace {

/// nlohmann's texts begin "[json.exception.parse_error.101] "; the user needs only the rest.
std::string withoutLibraryTag(const std::string& text)
{
    const std::size_t end = text.rfind("] ", text.find(' '));
    return text.rfind("[json.exception.", 0) == 0 && end != std::string::npos ? text.substr(end + 2) : text;
}

/// Parses the file's text, refusing containers nested deeper than the reader can follow.
nlohmann::json parsePreferences(const std::string& text)
{
    auto depthCheck = [](int depth, nlohmann::json::parse_event_t event, nlohmann::json&) {
        if (event == nlohmann::json::parse_event_t::object_start && depth >= maxPreferencesDepth)
            throw HostError("containers nest deeper than " + std::to_string(maxPreferencesDepth) + " levels");
        return true;
    };
    try {
        return nlohmann::json::parse(text, depthCheck);
    } catch (const nlohmann::json::out_of_range& e) {
        // A number too large for any real comes without its place.
        throw HostError("a number is too large (" + withoutLibraryTag(e.what()) + ")");
    } catch (const nlohmann::json::exception& e) {
        throw HostError(withoutLibraryTag(e.what()));
    }
}

} // namespace

void Preferences::load()
{
    std::map<int32_t, HostContainer> loaded;
    nlohmann::json others = nlohmann::json::object();
    std::error_code ec;
    if (std::filesystem::is_directory(file_, ec))
        throw HostError(file_.string() + ": cannot read the preferences: it is a folder, not a file");
    if (std::filesystem::exists(file_, ec)) {
        std::ifstream in(file_, std::ios::binary);
        if (!in)
            throw HostError(file_.string() + ": cannot read the preferences: " + std::strerror(errno));
        std::stringstream text;
        text << in.rdbuf();
        try {
            const nlohmann::json json = parsePreferences(text.str());
            if (!json.is_object())
                throw HostError("expected an object");
            for (const auto& [key, value] : json.items()) {
                if (key != "plugins") {
                    // Kept as it is: a later host may know what it means.
                    others[key] = value;
                    continue;
                }
                if (!value.is_object())
                    throw HostError("plugins: expected an object");
                for (const auto& [id, settings] : value.items()) {
                    char* end = nullptr;
                    const long number = std::strtol(id.c_str(), &end, 10);
                    if (id.empty() || *end != '\0' || number < INT32_MIN || number > INT32_MAX)
                        throw HostError("plugins." + id + ": a plug-in ID must be a number");
                    loaded[static_cast<int32_t>(number)] = containerFromJson(settings, "plugins." + id);
                }
            }
        } catch (const HostError& e) {
            throw HostError(file_.string() + ": malformed preferences: " + e.what());
        }
    }
    settings_ = std::move(loaded);
    others_ = std::move(others);
    loaded_ = true;
}

void Preferences::ensureLoaded()
{
    if (!loaded_)
        load();
}

HostContainer* Preferences::find(int32_t pluginId)
{
    ensureLoaded();
    const auto it = settings_.find(pluginId);
    return it == settings_.end() ? nullptr : &it->second;
}

void Preferences::store(int32_t pluginId, const HostContainer& settings, bool merge)
{
    ensureLoaded();
    std::map<int32_t, HostContainer> next = settings_;
    if (merge)
        next[pluginId].merge(settings);
    else
        next[pluginId] = settings;
    write(next);
    settings_ = std::move(next);
}

void Preferences::write(const std::map<int32_t, HostContainer>& all) const
{
    nlohmann::json plugins = nlohmann::json::object();
    for (const auto& [id, container] : all)
        plugins[std::to_string(id)] = containerToJson(container);
    nlohmann::json whole = others_;
    whole["plugins"] = plugins;
    const std::string text = whole.dump(2) + "\n";

    std::error_code ec;
    if (file_.has_parent_path())
        std::filesystem::create_directories(file_.parent_path(), ec);
    if (ec)
        throw HostError(file_.string() + ": cannot make its folder: " + ec.message());
    // Whole or not at all, through a temporary file created exclusively beside the target; a
    // linked preferences file stays a link to the file that is replaced.
    try {
        removeStaleTemporaries(file_);
        writeWholeFile(file_, std::vector<uint8_t>(text.begin(), text.end()));
    } catch (const HostError& e) {
        throw HostError(file_.string() + ": cannot write the preferences: " + e.what());
    }
}

} // namespace host
