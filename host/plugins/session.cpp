#include "host/plugins/session.h"

#include <dlfcn.h>
#include <iostream>
#include <map>

#include "host/memory/allocator.h"
#include "host/model/node.h"
#include "host/plugins/registry.h"
#include "host/resources/description_resource.h"
#include "host/resources/icon_image.h"
#include "host/settings/preferences.h"
#include "host/table/handle_counts.h"
#include "host/table/host_table_impl.h"
#include "host/text/host_text.h"

namespace host {
namespace {

Session* liveSession = nullptr;

const char* const moduleFileName = "LumenoExporter.so";

} // namespace

struct Session::Impl {
    explicit Impl(const SessionOptions& o)
        : options(o), prefs(o.prefsFile), table(makeHostTable(o.interfaceVersion))
    {
    }

    SessionOptions options;
    Allocator allocator;
    Registry registry;
    Preferences prefs;
    HostTable table;

    void* library = nullptr;
    C4dMainFunction entry = nullptr;
    std::filesystem::path modulePath;
    std::filesystem::path moduleFolder;
    std::string modulePathText; // handed to init; lives as long as the session
    int32_t initCount = 0;

    std::vector<std::string> diagnostics;
    FileDialog dialog;
    std::map<int32_t, HostContainer> texts;
    std::vector<std::string> shown;
    bool scratchAvailable = true;
};

Session::Session(SessionOptions options)
{
    if (liveSession)
        throw HostError("a host session is already running");
    impl_ = std::make_unique<Impl>(options);
    liveSession = this;
}

Session::~Session()
{
    // The module is still loaded here: its tag instances go first, then it is ended as often as
    // it was initialised, then its commands are destroyed, and only then is it unloaded.
    try {
        impl_->registry.releaseTagInstances();
        while (impl_->initCount > 0 && impl_->entry)
            end();
        impl_->registry.destroyCommands();
    } catch (...) {
        // Nothing may escape a destructor; the module's own code does not throw.
    }
    if (impl_->library)
        dlclose(impl_->library);
    if (liveSession == this)
        liveSession = nullptr;
}

Session* Session::current()
{
    return liveSession;
}

void Session::loadModule(const std::filesystem::path& moduleFolder)
{
    const std::filesystem::path file = moduleFolder / moduleFileName;
    if (impl_->entry)
        throw HostError(file.string() + ": a module is already loaded in this session");
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        throw HostError(file.string() + ": no module file there");
    void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* why = dlerror();
        throw HostError(file.string() + ": cannot load the module: " + (why ? why : "unknown reason"));
    }
    dlerror();
    void* symbol = dlsym(library, C4D_MAIN_SYMBOL);
    if (!symbol) {
        const char* why = dlerror();
        dlclose(library);
        throw HostError(file.string() + ": the module has no entry " C4D_MAIN_SYMBOL ": " +
                        (why ? why : "symbol not found"));
    }
    impl_->library = library;
    attachModule(reinterpret_cast<C4dMainFunction>(symbol), file);
}

void Session::attachModule(C4dMainFunction entry, const std::filesystem::path& modulePath)
{
    if (!entry)
        throw HostError(modulePath.string() + ": no entry function");
    impl_->entry = entry;
    impl_->modulePath = modulePath;
    impl_->moduleFolder = modulePath.parent_path();
    impl_->modulePathText = modulePath.string();
}

int32_t Session::callMain(int32_t action, void* p1, void* p2, void* p3)
{
    if (!impl_->entry)
        throw HostError("no module is loaded in this session");
    return impl_->entry(action, p1, p2, p3);
}

int32_t Session::init()
{
    // The module counts every initialise, refused or not, so every one needs its end.
    ++impl_->initCount;
    return callMain(C4D_ACTION_INIT, &impl_->table, nullptr,
                    const_cast<char*>(impl_->modulePathText.c_str()));
}

int32_t Session::message(int32_t id, void* data)
{
    return callMain(C4D_ACTION_MESSAGE, reinterpret_cast<void*>(static_cast<intptr_t>(id)), data,
                    nullptr);
}

