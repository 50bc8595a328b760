// Reading models and mesh files with assimp. lumeno-host has it in a library of its own,
// lib/liblumeno_model_reading.so, loaded the first time a command reads a model or a mesh file,
// so that an export of a document file does not load assimp at its start (a third of the
// program's memory before it reads anything). The reading itself runs in a child process
// (reading_child.h), so that a damaged model cannot take the command down. Tests link the
// reading itself (lumeno_host_import).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "host/import/imported_model.h"
#include "host/preview/mesh_file_loader.h"

namespace host::import {

/// Whether assimp reads files with this suffix (".obj"; any case).
bool readsModelSuffix(const std::string& suffix);

/// How a call into the loaded library ended; exceptions do not cross it. Stopped: the reading
/// child ended without an answer, or was stopped at a limit; the message says which.
struct ReadingOutcome {
    enum class Kind { Done, ImportFailed, ReadFailed, OutOfMemory, Stopped } kind = Kind::Done;
    std::string message;
};

/// The library's entry answers this table.
struct ModelReadingTable {
    bool (*readsModelSuffix)(const std::string& suffix) noexcept;
    ReadingOutcome (*importModel)(const std::filesystem::path& model, const ImportOptions& options,
                                  ImportedModel& result) noexcept;
    ReadingOutcome (*loadMeshFile)(const std::filesystem::path& file, std::vector<MeshPart>& result) noexcept;
};
using ModelReadingEntry = const ModelReadingTable* (*)() noexcept;
constexpr const char* modelReadingEntryName = "lumenoModelReading";

} // namespace host::import
