#include "export/settings_export.h"

#include <cstring>

#include "export/export_context.h"
#include "export/lumeno_saver_data.h"
#include "export/matrix_helpers.h"
#include "export/tag_search.h"
#include "export/xml_helpers.h"
#include "frame/host_api.h"
#include "frame/host_text.h"
#include "frame/plugin_ids.h"
#include "host_constants.h"
#include "tags/lumeno_config_ids.h"

namespace {

bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

void AddReal(TiXmlElement& parent, const char* name, float value) {
    AddTextChild(&parent, name, RealText(value).text);
}

void AddInteger(TiXmlElement& parent, const char* name, int32_t value) {
    AddTextChild(&parent, name, IntegerText(value).text);
}

void AddBool(TiXmlElement& parent, const char* name, bool value) {
    AddTextChild(&parent, name, BoolText(value));
}

/// `env_map` with a `spherical` (type 2002) or `latlong` element; none for an empty file name.
void WriteEnvironmentMap(ExportContext& context, HostTag* tag, const HostContainer* settings) {
    HostFile file(ContainerGetFilename(settings, LCFG_ENV_MAP_PATH));
    char path[kEnvMapPathSize] = {};
    // A name cut to fit would point at another file: such a map is left out instead.
    if (!file.ToBuffer(path, sizeof path) || path[0] == '\0') return;

    HostValue type;
    NodeGetParameter(tag, LCFG_ENV_MAP_TYPE, &type);
    bool spherical = type.integer == LCFG_ENV_MAP_SPHERICAL;

    TiXmlElement projection(spherical ? "spherical" : "latlong");
    AddTextChild(&projection, "path", EnvMapPathText(path, context.outputFolder));
    if (spherical) AddInteger(projection, "width", ContainerGetInt(settings, LCFG_ENV_MAP_WIDTH, 640));
    AddReal(projection, "gain", ContainerGetReal(settings, LCFG_ENV_MAP_GAIN, 1.0f));

    TiXmlElement envMap("env_map");
    envMap.InsertEndChild(projection);
    PrependToScene(context.sceneElement, envMap);
}

/// `tonemapping` with `reinhard` (type 1021) or `linear`, only when switched on.
void WriteToneMapping(ExportContext& context, const HostContainer* settings) {
    if (!ContainerGetBool(settings, LCFG_TONEMAPPING, false)) return;
    float scale = ContainerGetReal(settings, LCFG_TONEMAPPING_SCALE, 1.0f);
    bool reinhard = ContainerGetInt(settings, LCFG_TONEMAPPING_TYPE, 0) == LCFG_TONEMAPPING_REINHARD;

    TiXmlElement curve(reinhard ? "reinhard" : "linear");
    if (reinhard) {
        AddReal(curve, "pre_scale", scale);
        AddReal(curve, "post_scale", ContainerGetReal(settings, LCFG_POST_SCALE, 1.0f));
    } else {
        AddReal(curve, "scale", scale);
    }
    TiXmlElement toneMapping("tonemapping");
    toneMapping.InsertEndChild(curve);
    PrependToScene(context.sceneElement, toneMapping);
}

/// `background`/`radiance`, always: the colour in the order x, y, z.
void WriteBackground(ExportContext& context, const HostContainer* settings) {
    HostVector radiance =
        ContainerGetVector(settings, LCFG_BACKGROUND_RADIANCE, HostVector{0.0f, 0.2f, 0.2f});
    TiXmlElement background("background");
    AddTextChild(&background, "radiance", VectorText(radiance).text);
    PrependToScene(context.sceneElement, background);
}

/// `skylight`, only when the sun link names an object of the exported document.
void WriteSkylight(ExportContext& context, const HostContainer* settings) {
    HostObject* sun = ContainerGetLink(settings, LCFG_SUN_OBJECT, context.document, LINK_FILTER_OBJECT);
    if (!sun) return;
    // The sun shines from the direction of its object as seen from the world's origin.
    HostVector direction = NormalizeVector(ObjectGlobalMatrix(sun).off);

    TiXmlElement skylight("skylight");
    AddTextChild(&skylight, "sundir", DirectionText(direction).text);
    AddReal(skylight, "turbidity", ContainerGetReal(settings, LCFG_TURBIDITY, 2.0f));
    AddReal(skylight, "sky_gain", ContainerGetReal(settings, LCFG_SKY_GAIN, 0.005f));
    PrependToScene(context.sceneElement, skylight);
}

/// `renderer_settings`, only when switched on.
void WriteRendererSettings(ExportContext& context, const HostContainer* s) {
    if (!ContainerGetBool(s, LCFG_RENDERER_SETTINGS, false)) return;
    TiXmlElement e("renderer_settings");
    AddInteger(e, "width", ContainerGetInt(s, LCFG_WIDTH, 600));
    AddInteger(e, "height", ContainerGetInt(s, LCFG_HEIGHT, 450));
    AddBool(e, "metropolis", ContainerGetBool(s, LCFG_METROPOLIS, true));
    AddBool(e, "bidirectional", ContainerGetBool(s, LCFG_BIDIRECTIONAL, true));
    AddReal(e, "large_mutation_prob", ContainerGetReal(s, LCFG_LARGE_MUTATION_PROB, 0.2f));
    AddReal(e, "max_change", ContainerGetReal(s, LCFG_MAX_CHANGE, 0.025f));
    AddReal(e, "russian_roulette_live_prob", ContainerGetReal(s, LCFG_RUSSIAN_ROULETTE_LIVE_PROB, 0.7f));
    AddInteger(e, "max_depth", ContainerGetInt(s, LCFG_MAX_DEPTH, 1000));
    AddInteger(e, "strata_width", ContainerGetInt(s, LCFG_STRATA_WIDTH, 14));
    AddBool(e, "logging", ContainerGetBool(s, LCFG_LOGGING, false));
    AddInteger(e, "image_save_period", ContainerGetInt(s, LCFG_IMAGE_SAVE_PERIOD, 20));
    AddBool(e, "save_tonemapped_exr", ContainerGetBool(s, LCFG_SAVE_TONEMAPPED_EXR, false));
    AddBool(e, "save_untonemapped_exr", ContainerGetBool(s, LCFG_SAVE_UNTONEMAPPED_EXR, false));
    AddInteger(e, "max_num_consec_rejections", ContainerGetInt(s, LCFG_MAX_NUM_CONSEC_REJECTIONS, 20));
    AddInteger(e, "frame_upload_period", ContainerGetInt(s, LCFG_FRAME_UPLOAD_PERIOD, 20));
    AddInteger(e, "halt_time", ContainerGetInt(s, LCFG_HALT_TIME, 20));
    PrependToScene(context.sceneElement, e);
}

} // namespace

