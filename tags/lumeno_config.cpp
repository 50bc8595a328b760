#include "tags/lumeno_config.h"

#include "frame/host_api.h"
#include "frame/host_memory.h"
#include "frame/host_text.h"
#include "frame/plugin_forwarding.h"
#include "frame/plugin_ids.h"
#include "frame/plugin_registration.h"
#include "host_constants.h"
#include "tags/lumeno_config_ids.h"

namespace {

void SetHidden(HostDescription* description, int32_t id, bool hidden) {
    // An entry the description lacks is simply skipped.
    if (HostContainer* entry = DescriptionEntry(description, id))
        ContainerSetBool(entry, DESC_PROPERTY_HIDE, hidden);
}

} // namespace

bool LumenoConfig::Init(HostNode* node) {
    HostContainer* c = NodeContainer(node);
    ContainerSetBool(c, LCFG_RENDERER_SETTINGS, false);
    ContainerSetInt(c, LCFG_WIDTH, 600);
    ContainerSetInt(c, LCFG_HEIGHT, 450);
    ContainerSetBool(c, LCFG_METROPOLIS, true);
    ContainerSetBool(c, LCFG_BIDIRECTIONAL, true);
    ContainerSetReal(c, LCFG_LARGE_MUTATION_PROB, 0.2f);
    ContainerSetReal(c, LCFG_MAX_CHANGE, 0.025f);
    ContainerSetReal(c, LCFG_RUSSIAN_ROULETTE_LIVE_PROB, 0.7f);
    ContainerSetInt(c, LCFG_MAX_DEPTH, 1000);
    ContainerSetInt(c, LCFG_STRATA_WIDTH, 14);
    ContainerSetBool(c, LCFG_LOGGING, true);
    ContainerSetInt(c, LCFG_IMAGE_SAVE_PERIOD, 20);
    ContainerSetBool(c, LCFG_SAVE_TONEMAPPED_EXR, false);
    ContainerSetBool(c, LCFG_SAVE_UNTONEMAPPED_EXR, false);
    ContainerSetInt(c, LCFG_MAX_NUM_CONSEC_REJECTIONS, 1000);
    ContainerSetInt(c, LCFG_FRAME_UPLOAD_PERIOD, 20);
    ContainerSetInt(c, LCFG_HALT_TIME, -1);
    ContainerSetBool(c, LCFG_TONEMAPPING, false);
    ContainerSetInt(c, LCFG_TONEMAPPING_TYPE, LCFG_TONEMAPPING_LINEAR);
    ContainerSetReal(c, LCFG_TONEMAPPING_SCALE, 1.0f);
    ContainerSetReal(c, LCFG_POST_SCALE, 1.0f);
    ContainerSetVector(c, LCFG_BACKGROUND_RADIANCE, HostVector{0.0f, 0.0f, 0.0f});
    ContainerSetLink(c, LCFG_SUN_OBJECT, nullptr);
    ContainerSetReal(c, LCFG_TURBIDITY, 2.0f);
    ContainerSetReal(c, LCFG_SKY_GAIN, 0.005f);
    ContainerSetInt(c, LCFG_ENV_MAP_TYPE, LCFG_ENV_MAP_SPHERICAL);
    HostFile noFile(FilenameCreate());
    if (noFile.get()) ContainerSetFilename(c, LCFG_ENV_MAP_PATH, noFile.get());
    ContainerSetInt(c, LCFG_ENV_MAP_WIDTH, 640);
    ContainerSetReal(c, LCFG_ENV_MAP_GAIN, 1.0f);
    ContainerSetReal(c, LCFG_POS_SIZE_MULTIPLIER, 0.01f);
    ContainerSetReal(c, LCFG_ASPECT_RATIO, 1.33f);
    ContainerSetReal(c, LCFG_APERTURE_RADIUS, 0.001f);
    ContainerSetInt(c, LCFG_WHITE_BALANCE, LCFG_WHITE_BALANCE_D65);
    ContainerSetReal(c, LCFG_CAMERA_AUX, 0.738f);
    ContainerSetBool(c, LCFG_MERGED_MESH_EXPORT, false);
    hideEnvironment = false;
    envMapType = LCFG_ENV_MAP_SPHERICAL;
    return true;
}

bool LumenoConfig::Message(HostNode* node, int32_t type, void* /*data*/) {
    if (type == NODE_MSG_DESCRIPTION_EDIT_BEGIN) {
        hideEnvironment = true;
    } else if (type == NODE_MSG_DESCRIPTION_CHANGED) {
        HostValue value;
        NodeGetParameter(node, LCFG_ENV_MAP_TYPE, &value);
        envMapType = value.integer;
        hideEnvironment = false;
    }
    return true;
}

bool LumenoConfig::Describe(HostNode* /*node*/, HostDescription* description, int32_t* flags) {
    if (!DescriptionLoad(description, kLumenoConfigId)) return false;
    for (int32_t id : {LCFG_ENV_MAP_SPHERICAL, LCFG_ENV_MAP_LATLONG, LCFG_ENV_MAP_PATH,
                       LCFG_ENV_MAP_WIDTH, LCFG_ENV_MAP_GAIN})
        SetHidden(description, id, true);
    if (!hideEnvironment) {
        SetHidden(description, LCFG_ENV_MAP_TYPE, false);
        SetHidden(description, LCFG_ENV_MAP_PATH, false);
        // The width applies to spherical maps only.
        if (envMapType == LCFG_ENV_MAP_SPHERICAL) SetHidden(description, LCFG_ENV_MAP_WIDTH, false);
        SetHidden(description, LCFG_ENV_MAP_GAIN, false);
    }
    if (flags) *flags |= DESCFLAGS_DESC_LOADED;
    return true;
}

bool LumenoConfig::IsEnabled(HostNode* node, int32_t id, const HostValue* /*data*/,
                             int32_t /*flags*/, const HostContainer* /*itemDescription*/) {
    if (id != LCFG_POST_SCALE) return true;
    return ContainerGetInt(NodeContainer(node), LCFG_TONEMAPPING_TYPE, 0) == LCFG_TONEMAPPING_REINHARD;
}

void* AllocLumenoConfig() {
    LumenoConfig* tag = NewInHostMemory<LumenoConfig>();
    return tag ? AsInstance(tag) : nullptr;
}

bool RegisterLumenoConfig() {
    return RegisterNamed(kStringConfigName, [](const HostString* name) {
        return AddTagPlugin(kLumenoConfigId, name, 1, AllocLumenoConfig, "Tlumenoconfig",
                            "lumenoconfig.tif", 0);
    });
}