int32_t Session::start()
{
    return callMain(C4D_ACTION_START, nullptr, nullptr, nullptr);
}

int32_t Session::end()
{
    const int32_t result = callMain(C4D_ACTION_END, nullptr, nullptr, nullptr);
    if (impl_->initCount > 0)
        --impl_->initCount;
    return result;
}

int32_t Session::query()
{
    return callMain(C4D_ACTION_QUERY, nullptr, nullptr, nullptr);
}

int32_t Session::startModule()
{
    const int32_t initResult = init();
    if (initResult != C4D_RESULT_OK)
        throw HostError(impl_->modulePath.string() + ": the module refused to initialise (result " +
                        std::to_string(initResult) + ")");
    message(C4D_MSG_LOAD_STRINGS);
    const int32_t result = start();
    releaseIconReading(); // the plug-ins are registered, and with them their icons
    return result;
}

const HostTable* Session::table() const
{
    return &impl_->table;
}

Allocator& Session::allocator()
{
    return impl_->allocator;
}

Registry& Session::registry()
{
    return impl_->registry;
}

Preferences& Session::prefs()
{
    return impl_->prefs;
}

const std::filesystem::path& Session::moduleFolder() const
{
    return impl_->moduleFolder;
}

const std::filesystem::path& Session::modulePath() const
{
    return impl_->modulePath;
}

int32_t Session::initCount() const
{
    return impl_->initCount;
}

int32_t Session::saveWithSaver(int32_t saverId, HostDocument* document,
                               const std::filesystem::path& file, int32_t flags)
{
    const RegisteredPlugin* saver = impl_->registry.find(saverId);
    if (!saver || saver->kind != PLUGIN_KIND_SCENE_SAVER)
        throw HostError("no saver is registered under ID " + std::to_string(saverId));
    const SaverRecord& record = saver->saver;
    void* instance = record.allocate();
    if (!instance)
        return FILE_RESULT_OUT_OF_MEMORY;
    HostNode saverNode(NodeKind::Other, saverId, saver->name);
    if (record.init && !record.init(instance, &saverNode)) {
        if (record.destroy)
            record.destroy(instance);
        throw HostError("saver " + std::to_string(saverId) + " (\"" + saver->name +
                        "\") refused to initialise");
    }
    HostFilename name{file.string()};
    const int32_t result = record.save(instance, &saverNode, &name, document, flags);
    if (record.destroy)
        record.destroy(instance);
    return result;
}

const std::vector<std::string>& Session::diagnostics() const
{
    return impl_->diagnostics;
}

void Session::addDiagnostic(std::string message)
{
    impl_->diagnostics.push_back(std::move(message));
}

void Session::clearDiagnostics()
{
    impl_->diagnostics.clear();
}

void Session::setFileDialog(FileDialog dialog)
{
    impl_->dialog = std::move(dialog);
}

const FileDialog& Session::fileDialog() const
{
    return impl_->dialog;
}

void Session::setTextContainer(int32_t pluginId, const HostContainer& texts)
{
    impl_->texts.insert_or_assign(pluginId, texts);
}

const HostContainer* Session::textContainer(int32_t pluginId) const
{
    const auto it = impl_->texts.find(pluginId);
    return it == impl_->texts.end() ? nullptr : &it->second;
}

const std::vector<std::string>& Session::shownTexts() const
{
    return impl_->shown;
}

void Session::showText(const std::string& text)
{
    impl_->shown.push_back(text);
    std::cerr << text << '\n';
}

void Session::setScratchAvailable(bool available)
{
    impl_->scratchAvailable = available;
}

bool Session::scratchAvailable() const
{
    return impl_->scratchAvailable;
}

long Session::liveHandles() const
{
    return handleCounts().total();
}

void Session::registerDescription(int32_t pluginId, const std::string& name)
{
    impl_->registry.addDescription(pluginId, loadDescription(impl_->moduleFolder, name));
}

} // namespace host
