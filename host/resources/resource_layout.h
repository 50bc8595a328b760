// Where a module folder keeps its resources. The source tree's res/ has the same layout, so
// every path here works on either.
//
//   <module folder>/res/strings/module.str          the module's string table
//   <module folder>/res/description/<NAME>.h        symbol header of a description
//   <module folder>/res/description/<NAME>.res      the description resource
//   <module folder>/res/strings/<NAME>.str          the description's labels
//   <module folder>/res/<icon>.tif                  icons
#pragma once

#include <filesystem>
#include <string>

namespace host {

std::filesystem::path moduleStringsFile(const std::filesystem::path& moduleFolder);
std::filesystem::path symbolHeaderFile(const std::filesystem::path& moduleFolder,
                                       const std::string& description);
std::filesystem::path descriptionFile(const std::filesystem::path& moduleFolder,
                                      const std::string& description);
std::filesystem::path labelFile(const std::filesystem::path& moduleFolder,
                                const std::string& description);
std::filesystem::path iconFile(const std::filesystem::path& moduleFolder, const std::string& icon);

} // namespace host
