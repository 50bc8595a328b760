// Checks of what a model file declares against what it can hold, for the formats whose readers in
// assimp trust a declared count: such a file would have the reader allocate or loop for as many
// elements as it claims, however few bytes follow.
#pragma once

#include <filesystem>

namespace host::import {

/// Throws ImportError (without the file's name) when the file declares more than its size can
/// hold: OFF vertex and face counts, PLY element counts (text and binary) and a PLY header without
/// its end, a GLB file's length and chunk lengths, a binary STL file's triangle count. Files of
/// other formats, or whose header cannot be read, pass.
void checkDeclaredSizes(const std::filesystem::path& model);

} // namespace host::import
