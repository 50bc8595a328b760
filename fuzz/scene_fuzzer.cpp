// Fuzz target: reading a scene file back for the export summary. The quick scan either leaves the
// file to the XML parsers or reads exactly what they read; a file it takes must be one they take.
// Anything else (a crash, another exception, a sanitizer report) is a fault.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "fuzz/fuzz_input_file.h"
#include "host/plugins/host_error.h"
#include "host/report/scene_contents.h"
#include "host/report/scene_scan.h"

namespace {

std::string describe(const host::SceneContents& contents) {
    std::string out;
    for (const auto& [name, count] : contents.elements) out += name + "=" + std::to_string(count) + ";";
    for (const std::string& name : contents.namedObjects) out += "[" + name + "]";
    for (const auto& texture : contents.textures) out += "{" + texture.material + ":" + texture.path + "}";
    return out + (contents.sunWithoutDirection ? " sun without direction" : "");
}


} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const FuzzInputFile input("lumeno_scene_fuzz", ".xml");
    const std::filesystem::path& file = input.path;
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                  static_cast<std::streamsize>(size));
    std::optional<host::SceneContents> quick = host::scanSceneContents(file);
    std::string parsed;
    try {
        parsed = describe(host::parseSceneContents(file));
    } catch (const host::HostError& error) {
        if (quick) {
            std::fprintf(stderr, "the quick scan took a file the parsers refuse (%s): %s\n", error.what(),
                         describe(*quick).c_str());
            std::abort();
        }
        return 0;
    }
    if (!quick) return 0;
    // The parsers' reading gives the names sorted and each once.
    std::sort(quick->namedObjects.begin(), quick->namedObjects.end());
    quick->namedObjects.erase(std::unique(quick->namedObjects.begin(), quick->namedObjects.end()),
                              quick->namedObjects.end());
    if (describe(*quick) != parsed) {
        std::fprintf(stderr, "quick scan: %s\nparsers: %s\n", describe(*quick).c_str(), parsed.c_str());
        std::abort();
    }
    return 0;
}
