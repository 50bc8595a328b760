#include "frame/module_entry.h"

#include <cstdint>
#include <cstring>

#include "frame/host_api.h"
#include "frame/host_text.h"
#include "frame/module_state.h"
#include "frame/module_strings.h"
#include "frame/start_module.h"
#include "host_constants.h"
#include "host_table.h"

namespace {

#if LUMENO_HOST_RELEASE >= 95
constexpr int32_t kQueryAnswer = 3;
#else
constexpr int32_t kQueryAnswer = 2;
#endif

bool KeepModulePath(const char* path) {
    ModuleState& module = Module();
    // A longer path would not fit the buffer; refusing it beats loading from a cut path.
    size_t length = strnlen(path, kModulePathSize);
    if (length >= static_cast<size_t>(kModulePathSize)) return false;
#if LUMENO_HOST_RELEASE >= 95
    HostFile name(FilenameCreate());
    HostText text = HostText::FromCString(path);
    if (!name.get() || !text.get()) return false;
    FilenameSetText(name.get(), text.get());
    module.modulePathName = name.release();
#endif
    std::memcpy(module.modulePath, path, length + 1);
    return true;
}

int32_t Initialise(const HostTable* table, const char* path) {
    ModuleState& module = Module();
    // Counted before the checks, so a refused first initialise still needs its end.
    if (module.startCount++ > 0) return C4D_RESULT_OK;
    if (!table || table->version < HOST_MIN_INTERFACE_VERSION) return C4D_RESULT_TOO_OLD;
    if (!path) return C4D_RESULT_TOO_OLD;
    SetHostTable(table);
    if (!KeepModulePath(path)) {
        SetHostTable(nullptr);
        return C4D_RESULT_TOO_OLD;
    }
    return C4D_RESULT_OK;
}

void EndStep() {
    // The module keeps nothing beyond its strings that needs an end of its own.
}

int32_t End() {
    ModuleState& module = Module();
    if (module.startCount <= 0) return C4D_RESULT_OK;
    if (--module.startCount > 0) return C4D_RESULT_OK;
    EndStep();
    ReleaseModuleStrings();
#if LUMENO_HOST_RELEASE >= 95
    FilenameFree(module.modulePathName);
    module.modulePathName = nullptr;
#endif
    // A host may load the module again: the next first initialise starts afresh. The table
    // stays, for instances the host still frees after the end.
    module.resource.attempted = false;
    module.modulePath[0] = '\0';
    return C4D_RESULT_OK;
}

} // namespace

bool HandleModuleMessage(int32_t id, void* /*data*/) {
    switch (id) {
    case C4D_MSG_NONE:
        return true;
    case C4D_MSG_LOAD_STRINGS:
        return LoadModuleStrings();
    default:
        return false;
    }
}

extern "C" int32_t c4d_main(int32_t action, void* p1, void* p2, void* p3) {
    switch (action) {
    case C4D_ACTION_INIT:
        return Initialise(static_cast<const HostTable*>(p1), static_cast<const char*>(p3));
    case C4D_ACTION_START:
        return StartModule() ? C4D_RESULT_OK : C4D_RESULT_FAILED;
    case C4D_ACTION_END:
        return End();
    case C4D_ACTION_QUERY:
        return kQueryAnswer;
    case C4D_ACTION_MESSAGE:
        return HandleModuleMessage(static_cast<int32_t>(reinterpret_cast<intptr_t>(p1)), p2)
                   ? C4D_RESULT_OK
                   : C4D_RESULT_REFUSED;
    default:
        return C4D_RESULT_REFUSED;
    }
}
