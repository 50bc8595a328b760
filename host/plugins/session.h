// A host session: the running application as a module sees it. It owns the allocator handed to
// the module, the function table, the registry of registered plug-ins and the preferences, and it
// drives the module through c4d_main. One session is live at a time: the C table's functions reach
// it through a process-wide pointer that the constructor sets and the destructor clears.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/plugins/host_error.h"

#include "host_constants.h"
#include "host_table.h"
#include "plugin_records.h"

namespace host {

class Allocator;
class Registry;
class Preferences;

/// Answers the file dialog: `path` holds the default on entry and the choice on return; answers
/// true when a file was chosen. kind and mode as the module passes them (0, 1 for saving).
using FileDialog =
    std::function<bool(std::string& path, int32_t kind, int32_t mode, const std::string& title)>;

struct SessionOptions {
    int32_t interfaceVersion = HOST_INTERFACE_VERSION; // tests may report any version
    std::filesystem::path prefsFile;                   // empty: the user's configuration folder
};

class Session {
public:
    explicit Session(SessionOptions options = {});
    ~Session(); // ends the module (as often as it was initialised) and unloads it
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    /// The live session, or nullptr.
    static Session* current();

    /// Loads "LumenoExporter.so" from a module folder with dlopen and resolves c4d_main.
    /// Throws HostError naming the file when it cannot.
    void loadModule(const std::filesystem::path& moduleFolder);
    /// Uses an entry linked into this process; modulePath is the module file's path, whose
    /// folder holds res/.
    void attachModule(C4dMainFunction entry, const std::filesystem::path& modulePath);

    /// c4d_main calls as the application makes them.
    int32_t init();                      // action 1 with the table and the module path
    int32_t message(int32_t id, void* data = nullptr);
    int32_t start();                     // action 2
    int32_t end();                       // action 3
    int32_t query();                     // action 4
    int32_t callMain(int32_t action, void* p1, void* p2, void* p3);
    /// init, message 1, start: answers the start's result (throws HostError if init fails).
    int32_t startModule();

    const HostTable* table() const;
    Allocator& allocator();
    Registry& registry();
    Preferences& prefs();
    const std::filesystem::path& moduleFolder() const;

    /// The application's save through a registered saver: allocate, initialise, save, delete.
    /// Answers the saver's file result.
    int32_t saveWithSaver(int32_t saverId, HostDocument* document, const std::filesystem::path& file,
                          int32_t flags = SAVE_FLAG_WRITE);

    /// The module file's path as handed to init.
    const std::filesystem::path& modulePath() const;
    /// How many inits have not been matched by an end yet.
    int32_t initCount() const;

    /// Problems the host met while serving the module (resource files, preferences), each a
    /// message naming the file; the command line prints them.
    const std::vector<std::string>& diagnostics() const;
    void addDiagnostic(std::string message);
    void clearDiagnostics();

    /// The file dialog's answer; by default it cancels.
    void setFileDialog(FileDialog dialog);
    const FileDialog& fileDialog() const;
    /// The host's texts for a plug-in ID, handed out by text_container (none by default).
    void setTextContainer(int32_t pluginId, const HostContainer& texts);
    const HostContainer* textContainer(int32_t pluginId) const;
    /// Texts the module showed to the user, in order (they also go to stderr).
    const std::vector<std::string>& shownTexts() const;
    void showText(const std::string& text);
    /// Whether scratch_acquire hands out a scratch object (true by default).
    void setScratchAvailable(bool available);
    bool scratchAvailable() const;

    /// Host texts, file names, containers, images, resources and descriptions that the table
    /// handed to the module and that it has not given back yet (for leak checks).
    long liveHandles() const;

    /// Registers the description resource `name` of the module folder under a plug-in ID. Throws
    /// ResourceError for a missing or malformed resource.
    void registerDescription(int32_t pluginId, const std::string& name);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace host
