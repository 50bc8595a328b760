// The scene saver (plug-in 1019430, suffix "xml"): one instance is an export state that may
// serve several saves, plus the saver's persistent settings (element 1000 renderer folder,
// element 1001 last export file) in the host's settings under the saver's ID.
#pragma once

#include <cstdint>

#include "host_types.h"
#include "plugin_bases.h"
#include "tags/nk_data_catalogue.h"

/// Settings elements under the saver's ID.
constexpr int32_t kSaverSettingRendererFolder = 1000;
constexpr int32_t kSaverSettingLastExportFile = 1001;
/// Bytes of the persistent setting texts: at most 1023 characters.
constexpr int32_t kSaverSettingTextSize = 1024;

class LumenoSaverData : public SceneSaverData {
public:
    LumenoSaverData() = default;
    /// Unless a command owns the instance, forgets the last export file; releases the catalogue.
    ~LumenoSaverData() override;

    bool Init(HostNode* node) override { return InitSaver(node); }
    int32_t Save(HostNode* node, const HostFilename* file, HostDocument* document,
                 int32_t flags) override {
        return SaveScene(node, file, document, flags);
    }

    /// Reads the renderer folder from the settings; always true.
    bool InitSaver(HostNode* node);
    /// Writes the scene file and its mesh files, which replace the earlier export together: 0
    /// success (also when flags lack bit 0), -1 a file cannot be opened or written (nothing is
    /// changed), or a mesh file's name is held by a folder (the scene is written without that
    /// mesh), -7 no document or no memory (nothing is changed).
    int32_t SaveScene(HostNode* node, const HostFilename* file, HostDocument* document,
                      int32_t flags);
    /// Re-reads element 1000 into rendererFolder and copies it into `buffer`, cut to fit.
    char* ReadRendererFolder(char* buffer, int32_t length);
    /// Re-reads element 1001 into lastExportFile and copies it into `buffer`, cut to fit.
    char* ReadLastExportFile(char* buffer, int32_t length);
    /// Stores `text` as element 1001, merged so that element 1000 stays.
    void StoreLastExportFile(const char* text);

    bool commandOwned = false;       // set by a command that created this instance
    char whiteBalance[32] = "D65";   // white-balance name for the camera
    bool settingsWritten = false;    // the render-settings tag was exported in this save
    bool cameraWritten = false;      // the camera step ran in this save
    float posSizeMultiplier = 0.01f; // scales positions and sizes
    float aspectRatio = 1.33f;
    float apertureRadius = 0.0001f;
    bool mergedMeshExport = false;   // chooses the merged geometry strategy
    char rendererFolder[kSaverSettingTextSize] = {};
    char lastExportFile[kSaverSettingTextSize] = {};
    char failedMeshFile[kSaverSettingTextSize] = {}; // the first mesh file the last save could not write
    bool failedMeshLeftOut = false;  // the last save's scene was put in place without that file
    NkDataCatalogue nkCatalogue = {0, nullptr}; // loaded by the first material that needs it
};

/// The registered allocator: a new instance in host memory (as BaseData), or none.
void* AllocLumenoSaverData();

/// Registers the saver under its name string 10001, description "Flumenofilter", suffix "xml".
bool RegisterLumenoSaver();
