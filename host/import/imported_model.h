// What the import of a model makes: the document description, the texture files embedded in the
// model that are to be written beside the document, and the counts the import reports.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "host/documents/document_file.h"

namespace host::import {

/// Where an import puts what it names: texture file names are made relative to
/// `documentFolder`, and embedded textures are written there as "<stem>.texture<N>.<ext>".
struct ImportOptions {
    std::optional<double> scale;        // --scale: host centimetres per model unit
    std::filesystem::path documentFolder; // empty: the model's folder
    std::string embeddedStem;            // empty: the model's file name
    bool lightTag = false;               // whether the module registers the light tag
    /// Embedded textures named by their content, "<stem>.texture-<16 hexadecimal digits>.<ext>",
    /// so that writing them beside a scene never changes a file an earlier export's scene names.
    bool embeddedByContent = false;
};

struct EmbeddedTexture {
    std::filesystem::path file;
    std::vector<uint8_t> bytes;
};

/// Counts of what was imported and what was left out, for the import's report.
struct ImportCounts {
    int objects = 0, polygonObjects = 0, materials = 0, textures = 0, cameras = 0;
    int areaLights = 0, otherLights = 0, emitters = 0, renamed = 0;
    uint64_t points = 0, triangles = 0;
    // Left out:
    int animations = 0, skinnedMeshes = 0, morphTargets = 0, emittersWithoutTag = 0, ambientLights = 0;
    uint64_t pointsAndLines = 0;
};

struct ImportedModel {
    docfile::Document document;
    std::vector<EmbeddedTexture> embedded;
    ImportCounts counts;
    std::string unitSource; // where the unit scale came from
    double scale = 1.0;
    std::vector<std::string> notes; // missing texture files and the like
};

} // namespace host::import