const char* EnvMapPathText(const char* file, const char* outputFolder) {
    if (!file) return "";
    if (!outputFolder || outputFolder[0] == '\0') return file;
    size_t folderLength = std::strlen(outputFolder);
    if (std::strncmp(file, outputFolder, folderLength) != 0 || file[folderLength] == '\0') return file;
    // A folder given with its closing separator ("C:\" of a file at a drive's root) is followed
    // directly by the relative part.
    if (IsPathSeparator(outputFolder[folderLength - 1])) return file + folderLength;
    // Only a separator after the folder's text means the file lies inside the folder:
    // "C:\scenes2\sky.hdr" merely begins with the text of "C:\scenes".
    if (!IsPathSeparator(file[folderLength]) || file[folderLength + 1] == '\0') return file;
    return file + folderLength + 1;
}

void ExportRenderSettings(ExportContext& context, const HostObject* start) {
    LumenoSaverData* saver = context.saver;
    if (!saver || !start || saver->settingsWritten || !context.sceneElement) return;
    HostTag* tag = FindFirstTagInTree(start, kLumenoConfigId);
    if (!tag) return;
    const HostContainer* settings = NodeContainer(tag);

    // Each element goes in front of the ones before it: the last written stands first.
    WriteEnvironmentMap(context, tag, settings);
    WriteToneMapping(context, settings);
    WriteBackground(context, settings);
    WriteSkylight(context, settings);
    WriteRendererSettings(context, settings);
    saver->settingsWritten = true;
}
