// The entry of lib/liblumeno_icon_reading.so: the decoding behind a table whose calls answer how
// they ended instead of throwing.
#include <new>

#include "host/resources/icon_reading.h"
#include "host/resources/resource_error.h"

namespace {

using host::IconOutcome;

IconOutcome loadIcon(const std::filesystem::path& tif, host::IconImage& result) noexcept {
    try {
        result = host::loadIcon(tif);
        return {};
    } catch (const host::ResourceError& e) {
        return {IconOutcome::Kind::Refused, e.problem()};
    } catch (const std::bad_alloc&) {
        return {IconOutcome::Kind::OutOfMemory, {}};
    } catch (const std::exception& e) {
        return {IconOutcome::Kind::Refused, e.what()};
    }
}

} // namespace

extern "C" __attribute__((visibility("default"))) const host::IconReadingTable* lumenoIconReading() noexcept {
    static const host::IconReadingTable table{loadIcon};
    return &table;
}
