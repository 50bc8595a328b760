#include "export/lumeno_saver_data.h"

#include "frame/host_api.h"
#include "frame/host_memory.h"
#include "frame/host_text.h"
#include "frame/plugin_forwarding.h"
#include "frame/plugin_ids.h"
#include "frame/plugin_registration.h"
#include "host_constants.h"

namespace {

/// Reads a file-name element of the saver's settings into `field` (cleared first).
void ReadSetting(int32_t element, char* field) {
    field[0] = '\0';
    HostContainer* settings = PluginSettings(kLumenoSaverId);
    if (!settings) return;
    HostFile name(ContainerGetFilename(settings, element));
    name.ToBuffer(field, kSaverSettingTextSize);
}

char* CopyOut(const char* field, char* buffer, int32_t length) {
    if (!buffer || length <= 0) return buffer;
    CopyTextCut(buffer, length < kSaverSettingTextSize ? length : kSaverSettingTextSize, field);
    return buffer;
}

} // namespace

LumenoSaverData::~LumenoSaverData() {
    // A saver of the host's export menu must not leave a file for export-and-run to reuse.
    if (!commandOwned) StoreLastExportFile("");
    ReleaseNkDataCatalogue(nkCatalogue);
}

bool LumenoSaverData::InitSaver(HostNode* /*node*/) {
    ReadSetting(kSaverSettingRendererFolder, rendererFolder);
    return true;
}

char* LumenoSaverData::ReadRendererFolder(char* buffer, int32_t length) {
    ReadSetting(kSaverSettingRendererFolder, rendererFolder);
    return CopyOut(rendererFolder, buffer, length);
}

char* LumenoSaverData::ReadLastExportFile(char* buffer, int32_t length) {
    ReadSetting(kSaverSettingLastExportFile, lastExportFile);
    return CopyOut(lastExportFile, buffer, length);
}

void LumenoSaverData::StoreLastExportFile(const char* text) {
    HostContainer* settings = ContainerCreate();
    if (!settings) return;
    HostFile name = HostFile::FromCString(text);
    if (name.get()) {
        ContainerSetFilename(settings, kSaverSettingLastExportFile, name.get());
        StorePluginSettings(kLumenoSaverId, settings, SETTINGS_MERGE);
    }
    ContainerFree(settings);
}

void* AllocLumenoSaverData() {
    LumenoSaverData* saver = NewInHostMemory<LumenoSaverData>();
    return saver ? AsInstance(saver) : nullptr;
}

bool RegisterLumenoSaver() {
    return RegisterNamed(kStringSaverName, [](const HostString* name) {
        return AddSaverPlugin(kLumenoSaverId, name, 0, AllocLumenoSaverData, "Flumenofilter", "xml", 0);
    });
}
