#include "host/import/import_report.h"

#include <sstream>

namespace host::import {

namespace {

std::string count(uint64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

std::vector<std::string> importReport(const ImportedModel& model) {
    const ImportCounts& c = model.counts;
    std::ostringstream made;
    made << count(c.objects, "object", "objects") << " (" << count(c.polygonObjects, "polygon object", "polygon objects")
         << ", " << count(c.triangles, "triangle", "triangles") << "), " << count(c.materials, "material", "materials")
         << ", " << count(c.textures, "texture", "textures") << ", " << count(c.cameras, "camera", "cameras") << ", "
         << count(c.areaLights + c.otherLights, "light", "lights") << "; " << count(c.emitters, "emitter", "emitters")
         << "; scale " << model.scale << " (" << model.unitSource << ")";
    std::vector<std::string> lines{made.str()};
    auto leftOut = [&lines](uint64_t n, const std::string& what) {
        if (n > 0) lines.push_back("left out: " + std::to_string(n) + " " + what);
    };
    leftOut(c.animations, c.animations == 1 ? "animation" : "animations");
    leftOut(c.skinnedMeshes, "skin (the meshes are kept in their rest pose)");
    leftOut(c.morphTargets, c.morphTargets == 1 ? "morph target" : "morph targets");
    leftOut(c.pointsAndLines, "points and lines (only polygons are imported)");
    leftOut(c.ambientLights, c.ambientLights == 1 ? "ambient light" : "ambient lights");
    leftOut(c.emittersWithoutTag, "emitting meshes' emission (the module registers no light tag)");
    if (c.otherLights > 0)
        lines.push_back(count(c.otherLights, "light is", "lights are") +
                        " not an area light: the renderer receives only area lights");
    if (c.renamed > 0) lines.push_back(count(c.renamed, "name was", "names were") + " told apart with .1, .2, ...");
    for (const auto& note : model.notes) lines.push_back(note);
    return lines;
}

} // namespace host::import
