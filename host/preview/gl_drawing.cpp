#include "host/preview/gl_drawing.h"
#include "host/preview/gl_library.h"

#include <GL/osmesa.h>
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <string>

#include "host/plugins/host_error.h"
#include "host/preview/texture_images.h"

namespace host {
namespace {

constexpr float pi = 3.14159265358979f;

Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 operator*(float s, Vec3 v) { return {s * v.x, s * v.y, s * v.z}; }
float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
float length(Vec3 v) { return std::sqrt(dot(v, v)); }
Vec3 unit(Vec3 v) {
    float l = length(v);
    return l > 0 ? (1 / l) * v : v;
}

/// An OSMesa context drawing into its own RGBA block, released with it.
class OffscreenContext {
public:
    OffscreenContext(PictureSize size) : pixels_(static_cast<std::size_t>(size.width) * size.height * 4) {
        context_ = OSMesaCreateContextExt(OSMESA_RGBA, 24, 0, 0, nullptr);
        if (!context_) throw HostError("cannot make an OpenGL context (OSMesa)");
        if (!OSMesaMakeCurrent(context_, pixels_.data(), GL_UNSIGNED_BYTE, size.width, size.height)) {
            OSMesaDestroyContext(context_);
            throw HostError("cannot draw a picture of " + std::to_string(size.width) + "x" +
                            std::to_string(size.height) + " pixels with OpenGL (OSMesa)");
        }
    }
    ~OffscreenContext() { OSMesaDestroyContext(context_); }
    OffscreenContext(const OffscreenContext&) = delete;
    OffscreenContext& operator=(const OffscreenContext&) = delete;

    /// The pixels drawn, bottom row first (OpenGL's order).
    const std::vector<uint8_t>& pixels() const { return pixels_; }

private:
    std::vector<uint8_t> pixels_;
    OSMesaContext context_ = nullptr;
};

/// How far the finite part of the scene reaches from the camera (at least a little, so that an
/// empty scene still has a depth range).
float reach(const PreviewScene& scene) {
    Vec3 eye = scene.camera.position;
    float far = 1.0f;
    for (const TriangleBatch& batch : scene.batches)
        for (Vec3 p : batch.corners) far = std::max(far, length(p - eye));
    for (const PreviewSphere& s : scene.spheres) far = std::max(far, length(s.centre - eye) + s.radius);
    for (const PreviewRectangleLight& r : scene.rectangleLights)
        far = std::max(far, length(r.centre - eye) + r.width + r.height);
    return far;
}

/// The camera's view as OpenGL's modelview matrix (column-major): it looks along `forwards`
/// with `up` above, and `forwards` x `up` to the right.
void loadView(const PreviewCamera& camera) {
    Vec3 f = unit(camera.forwards);
    Vec3 s = unit(cross(f, camera.up));
    Vec3 u = cross(s, f);
    Vec3 e = camera.position;
    const GLfloat m[16] = {s.x, u.x, -f.x, 0, s.y, u.y, -f.y, 0, s.z, u.z, -f.z, 0,
                           -dot(s, e), -dot(u, e), dot(f, e), 1};
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(m);
}

void loadProjection(const PreviewCamera& camera, float near, float far) {
    // The sensor, seen from the lens, spans the picture: half its width over the lens distance.
    double halfWidth = near * 0.5 * camera.sensorWidth / camera.lensSensorDistance;
    double halfHeight = halfWidth / camera.aspectRatio;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-halfWidth, halfWidth, -halfHeight, halfHeight, near, far);
}

void setUpLights() {
    glEnable(GL_LIGHTING);
    glEnable(GL_NORMALIZE);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    const GLfloat ambient[4] = {0.25f, 0.25f, 0.25f, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    // A light from the camera, set while the modelview is the identity, so it shines along the view.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const GLfloat fromEye[4] = {0, 0, 1, 0};
    const GLfloat eyeStrength[4] = {0.6f, 0.6f, 0.6f, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, fromEye);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, eyeStrength);
    glEnable(GL_LIGHT0);
}

/// A light from the scene's up (+z), set once the view is loaded.
void setUpSkyLight() {
    const GLfloat fromAbove[4] = {0, 0, 1, 0};
    const GLfloat skyStrength[4] = {0.3f, 0.3f, 0.3f, 1};
    const GLfloat none[4] = {0, 0, 0, 1};
    glLightfv(GL_LIGHT1, GL_POSITION, fromAbove);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, skyStrength);
    glLightfv(GL_LIGHT1, GL_SPECULAR, none);
    glEnable(GL_LIGHT1);
}

