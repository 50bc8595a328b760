#include "app/heap_pages.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <system_error>

#include <malloc.h>
#include <sys/auxv.h>
#include <unistd.h>

namespace app {
namespace {

char** arguments = nullptr;
bool startedAgain = false;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool libraryAllocator = false; // the address checker brings an allocator of its own
#else
constexpr bool libraryAllocator = true;
#endif

constexpr const char* tunablesVariable = "GLIBC_TUNABLES";
constexpr const char* largePagesTunable = "glibc.malloc.hugetlb";
/// Set only from the first start to the second: "+" and the user's own GLIBC_TUNABLES, or "-"
/// when they had none.
constexpr const char* givenTunablesVariable = "LUMENO_HOST_GIVEN_TUNABLES";

/// Whether the system hands out large pages to a program that asks for them.
bool largePagesOffered() {
    std::ifstream setting("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string modes;
    return std::getline(setting, modes) && modes.find("[never]") == std::string::npos;
}

} // namespace

void setUpHeap(char** argv) {
    arguments = argv;
    // Geometry arrays are large and short-lived. A fixed threshold keeps each in memory of its own
    // that goes back to the system when it is freed; the default would raise the threshold after
    // the first such free and leave the next ones in a heap that does not shrink.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    // The second start: the allocator has read its setting, and the programs this one starts (the
    // renderer) see the environment the user gave.
    if (const char* given = std::getenv(givenTunablesVariable)) {
        startedAgain = true;
        const std::string tunables = given;
        if (tunables.rfind('+', 0) == 0) setenv(tunablesVariable, tunables.c_str() + 1, 1);
        else unsetenv(tunablesVariable);
        unsetenv(givenTunablesVariable);
    }
}

void useLargePagesFor(const std::filesystem::path& input) {
    // A large document fills the heap a page at a time, and a page fault for every 4 KB took a
    // tenth of the time of an export of many small objects, a quarter of one of a large mesh. The C
    // library's allocator takes large pages for its heap and its large arrays when asked, but
    // reads the request only as a program starts: so the program starts once more, with the
    // request added. Below this size the start costs more than the faults it saves, and a large
    // page would round a heap of a few megabytes up by as much as two.
    constexpr std::uintmax_t largeInput = std::uintmax_t(2) << 20;
    if (!libraryAllocator || startedAgain || !arguments) return;
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(input, error);
    if (error || size < largeInput) return;
    const char* given = std::getenv(tunablesVariable);
    const std::string tunables = given ? given : "";
    // A user's own setting is kept. A program run with raised rights would have the request taken
    // out of its environment again.
    if (tunables.find(largePagesTunable) != std::string::npos || getauxval(AT_SECURE) || !largePagesOffered()) return;
    const std::string request = (tunables.empty() ? "" : tunables + ":") + largePagesTunable + "=1";
    if (setenv(givenTunablesVariable, (given ? "+" + tunables : std::string("-")).c_str(), 1) != 0) return;
    if (setenv(tunablesVariable, request.c_str(), 1) == 0) execv("/proc/self/exe", arguments);
    // Still here: the program could not be started again, and the command goes on as it was, in
    // the environment it was given.
    if (given) setenv(tunablesVariable, tunables.c_str(), 1);
    else unsetenv(tunablesVariable);
    unsetenv(givenTunablesVariable);
}

} // namespace app
