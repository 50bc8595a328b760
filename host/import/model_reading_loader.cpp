// lumeno-host's model reading: the calls go into lib/liblumeno_model_reading.so, loaded on the
// first of them, in the reading child (reading_child.h); its answers become the exceptions the
// reading itself throws.
#include <mutex>
#include <new>

#include "host/import/import_error.h"
#include "host/import/model_import.h"
#include "host/import/model_reading.h"
#include "host/import/reading_child.h"
#include "host/plugins/host_error.h"
#include "host/plugins/own_library.h"

namespace host::import {
namespace {

const ModelReadingTable& table() {
    static std::once_flag loaded;
    static const ModelReadingTable* entries = nullptr;
    static std::string failure;
    std::call_once(loaded, [] {
        try {
            entries = reinterpret_cast<ModelReadingEntry>(loadOwnLibraryEntry(
                LUMENO_MODEL_READING_LIBRARY_NAME, LUMENO_MODEL_READING_LIBRARY_BUILT, modelReadingEntryName,
                "model reading"))();
        } catch (const HostError& e) {
            failure = e.what();
        }
    });
    if (!entries) throw HostError(failure);
    return *entries;
}

ReadingChild& child() {
    static ReadingChild reading(table);
    return reading;
}

/// `stopped` makes the refusal of a reading the child could not finish.
template <class Stopped> void rethrow(const ReadingOutcome& outcome, Stopped&& stopped) {
    switch (outcome.kind) {
    case ReadingOutcome::Kind::Done: return;
    case ReadingOutcome::Kind::ImportFailed: throw ImportError(outcome.message);
    case ReadingOutcome::Kind::ReadFailed: throw HostError(outcome.message);
    case ReadingOutcome::Kind::OutOfMemory: throw std::bad_alloc();
    case ReadingOutcome::Kind::Stopped: stopped(outcome.message);
    }
}

} // namespace

// Which suffixes assimp reads is asked in lumeno-host itself: it reads no file.
bool readsModelSuffix(const std::string& suffix) { return table().readsModelSuffix(suffix); }

ImportedModel importModel(const std::filesystem::path& model, const ImportOptions& options) {
    ImportedModel result;
    rethrow(child().importModel(model, options, result),
            [&](const std::string& what) { throw ImportError(model.string() + ": cannot import: " + what); });
    return result;
}

} // namespace host::import

namespace host {

std::vector<MeshPart> loadMeshFile(const std::filesystem::path& file) {
    std::vector<MeshPart> result;
    import::rethrow(import::child().loadMeshFile(file, result),
                    [&](const std::string& what) { throw HostError("cannot read " + file.string() + ": " + what); });
    return result;
}

} // namespace host