/// The scene's colour textures as OpenGL textures, each file decoded once; 0 for a file that
/// cannot be decoded or is larger than OpenGL takes, whose surfaces keep their colour.
class Textures {
public:
    GLuint of(const std::string& file) {
        auto found = ids_.find(file);
        if (found != ids_.end()) return found->second;
        GLuint id = 0;
        GLint largest = 0;
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
        if (std::optional<TextureImage> image = decodeTexture(file);
            image && image->width <= largest && image->height <= largest) {
            glGenTextures(1, &id);
            glBindTexture(GL_TEXTURE_2D, id);
            glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, GL_TRUE);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
            glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, image->width, image->height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                         image->rgba.data());
        }
        ids_.emplace(file, id);
        return id;
    }

private:
    std::map<std::string, GLuint> ids_;
};

void useLook(const Look& look) {
    if (look.emits) glDisable(GL_LIGHTING);
    else glEnable(GL_LIGHTING);
    glColor4f(look.colour.r, look.colour.g, look.colour.b, look.opacity);
}

void drawBatch(const TriangleBatch& batch, Textures& textures) {
    std::size_t count = batch.corners.size() / 3 * 3;
    if (count == 0) return;
    std::vector<Vec3> normals(count);
    for (std::size_t i = 0; i < count; i += 3) {
        const Vec3* t = &batch.corners[i];
        normals[i] = normals[i + 1] = normals[i + 2] = cross(t[1] - t[0], t[2] - t[0]);
    }
    useLook(batch.look);
    // The texture, where there is one, shows in place of the colour, lit as the colour would be.
    const GLuint texture = batch.uvs.size() >= count && !batch.look.texture.empty() ? textures.of(batch.look.texture) : 0;
    std::vector<TextureCoordinates> rows;
    if (texture) {
        // The texture's rows are given top first: t runs down from its top edge.
        rows.reserve(count);
        for (std::size_t i = 0; i < count; ++i) rows.push_back({batch.uvs[i][0], 1.0f - batch.uvs[i][1]});
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glColor4f(1, 1, 1, batch.look.opacity);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, sizeof(TextureCoordinates), rows.data());
    }
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(Vec3), batch.corners.data());
    glNormalPointer(GL_FLOAT, sizeof(Vec3), normals.data());
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(count));
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    if (texture) {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisable(GL_TEXTURE_2D);
    }
}

void drawSphere(const PreviewSphere& sphere) {
    constexpr int rings = 32;
    constexpr int segments = 64;
    useLook(sphere.look);
    for (int ring = 0; ring < rings; ++ring) {
        glBegin(GL_QUAD_STRIP);
        for (int segment = 0; segment <= segments; ++segment) {
            float around = 2 * pi * segment / segments;
            for (int edge : {ring, ring + 1}) {
                float polar = pi * edge / rings;
                Vec3 n{std::sin(polar) * std::cos(around), std::sin(polar) * std::sin(around), std::cos(polar)};
                Vec3 p = sphere.centre + sphere.radius * n;
                glNormal3f(n.x, n.y, n.z);
                glVertex3f(p.x, p.y, p.z);
            }
        }
        glEnd();
    }
}

/// A plane as a square of `halfSize` around the point of the plane nearest the camera.
void drawPlane(const PreviewPlane& plane, Vec3 eye, float halfSize) {
    Vec3 n = plane.normal;
    Vec3 centre = eye - (dot(n, eye) - plane.distance) * n;
    Vec3 across = unit(cross(n, std::abs(n.z) < 0.9f ? Vec3{0, 0, 1} : Vec3{1, 0, 0}));
    Vec3 along = cross(n, across);
    useLook(plane.look);
    glBegin(GL_QUADS);
    glNormal3f(n.x, n.y, n.z);
    for (Vec3 corner : {centre - halfSize * across - halfSize * along, centre + halfSize * across - halfSize * along,
                        centre + halfSize * across + halfSize * along, centre - halfSize * across + halfSize * along})
        glVertex3f(corner.x, corner.y, corner.z);
    glEnd();
}

