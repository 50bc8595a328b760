// The application's search for a material's texture file.
#pragma once

#include <string>

namespace host {

/// An absolute name of an existing file answers itself; a relative name is looked for in
/// `documentFolder`, then in its "tex" subfolder, and the first existing file answers its full
/// path. When nothing is found (or the name is empty) the name is answered unchanged.
std::string findTextureFile(const std::string& documentFolder, const std::string& name);

} // namespace host
