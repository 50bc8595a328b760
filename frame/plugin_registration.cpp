#include "frame/plugin_registration.h"

#include "frame/host_api.h"
#include "frame/host_text.h"
#include "frame/module_state.h"
#include "frame/module_strings.h"
#include "frame/plugin_forwarding.h"
#include "host_constants.h"
#include "plugin_records.h"

namespace {

/// A new icon image loaded from "res"/iconFile of the module folder, or none.
HostImage* LoadModuleIcon(const char* iconFile) {
    HostImage* icon = ImageNew();
    if (!icon) return nullptr;
    HostFile folder(ModuleFolder());
    HostText res = HostText::FromCString("res");
    HostFile resFolder(FilenameJoin(folder.get(), res.get()));
    HostText file = HostText::FromCString(iconFile);
    HostFile path(FilenameJoin(resFolder.get(), file.get()));
    if (!path.get() || ImageLoad(icon, path.get()) != IMAGE_RESULT_OK) {
        ImageFree(icon);
        return nullptr;
    }
    return icon;
}

bool RegisterDescription(int32_t id, const char* description) {
    if (!description || description[0] == '\0') return true;
    return ResourceRegisterDescription(id, description, Module().resource.handle);
}

} // namespace

bool AddTagPlugin(int32_t id, const HostString* name, int32_t flags, PluginAllocator allocator,
                  const char* description, const char* iconFile, int32_t trailing) {
    HostImage* icon = LoadModuleIcon(iconFile);
    if (!icon) return false;
    bool registered = false;
    if (RegisterDescription(id, description)) {
        TagRecord record{};
        record.flags = flags;
        record.allocate = allocator;
        record.description = description;
        record.icon = icon;
        record.trailing = trailing;
        record.destroy = ForwardDestroy;
        record.init = ForwardInit;
        record.message = ForwardTagMessage;
        record.describe = ForwardTagDescribe;
        record.is_enabled = ForwardTagIsEnabled;
        record.execute = ForwardTagExecute;
        record.draw = ForwardTagDraw;
        registered = RegisterPlugin(PLUGIN_KIND_TAG, id, name, &record);
    }
    // The host keeps its own copy of the icon.
    ImageFree(icon);
    return registered;
}

bool AddSaverPlugin(int32_t id, const HostString* name, int32_t flags, PluginAllocator allocator,
                    const char* description, const char* suffix, int32_t trailing) {
    if (!RegisterDescription(id, description)) return false;
    SaverRecord record{};
    record.flags = flags;
    record.allocate = allocator;
    record.trailing = trailing;
    record.suffix = suffix;
    record.destroy = ForwardDestroy;
    record.init = ForwardInit;
    record.save = ForwardSaverSave;
    return RegisterPlugin(PLUGIN_KIND_SCENE_SAVER, id, name, &record);
}

bool AddCommandPlugin(int32_t id, const HostString* name, int32_t flags, const char* iconFile,
                      const HostString* help, CommandData* instance) {
    if (!instance) return false;
    HostImage* icon = LoadModuleIcon(iconFile);
    bool registered = false;
    if (icon) {
        CommandRecord record{};
        record.help = help;
        record.icon = icon;
        record.flags = flags;
        record.instance = AsInstance(instance);
        record.destroy = ForwardDestroy;
        record.execute = ForwardCommandExecute;
        record.state = ForwardCommandState;
        record.restore_layout = ForwardCommandRestoreLayout;
        record.script_name = ForwardCommandScriptName;
        record.reserved = ForwardCommandReserved;
        registered = RegisterPlugin(PLUGIN_KIND_COMMAND, id, name, &record);
        ImageFree(icon);
    }
    // A refused command is nobody's: destroy it here rather than leak it.
    if (!registered) instance->Destroy(true);
    return registered;
}

bool RegisterNamed(int32_t nameId, bool (*add)(const HostString* name)) {
    HostText name(GetModuleString(nameId));
    if (name.empty()) return true;
    return add(name.get());
}
