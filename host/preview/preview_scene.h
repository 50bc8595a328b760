// What the preview draws of a scene file: plain lists in the renderer's frame (z up, scene units),
// read once from the file and then drawn, so reading and drawing can be tested apart.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace host {

struct Vec3 {
    float x = 0, y = 0, z = 0;
};

struct Colour {
    float r = 0, g = 0, b = 0;
};

/// The renderer's pinhole camera as the `camera` element gives it.
struct PreviewCamera {
    Vec3 position;
    Vec3 up;
    Vec3 forwards;
    float sensorWidth = 0;        // metres
    float lensSensorDistance = 0; // metres
    float aspectRatio = 0;        // sensor width over sensor height
};

/// How a surface is drawn: lit in its colour (or its colour texture's, where its triangles have
/// texture coordinates), or at full brightness when it emits; see-through below an opacity of 1.
struct Look {
    Colour colour;
    bool emits = false;
    std::string texture; // the colour texture's file, "" for none
    float opacity = 1;
};

/// Texture coordinates of a corner: u across from the texture's left edge, v up from its bottom.
using TextureCoordinates = std::array<float, 2>;

/// Triangles of one look, three corners each, already placed in the scene.
struct TriangleBatch {
    Look look;
    std::vector<Vec3> corners;
    std::vector<TextureCoordinates> uvs; // one per corner, or none
};

struct PreviewSphere {
    Vec3 centre;
    float radius = 0;
    Look look;
};

/// The points p with p . normal = distance (the normal made unit length).
struct PreviewPlane {
    Vec3 normal;
    float distance = 0;
    Look look;
};

/// A rectangle of width along x and height along y, centred at `centre`, facing down.
struct PreviewRectangleLight {
    Vec3 centre;
    float width = 0;
    float height = 0;
    Look look;
};

struct PictureSize {
    int32_t width = 0;
    int32_t height = 0;
};

struct PreviewScene {
    PreviewCamera camera;
    Colour background;
    std::optional<PictureSize> rendererSize; // from `renderer_settings`
    std::vector<TriangleBatch> batches;
    std::vector<PreviewSphere> spheres;
    std::vector<PreviewPlane> planes;
    std::vector<PreviewRectangleLight> rectangleLights;
};

} // namespace host
