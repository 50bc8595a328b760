#include "app/module_location.h"

#include <system_error>

namespace app {

std::filesystem::path executableFolder() {
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return std::filesystem::current_path();
    return self.parent_path();
}

std::filesystem::path defaultModuleFolder(const std::string& release) {
    std::string folder = release == "9.0" ? "90" : "95";
    return (executableFolder() / ".." / "modules" / folder / "LumenoExporter").lexically_normal();
}

} // namespace app
