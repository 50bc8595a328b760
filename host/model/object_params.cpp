#include "host/model/object_params.h"

#include "host/model/node.h"
#include "host_constants.h"

namespace host {

void setObjectDefaults(int32_t type, HostContainer& params)
{
    switch (type) {
    case TYPE_SPHERE:
        params.setReal(SPHERE_RADIUS, DEFAULT_SPHERE_RADIUS);
        break;
    case TYPE_CUBE:
        params.setVector(CUBE_SIZE, {DEFAULT_CUBE_EDGE, DEFAULT_CUBE_EDGE, DEFAULT_CUBE_EDGE});
        break;
    case TYPE_PLANE:
        params.setReal(PLANE_WIDTH, DEFAULT_PLANE_SIZE);
        params.setReal(PLANE_HEIGHT, DEFAULT_PLANE_SIZE);
        break;
    case TYPE_CAMERA:
        params.setReal(CAMERA_FOCUS_DISTANCE, DEFAULT_FOCUS_DISTANCE);
        params.setReal(CAMERA_FILM_WIDTH, DEFAULT_FILM_WIDTH);
        params.setReal(CAMERA_FIELD_OF_VIEW, DEFAULT_FIELD_OF_VIEW);
        break;
    case TYPE_LIGHT:
        params.setInt(LIGHT_KIND, 0);
        params.setReal(LIGHT_AREA_WIDTH, DEFAULT_AREA_SIZE);
        params.setReal(LIGHT_AREA_HEIGHT, DEFAULT_AREA_SIZE);
        break;
    case TYPE_INSTANCE:
        params.setLinkToken(INSTANCE_LINK, 0);
        break;
    default:
        break;
    }
}

float cameraFocusDistance(const HostNode& camera)
{
    return camera.params.getReal(CAMERA_FOCUS_DISTANCE, DEFAULT_FOCUS_DISTANCE);
}

float cameraFilmWidth(const HostNode& camera)
{
    return camera.params.getReal(CAMERA_FILM_WIDTH, DEFAULT_FILM_WIDTH);
}

} // namespace host
