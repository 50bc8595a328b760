#include "host/files/three_ds_writer.h"

#include <algorithm>
#include <cmath>

#include "host/files/byte_writer.h"
#include "host/files/whole_file.h"
#include "host/plugins/host_error.h"

namespace host {
namespace {

enum Chunk : uint16_t {
    MAIN = 0x4D4D,
    VERSION = 0x0002,
    EDITOR = 0x3D3D,
    MESH_VERSION = 0x3D3E,
    MASTER_SCALE = 0x0100,
    MATERIAL = 0xAFFF,
    MATERIAL_NAME = 0xA000,
    MATERIAL_DIFFUSE = 0xA020,
    COLOUR_24 = 0x0011,
    OBJECT = 0x4000,
    TRIANGLES = 0x4100,
    POINTS = 0x4110,
    MAPPING = 0x4140,
    FACES = 0x4120,
    FACE_MATERIAL = 0x4130,
    MESH_MATRIX = 0x4160,
};

constexpr uint32_t FORMAT_VERSION = 3;
/// A file up to this size is encoded in memory in one pass; a larger one is counted and streamed.
constexpr std::size_t streamAbove = 1 << 20;
/// Edge flags of a face: all three edges visible.
constexpr uint16_t FACE_EDGES_VISIBLE = 0x0007;

uint8_t colourByte(float component)
{
    if (!std::isfinite(component))
        return 0;
    return static_cast<uint8_t>(std::lround(std::clamp(component, 0.0f, 1.0f) * 255.0f));
}

void writeMaterial(ByteWriter& out, const ThreeDsMaterial& material)
{
    ChunkWriter entry(out, MATERIAL);
    {
        ChunkWriter name(out, MATERIAL_NAME);
        out.putCString(material.name);
    }
    ChunkWriter diffuse(out, MATERIAL_DIFFUSE);
    ChunkWriter colour(out, COLOUR_24);
    out.putU8(colourByte(material.colour.x));
    out.putU8(colourByte(material.colour.y));
    out.putU8(colourByte(material.colour.z));
}

void writeMesh(ByteWriter& out, const ThreeDsMesh& mesh, const std::vector<ThreeDsMaterial>& materials)
{
    ChunkWriter object(out, OBJECT);
    out.putCString(mesh.name);
    ChunkWriter triangles(out, TRIANGLES);
    {
        ChunkWriter points(out, POINTS);
        out.putU16(static_cast<uint16_t>(mesh.points.size()));
        static_assert(sizeof(HostVector) == 3 * sizeof(float), "points are three packed reals");
        out.putF32s(reinterpret_cast<const float*>(mesh.points.data()), mesh.points.size() * 3);
    }
    if (!mesh.uvs.empty()) {
        ChunkWriter mapping(out, MAPPING);
        out.putU16(static_cast<uint16_t>(mesh.uvs.size()));
        out.putF32s(reinterpret_cast<const float*>(mesh.uvs.data()), mesh.uvs.size() * 2);
    }
    {
        // The points are already in world space.
        ChunkWriter matrix(out, MESH_MATRIX);
        const float identity[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
        for (const float v : identity)
            out.putF32(v);
    }
    ChunkWriter faces(out, FACES);
    out.putU16(static_cast<uint16_t>(mesh.faces.size()));
    std::vector<uint16_t> words(mesh.faces.size() * 4);
    for (std::size_t i = 0; i < mesh.faces.size(); ++i) {
        const auto& f = mesh.faces[i];
        words[4 * i] = f[0];
        words[4 * i + 1] = f[1];
        words[4 * i + 2] = f[2];
        words[4 * i + 3] = FACE_EDGES_VISIBLE;
    }
    out.putU16s(words.data(), words.size());
    if (mesh.material < 0)
        return;
    ChunkWriter group(out, FACE_MATERIAL);
    out.putCString(materials[static_cast<std::size_t>(mesh.material)].name);
    out.putU16(static_cast<uint16_t>(mesh.faces.size()));
    words.resize(mesh.faces.size());
    for (std::size_t i = 0; i < words.size(); ++i)
        words[i] = static_cast<uint16_t>(i);
    out.putU16s(words.data(), words.size());
}

std::size_t expectedSize(const ThreeDsScene& scene)
{
    std::size_t size = 64 + scene.materials.size() * 64;
    for (const ThreeDsMesh& mesh : scene.meshes)
        size += 128 + mesh.points.size() * 12 + mesh.uvs.size() * 8 + mesh.faces.size() * 10;
    return size;
}

void writeScene(ByteWriter& out, const ThreeDsScene& scene)
{
    ChunkWriter main(out, MAIN);
    {
        ChunkWriter version(out, VERSION);
        out.putU32(FORMAT_VERSION);
    }
    ChunkWriter editor(out, EDITOR);
    {
        ChunkWriter version(out, MESH_VERSION);
        out.putU32(FORMAT_VERSION);
    }
    for (const ThreeDsMaterial& material : scene.materials)
        writeMaterial(out, material);
    {
        ChunkWriter scale(out, MASTER_SCALE);
        out.putF32(1.0f);
    }
    for (const ThreeDsMesh& mesh : scene.meshes)
        writeMesh(out, mesh, scene.materials);
}

void refuseOverflow(const ByteWriter& out)
{
    if (out.overflowed())
        throw HostError("the geometry exceeds the 4 GiB a 3DS file can hold");
}

} // namespace

std::vector<uint8_t> encodeThreeDs(const ThreeDsScene& scene)
{
    ByteWriter out;
    out.reserve(expectedSize(scene));
    writeScene(out, scene);
    refuseOverflow(out);
    return out.release();
}

std::size_t saveThreeDs(const HostNode& document, const std::string& file)
{
    try {
        const ThreeDsScene scene = collectThreeDsScene(document);
        if (expectedSize(scene) <= streamAbove) {
            const std::vector<uint8_t> bytes = encodeThreeDs(scene);
            writeWholeFile(file, bytes);
            return bytes.size();
        }
        // Counted first, then streamed into the file: a large file's bytes are never held whole.
        ByteWriter counter = ByteWriter::counting();
        writeScene(counter, scene);
        refuseOverflow(counter);
        writeWholeFile(file, [&](int fd) {
            ByteWriter out(fd, counter.chunkSizes());
            writeScene(out, scene);
            return out.finish();
        });
        return counter.size();
    } catch (const HostError& e) {
        throw HostError("cannot write " + file + ": " + e.what());
    }
}

} // namespace host
