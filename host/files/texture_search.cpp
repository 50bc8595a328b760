#include "host/files/texture_search.h"

#include <filesystem>
#include <system_error>

namespace host {
namespace {

bool isFile(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

} // namespace

std::string findTextureFile(const std::string& documentFolder, const std::string& name)
{
    namespace fs = std::filesystem;
    if (name.empty())
        return name;
    const fs::path file(name);
    if (file.is_absolute())
        return name;
    if (documentFolder.empty())
        return name;
    const fs::path folder(documentFolder);
    for (const fs::path& candidate : {folder / file, folder / "tex" / file}) {
        if (isFile(candidate))
            return candidate.lexically_normal().string();
    }
    return name;
}

} // namespace host
