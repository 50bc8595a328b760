#include "host/resources/resource_layout.h"

namespace host {

std::filesystem::path moduleStringsFile(const std::filesystem::path& moduleFolder) {
    return moduleFolder / "res" / "strings" / "module.str";
}

std::filesystem::path symbolHeaderFile(const std::filesystem::path& moduleFolder,
                                       const std::string& description) {
    return moduleFolder / "res" / "description" / (description + ".h");
}

std::filesystem::path descriptionFile(const std::filesystem::path& moduleFolder,
                                      const std::string& description) {
    return moduleFolder / "res" / "description" / (description + ".res");
}

std::filesystem::path labelFile(const std::filesystem::path& moduleFolder,
                                const std::string& description) {
    return moduleFolder / "res" / "strings" / (description + ".str");
}

std::filesystem::path iconFile(const std::filesystem::path& moduleFolder, const std::string& icon) {
    return moduleFolder / "res" / icon;
}

} // namespace host
