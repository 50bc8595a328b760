// The material helper tag (plug-in and type ID 10008): shows and edits one host material in the
// renderer's terms, and carries what a host material has no place for (texture gains and
// exponents, full texture paths, an nk data file from the catalogue).
#pragma once

#include <cstdint>

#include "host_types.h"
#include "plugin_bases.h"
#include "tags/nk_data_catalogue.h"

class LumenoMaterialHelperTag : public TagData {
public:
    /// Releases the tag's catalogue.
    ~LumenoMaterialHelperTag() override;

    /// Writes the empty link, colour (1, 1, 1), kind 1001, nk data 5011, gains 1.0, exponents 2.3.
    bool Init(HostNode* node) override;
    /// 16 starts an edit; 31 writes the values back and ends it; 1001078 makes the saver forget
    /// the last export file. Always true.
    bool Message(HostNode* node, int32_t type, void* data) override;
    /// Loads description 10008, adds the catalogue's choices and shows the parameters of the
    /// material's kind.
    bool Describe(HostNode* node, HostDescription* description, int32_t* flags) override;
    /// The index of refraction applies to a transparent specular kind only.
    bool IsEnabled(HostNode* node, int32_t id, const HostValue* data, int32_t flags,
                   const HostContainer* itemDescription) override;
    /// Mirrors the linked material, refreshes it when pending, draws its preview with a frame.
    /// True when it drew the preview.
    bool Draw(HostTag* tag, HostSurface* surface) override;

    /// Writes the tag's values into the material it last mirrored, if it is still the linked one.
    void WriteBackMaterial(HostNode* node);
    /// Hides every material parameter, then shows those of the material's kind (none while
    /// editing or without a material).
    void ApplyVisibility(HostDescription* description, HostMaterial* material);

    bool editing = false;                     // between messages 16 and 31
    bool refreshPending = true;               // the next Draw refreshes the material
    HostMaterial* shownMaterial = nullptr;    // the material last mirrored; not owned
    NkDataCatalogue catalogue = {0, nullptr}; // the tag's own copy, for the choice list

private:
    /// Copies the material's values into the tag (unless editing). False without a material.
    HostMaterial* MirrorMaterial(HostTag* tag);
    void Refresh(HostMaterial* material);
    bool DrawPreview(HostMaterial* material, HostSurface* surface);
};

/// The material the tag's LMAT_MATERIAL links to in the tag's document, or none.
HostMaterial* LinkedMaterial(HostNode* tag);

/// The registered allocator: a new tag in host memory (as BaseData), or none.
void* AllocLumenoMaterialHelperTag();

/// Registers the tag: name 10008, flags 3, "Tlumenomaterialhelpertag", icon
/// "lumenomaterialhelpertag.tif".
bool RegisterLumenoMaterialHelperTag();
