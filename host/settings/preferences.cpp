#include "host/settings/preferences.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <unistd.h>

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

void Preferences::load()
{
    std::map<int32_t, HostContainer> loaded;
    std::error_code ec;
    if (std::filesystem::exists(file_, ec)) {
        std::ifstream in(file_, std::ios::binary);
        if (!in)
            throw HostError(file_.string() + ": cannot read the preferences: " + std::strerror(errno));
        std::stringstream text;
        text << in.rdbuf();
        nlohmann::json json;
        try {
            json = nlohmann::json::parse(text.str());
        } catch (const nlohmann::json::parse_error& e) {
            throw HostError(file_.string() + ": malformed preferences: " + e.what());
        }
        try {
            if (!json.is_object())
                throw HostError("expected an object");
            if (json.contains("plugins")) {
                const nlohmann::json& plugins = json["plugins"];
                if (!plugins.is_object())
                    throw HostError("plugins: expected an object");
                for (const auto& [key, value] : plugins.items()) {
                    char* end = nullptr;
                    const long id = std::strtol(key.c_str(), &end, 10);
                    if (key.empty() || *end != '\0' || id < INT32_MIN || id > INT32_MAX)
                        throw HostError("plugins." + key + ": a plug-in ID must be a number");
                    loaded[static_cast<int32_t>(id)] = containerFromJson(value, "plugins." + key);
                }
            }
        } catch (const HostError& e) {
            throw HostError(file_.string() + ": malformed preferences: " + e.what());
        }
    }
    settings_ = std::move(loaded);
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
    const std::string text = nlohmann::json{{"plugins", plugins}}.dump(2) + "\n";

    std::error_code ec;
    if (file_.has_parent_path())
        std::filesystem::create_directories(file_.parent_path(), ec);
    if (ec)
        throw HostError(file_.string() + ": cannot make its folder: " + ec.message());
    // Written beside the file and renamed over it, so a failed write never leaves half a file.
    const std::filesystem::path temp = file_.string() + ".tmp." + std::to_string(::getpid());
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << text;
        out.close(); // a failed close (full disk) counts as a failed write
        if (!out) {
            const std::string reason = std::strerror(errno);
            std::filesystem::remove(temp, ec);
            throw HostError(file_.string() + ": cannot write the preferences: " + reason);
        }
    }
    std::filesystem::rename(temp, file_, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        throw HostError(file_.string() + ": cannot write the preferences: " + ec.message());
    }
}

} // namespace host
