// The entry of lib/liblumeno_model_reading.so: the reading itself behind a table whose calls
// answer how they ended instead of throwing.
#include <new>

#include "host/import/import_error.h"
#include "host/import/model_import.h"
#include "host/import/model_reading.h"
#include "host/plugins/host_error.h"

namespace {

using host::import::ReadingOutcome;

template <typename Read>
ReadingOutcome outcomeOf(Read&& read) noexcept {
    try {
        read();
        return {};
    } catch (const host::import::ImportError& e) {
        return {ReadingOutcome::Kind::ImportFailed, e.what()};
    } catch (const host::HostError& e) {
        return {ReadingOutcome::Kind::ReadFailed, e.what()};
    } catch (const std::bad_alloc&) {
        return {ReadingOutcome::Kind::OutOfMemory, {}};
    } catch (const std::exception& e) {
        return {ReadingOutcome::Kind::ReadFailed, e.what()};
    }
}

bool readsSuffix(const std::string& suffix) noexcept {
    try {
        return host::import::readsModelSuffix(suffix);
    } catch (...) {
        return false;
    }
}

ReadingOutcome importModel(const std::filesystem::path& model, const host::import::ImportOptions& options,
                           host::import::ImportedModel& result) noexcept {
    return outcomeOf([&] { result = host::import::importModel(model, options); });
}

ReadingOutcome loadMeshFile(const std::filesystem::path& file, std::vector<host::MeshPart>& result) noexcept {
    return outcomeOf([&] { result = host::loadMeshFile(file); });
}

} // namespace

extern "C" __attribute__((visibility("default"))) const host::import::ModelReadingTable* lumenoModelReading() noexcept {
    static const host::import::ModelReadingTable table{readsSuffix, importModel, loadMeshFile};
    return &table;
}
