// A model that cannot be imported: the message names the model file and the reason (assimp's own
// where it could not read the file).
#pragma once

#include <stdexcept>
#include <string>

namespace host::import {

class ImportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace host::import
