// Fuzz target: the resource readers. The input is read as a string file, as a symbol header and as
// a description resource (with a fixed header and label file beside it); each either reads or is
// refused with a ResourceError.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "host/resources/description_resource.h"
#include "host/resources/resource_error.h"
#include "host/resources/string_table.h"
#include "host/resources/symbol_header.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* header = "enum {\n  Tfuzz = 10005,\n  GROUP_MAIN = 9001,\n  FLAG = 1000,\n  LEVEL = 1001,\n};\n";
constexpr const char* labels = "STRINGTABLE Tfuzz\n{\n  Tfuzz \"Fuzz\"\n  GROUP_MAIN \"Main\"\n  FLAG \"Flag\"\n"
                               "  LEVEL \"Level\"\n}\n";

/// Takes the folder away when the fuzzer ends.
struct RemovedAtExit {
    fs::path folder;
    ~RemovedAtExit() {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
};

/// A module folder of this process's own, made once, with the fixed files in place.
const fs::path& moduleFolder() {
    static const RemovedAtExit folderGuard{[] {
        fs::path made = fs::temp_directory_path() / ("lumeno-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(made / "res" / "description");
        fs::create_directories(made / "res" / "strings");
        std::ofstream(made / "res" / "description" / "Tfuzz.h") << header;
        std::ofstream(made / "res" / "strings" / "Tfuzz.str") << labels;
        return made;
    }()};
    return folderGuard.folder;
}

void write(const fs::path& file, const uint8_t* data, size_t size) {
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                   static_cast<std::streamsize>(size));
}

template <typename Read>
void refusedCleanly(Read read) {
    try {
        read();
    } catch (const host::ResourceError&) {
        // refused cleanly
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fs::path& folder = moduleFolder();
    const fs::path input = folder / "input";
    write(input, data, size);
    refusedCleanly([&] { host::loadStringFile(input); });
    refusedCleanly([&] { host::loadSymbolHeader(input); });
    write(folder / "res" / "description" / "Tfuzz.res", data, size);
    refusedCleanly([&] { host::loadDescription(folder, "Tfuzz"); });
    return 0;
}
