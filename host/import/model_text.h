// Texts of a model (names of nodes, meshes, materials, cameras, lights and textures) as the host
// keeps them: UTF-8. Many older files write names in Latin-1 (an MTL's "newmtl Terraind\xE6k"),
// which assimp passes on byte for byte; a text that is not valid UTF-8 is read as Latin-1.
#pragma once

#include <string>
#include <string_view>

#include <assimp/types.h>

namespace host::import {

/// Whether the bytes are valid UTF-8 (shortest forms, no surrogates, at most U+10FFFF).
bool isUtf8(std::string_view text);

/// The text itself when it is valid UTF-8, else its bytes read as Latin-1, converted.
std::string modelText(std::string_view text);
inline std::string modelText(const aiString& text) { return modelText(std::string_view(text.C_Str(), text.length)); }

} // namespace host::import
