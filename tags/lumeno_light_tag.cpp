#include "tags/lumeno_light_tag.h"

#include "frame/host_api.h"
#include "frame/host_memory.h"
#include "frame/plugin_forwarding.h"
#include "frame/plugin_ids.h"
#include "frame/plugin_registration.h"
#include "host_constants.h"
#include "tags/lumeno_light_tag_ids.h"

namespace {

void SetHidden(HostDescription* description, int32_t id, bool hidden) {
    // An entry the description lacks is simply skipped.
    if (HostContainer* entry = DescriptionEntry(description, id))
        ContainerSetBool(entry, DESC_PROPERTY_HIDE, hidden);
}

} // namespace

bool LumenoLightTag::Init(HostNode* node) {
    HostContainer* c = NodeContainer(node);
    ContainerSetInt(c, LLIGHT_SPECTRUM_TYPE, LLIGHT_SPECTRUM_PEAK);
    ContainerSetReal(c, LLIGHT_PEAK_MIN, kLightPeakMinDefault);
    ContainerSetReal(c, LLIGHT_PEAK_WIDTH, kLightPeakWidthDefault);
    ContainerSetReal(c, LLIGHT_BASE_VALUE, kLightBaseValueDefault);
    ContainerSetReal(c, LLIGHT_PEAK_VALUE, kLightPeakValueDefault);
    ContainerSetReal(c, LLIGHT_WIDTH, kLightSizeDefault);
    ContainerSetReal(c, LLIGHT_HEIGHT, kLightSizeDefault);
    ContainerSetVector(c, LLIGHT_RGB, kLightRgbDefault);
    ContainerSetReal(c, LLIGHT_TEMPERATURE, kLightTemperatureDefault);
    ContainerSetReal(c, LLIGHT_GAIN, kLightGainDefault);
    spectrumType = LLIGHT_SPECTRUM_PEAK;
    hideSpectrum = false;
    return true;
}

bool LumenoLightTag::Message(HostNode* node, int32_t type, void* /*data*/) {
    if (type == NODE_MSG_DESCRIPTION_EDIT_BEGIN) {
        hideSpectrum = true;
    } else if (type == NODE_MSG_DESCRIPTION_CHANGED) {
        HostValue value;
        NodeGetParameter(node, LLIGHT_SPECTRUM_TYPE, &value);
        spectrumType = value.integer;
        hideSpectrum = false;
    }
    return true;
}

bool LumenoLightTag::Describe(HostNode* /*node*/, HostDescription* description, int32_t* flags) {
    if (!DescriptionLoad(description, kLumenoLightTagId)) return false;
    for (int32_t id : {LLIGHT_PEAK_MIN, LLIGHT_PEAK_WIDTH, LLIGHT_BASE_VALUE, LLIGHT_PEAK_VALUE, LLIGHT_RGB,
                       LLIGHT_TEMPERATURE, LLIGHT_GAIN})
        SetHidden(description, id, true);
    // The size and the type stay visible in every case.
    if (!hideSpectrum) {
        switch (spectrumType) {
        case LLIGHT_SPECTRUM_BLACKBODY:
            SetHidden(description, LLIGHT_TEMPERATURE, false);
            SetHidden(description, LLIGHT_GAIN, false);
            break;
        case LLIGHT_SPECTRUM_RGB:
            SetHidden(description, LLIGHT_RGB, false);
            break;
        case LLIGHT_SPECTRUM_PEAK:
            for (int32_t id : {LLIGHT_PEAK_MIN, LLIGHT_PEAK_WIDTH, LLIGHT_BASE_VALUE, LLIGHT_PEAK_VALUE})
                SetHidden(description, id, false);
            break;
        default:
            break;
        }
    }
    if (flags) *flags |= DESCFLAGS_DESC_LOADED;
    return true;
}

void* AllocLumenoLightTag() {
    LumenoLightTag* tag = NewInHostMemory<LumenoLightTag>();
    return tag ? AsInstance(tag) : nullptr;
}

bool RegisterLumenoLightTag() {
    return RegisterNamed(kStringLightTagName, [](const HostString* name) {
        return AddTagPlugin(kLumenoLightTagId, name, 1, AllocLumenoLightTag, "Tlumenolighttag",
                            "lumenolighttag.tif", 0);
    });
}
