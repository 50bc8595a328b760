#include "export/render_settings_read.h"

#include "export/lumeno_saver_data.h"
#include "export/tag_search.h"
#include "export/white_balance.h"
#include "frame/host_api.h"
#include "frame/host_text.h"
#include "frame/plugin_ids.h"
#include "tags/lumeno_config_ids.h"

void ReadRenderSettings(LumenoSaverData& saver, const HostObject* start) {
    HostTag* tag = FindFirstTagInTree(start, kLumenoConfigId);
    if (!tag) return;
    const HostContainer* settings = NodeContainer(tag);
    float multiplier = ContainerGetReal(settings, LCFG_POS_SIZE_MULTIPLIER, 0.01f);
    // A multiplier of zero or below would collapse or mirror the scene.
    saver.posSizeMultiplier = multiplier > 0.0f ? multiplier : 1.0f;
    saver.aspectRatio = ContainerGetReal(settings, LCFG_ASPECT_RATIO, 1.33f);
    saver.apertureRadius = ContainerGetReal(settings, LCFG_APERTURE_RADIUS, 0.0001f);
    saver.mergedMeshExport = ContainerGetBool(settings, LCFG_MERGED_MESH_EXPORT, false);
    CopyTextCut(saver.whiteBalance, sizeof saver.whiteBalance,
                WhiteBalanceText(ContainerGetInt(settings, LCFG_WHITE_BALANCE, 0)));
}
