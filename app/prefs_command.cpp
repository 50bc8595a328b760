#include <cstdio>
#include <memory>
#include <optional>

#include "app/commands.h"
#include "app/common_options.h"
#include "app/saver_settings.h"
#include "host/settings/preferences.h"

namespace app {

namespace {

constexpr std::size_t maxRendererFolderBytes = 255;

struct PrefsOptions {
    CommonOptions common;
    std::optional<std::string> rendererFolder;
};

std::string shown(const HostContainer* settings, int32_t id) {
    std::string path = settings ? settings->getFilename(id) : "";
    return path.empty() ? "(not set)" : path;
}

void runPrefs(const PrefsOptions& options) {
    host::Preferences prefs(options.common.prefs);
    try {
        if (options.rendererFolder) {
            std::string folder = *options.rendererFolder;
            if (!folder.empty()) folder = std::filesystem::absolute(folder).lexically_normal().string();
            // The commands read the folder into 255 bytes; a cut one could name another renderer.
            if (folder.size() > maxRendererFolderBytes)
                throw CommandFailure("cannot set the renderer folder " + folder + ": it has " +
                                     std::to_string(folder.size()) + " bytes, and the commands accept at most " +
                                     std::to_string(maxRendererFolderBytes));
            HostContainer settings;
            settings.setFilename(rendererFolderId, folder);
            prefs.store(lumenoSaverId, settings, true);
            std::error_code error;
            if (!folder.empty() && !std::filesystem::is_directory(folder, error))
                std::fprintf(stderr, "lumeno-host: note: %s is not a folder yet\n", folder.c_str());
        }
        const HostContainer* settings = prefs.find(lumenoSaverId);
        std::printf("preferences:      %s\n", prefs.file().c_str());
        std::printf("renderer folder:  %s\n", shown(settings, rendererFolderId).c_str());
        std::printf("last export file: %s\n", shown(settings, lastExportFileId).c_str());
    } catch (const host::HostError& error) {
        throw CommandFailure(error.what());
    }
}

} // namespace

void addPrefsCommand(CLI::App& cli) {
    auto options = std::make_shared<PrefsOptions>();
    CLI::App* command = cli.add_subcommand("prefs", "Show or set the scene saver's settings");
    command->add_option("--renderer-folder", options->rendererFolder, "Set the folder that holds lumeno.exe")
        ->type_name("DIR");
    addCommonOptions(*command, options->common);
    command->callback([options] { runPrefs(*options); });
}

} // namespace app