void drawRectangleLight(const PreviewRectangleLight& light) {
    float w = light.width / 2;
    float h = light.height / 2;
    Vec3 c = light.centre;
    useLook(light.look);
    glBegin(GL_QUADS);
    glNormal3f(0, 0, -1);
    glVertex3f(c.x - w, c.y - h, c.z);
    glVertex3f(c.x - w, c.y + h, c.z);
    glVertex3f(c.x + w, c.y + h, c.z);
    glVertex3f(c.x + w, c.y - h, c.z);
    glEnd();
}

} // namespace

RgbPicture drawWithOpenGl(const PreviewScene& scene, PictureSize size) {
    if (size.width < 1 || size.height < 1 || size.width > maxPictureSide || size.height > maxPictureSide)
        throw HostError("cannot draw a picture of " + std::to_string(size.width) + "x" + std::to_string(size.height) +
                        " pixels: each side must be 1 to " + std::to_string(maxPictureSide));
    OffscreenContext context(size);
    glViewport(0, 0, size.width, size.height);
    glClearColor(scene.background.r, scene.background.g, scene.background.b, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);

    // Planes reach far beyond everything else; the depth range covers them, and the near end
    // stays close enough for what stands right before the lens.
    float extent = reach(scene);
    float planeHalfSize = 100 * extent;
    float far = 2 * planeHalfSize;
    float near = extent / 20000;
    loadProjection(scene.camera, near, far);
    setUpLights();
    loadView(scene.camera);
    setUpSkyLight();

    // What is see-through goes last, blended over what it stands before, without hiding what
    // stands behind it from the other see-through surfaces.
    Textures textures;
    for (const bool seeThrough : {false, true}) {
        if (seeThrough) {
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            glDepthMask(GL_FALSE);
        }
        auto drawn = [seeThrough](const Look& look) { return (look.opacity < 1) == seeThrough; };
        for (const TriangleBatch& batch : scene.batches)
            if (drawn(batch.look)) drawBatch(batch, textures);
        for (const PreviewSphere& sphere : scene.spheres)
            if (drawn(sphere.look)) drawSphere(sphere);
        for (const PreviewPlane& plane : scene.planes)
            if (drawn(plane.look)) drawPlane(plane, scene.camera.position, planeHalfSize);
        for (const PreviewRectangleLight& light : scene.rectangleLights)
            if (drawn(light.look)) drawRectangleLight(light);
    }
    glFinish();

    RgbPicture picture;
    picture.width = size.width;
    picture.height = size.height;
    picture.rgb.resize(static_cast<std::size_t>(size.width) * size.height * 3);
    const std::vector<uint8_t>& drawn = context.pixels();
    for (int32_t y = 0; y < size.height; ++y) {
        const uint8_t* from = drawn.data() + static_cast<std::size_t>(size.height - 1 - y) * size.width * 4;
        uint8_t* to = picture.rgb.data() + static_cast<std::size_t>(y) * size.width * 3;
        for (int32_t x = 0; x < size.width; ++x) {
            to[3 * x] = from[4 * x];
            to[3 * x + 1] = from[4 * x + 1];
            to[3 * x + 2] = from[4 * x + 2];
        }
    }
    return picture;
}

} // namespace host

// The library's one entry: no exception crosses the boundary, the failure comes back as text.
extern "C" __attribute__((visibility("default"))) bool LUMENO_GL_DRAW_ENTRY(
    const host::PreviewScene& scene, host::PictureSize size, host::RgbPicture& picture, std::string& error) noexcept {
    try {
        picture = host::drawWithOpenGl(scene, size);
        return true;
    } catch (const std::exception& failure) {
        error = failure.what();
        return false;
    }
}

