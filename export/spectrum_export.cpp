#include "export/spectrum_export.h"

#include "export/xml_helpers.h"
#include "frame/host_api.h"
#include "tags/lumeno_light_tag_ids.h"

namespace {

void AddReal(TiXmlElement* parent, const char* name, const HostContainer* parameters, int32_t id, float fallback) {
    AddTextChild(parent, name, RealText(ContainerGetReal(parameters, id, fallback)).text);
}

} // namespace

void ExportSpectrum(const HostContainer* parameters, TiXmlElement* parent) {
    if (!parameters || !parent) return;
    TiXmlElement spectrum("spectrum");
    // An absent type is no known form: the emitter gets an empty spectrum.
    switch (ContainerGetInt(parameters, LLIGHT_SPECTRUM_TYPE, 0)) {
    case LLIGHT_SPECTRUM_PEAK: {
        TiXmlElement peak("peak");
        AddReal(&peak, "peak_min", parameters, LLIGHT_PEAK_MIN, kLightPeakMinDefault);
        AddReal(&peak, "peak_width", parameters, LLIGHT_PEAK_WIDTH, kLightPeakWidthDefault);
        AddReal(&peak, "base_value", parameters, LLIGHT_BASE_VALUE, kLightBaseValueDefault);
        AddReal(&peak, "peak_value", parameters, LLIGHT_PEAK_VALUE, kLightPeakValueDefault);
        spectrum.InsertEndChild(peak);
        break;
    }
    case LLIGHT_SPECTRUM_BLACKBODY: {
        TiXmlElement blackbody("blackbody");
        AddReal(&blackbody, "temperature", parameters, LLIGHT_TEMPERATURE, kLightTemperatureDefault);
        AddReal(&blackbody, "gain", parameters, LLIGHT_GAIN, kLightGainDefault);
        spectrum.InsertEndChild(blackbody);
        break;
    }
    case LLIGHT_SPECTRUM_RGB: {
        TiXmlElement rgb("rgb");
        // A colour: components in their own order, not exchanged or scaled.
        AddTextChild(&rgb, "rgb", VectorText(ContainerGetVector(parameters, LLIGHT_RGB, kLightRgbDefault)).text);
        spectrum.InsertEndChild(rgb);
        break;
    }
    default:
        break;
    }
    parent->InsertEndChild(spectrum);
}
