// The error the host's own C++ interfaces throw: a module that cannot be loaded, a plug-in that
// does not exist, a preferences file that cannot be read. The message names the file or the ID.
// It never crosses the function table: the table's operations catch it and answer a failure.
#pragma once

#include <stdexcept>
#include <string>

namespace host {

class HostError : public std::runtime_error {
public:
    explicit HostError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace host
