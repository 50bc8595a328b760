#include "host/documents/parameter_schema.h"

#include "host/geometry/primitive_params.h"
#include "host/model/object_params.h"
#include "host_constants.h"

namespace host {

ParameterSchema ParameterSchema::fromDescription(const DescriptionResource& description) {
    ParameterSchema schema;
    for (const auto& parameter : description.parameters())
        schema.parameters_.push_back({parameter.id, parameter.symbol, parameter.type, parameter.choices});
    return schema;
}

ParameterSchema ParameterSchema::forHostType(int32_t type) {
    using T = ParameterType;
    ParameterSchema schema;
    auto add = [&schema](int32_t id, const char* symbol, T parameterType) {
        schema.parameters_.push_back({id, symbol, parameterType, {}});
    };
    switch (type) {
    case TYPE_SPHERE: add(SPHERE_RADIUS, "SPHERE_RADIUS", T::Real); break;
    case TYPE_CUBE: add(CUBE_SIZE, "CUBE_SIZE", T::Vector); break;
    case TYPE_PLANE:
        add(PLANE_WIDTH, "PLANE_WIDTH", T::Real);
        add(PLANE_HEIGHT, "PLANE_HEIGHT", T::Real);
        break;
    case TYPE_CAMERA:
        add(CAMERA_FOCUS_DISTANCE, "CAMERA_FOCUS_DISTANCE", T::Real);
        add(CAMERA_FILM_WIDTH, "CAMERA_FILM_WIDTH", T::Real);
        add(CAMERA_FIELD_OF_VIEW, "CAMERA_FIELD_OF_VIEW", T::Real);
        break;
    case TYPE_LIGHT:
        add(LIGHT_KIND, "LIGHT_KIND", T::Long);
        add(LIGHT_AREA_WIDTH, "LIGHT_AREA_WIDTH", T::Real);
        add(LIGHT_AREA_HEIGHT, "LIGHT_AREA_HEIGHT", T::Real);
        break;
    case TYPE_INSTANCE: add(INSTANCE_LINK, "INSTANCE_LINK", T::Link); break;
    case TYPE_TEXTURE_TAG: add(TEXTURE_TAG_MATERIAL, "TEXTURE_TAG_MATERIAL", T::Link); break;
    case TYPE_CAMERA_TARGET_TAG: add(CAMERA_TARGET_LINK, "CAMERA_TARGET_LINK", T::Link); break;
    default: break;
    }
    // The primitives' shape parameters (segments, the sizes of cylinder, cone, disc, torus).
    for (const PrimitiveParameter& p : primitiveParametersOf(type)) {
        if (schema.find(p.id)) continue;
        add(p.id, p.symbol, p.kind == PrimitiveValue::Real ? T::Real : p.kind == PrimitiveValue::Integer ? T::Long : T::Vector);
    }
    return schema;
}

const SchemaParameter* ParameterSchema::find(int32_t id) const {
    for (const auto& parameter : parameters_)
        if (parameter.id == id) return &parameter;
    return nullptr;
}

const SchemaParameter* ParameterSchema::find(const std::string& symbol) const {
    for (const auto& parameter : parameters_)
        if (parameter.symbol == symbol) return &parameter;
    return nullptr;
}

} // namespace host
