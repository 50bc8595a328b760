// The per-save record handed to every section exporter.
#pragma once

#include <cstdint>
#include <cstdio>

#include <tinyxml.h>

#include "export/mesh_records.h"
#include "export/printed_elements.h"
#include "export/xml_helpers.h"
#include "host_types.h"
#include "tags/material_helper_search.h"

class LumenoSaverData;
struct ExportFiles;

/// Bytes of the output texts: at most 255 characters each.
constexpr int32_t kOutputTextSize = 256;

struct ExportContext {
    HostDocument* document;        // the document being saved (the merged strategy swaps in a copy)
    int32_t saveFlags;             // the flags of the host's save request
    TiXmlDocument* xmlDocument;    // the document being built, in host memory
    TiXmlElement* sceneElement;    // its `scene` element
    PrintedElements* printedElements; // in `scene`: the finished elements, as text; none: kept as elements
    std::FILE* sceneStream;        // the scene file's temporary, printed as the save goes; none for a device
    bool sceneFrontComplete;       // settings and camera are in front of the scene (CompleteSceneFront)
    bool backgroundWritten;        // the default background went in front
    HostFilename* outputFile;      // the output file as the host gave it
    char outputName[kOutputTextSize];    // the file's name without its folder
    char outputFolder[kOutputTextSize];  // the file's folder
    char outputPath[kOutputTextSize];    // the full path: the file that is opened
    int32_t meshCounter;           // numbers meshes and mesh lights across the save
    int32_t skipCounter;           // numbers the primitives the merged strategy renames
    HostDocument** targetDocuments;  // the merged strategy's pair (unsmoothed, smooth) while it runs
    LumenoSaverData* saver;        // the export state: multiplier, camera values, once-per-save flags
    ExportFiles* files;            // where the export's files are written until its commit
    MeshRecords meshRecords;       // the meshes of the mesh pass, which the element pass places
    HelperTagIndex helperTags;     // the material helper tags of `document`, while the material list runs
    ValueText scaleText;           // the `scale` of placed meshes, once formatted (SceneScaleText)
};
