// The one error every resource loader throws: a missing or malformed resource file, named
// with the line where the problem was found.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace host {

class ResourceError : public std::runtime_error {
public:
    /// line 0 stands for the file as a whole (missing, empty, unreadable): the message is then
    /// "<file>: <problem>", otherwise "<file>:<line>: <problem>".
    ResourceError(std::filesystem::path file, int line, const std::string& problem);

    const std::filesystem::path& file() const noexcept { return file_; }
    int line() const noexcept { return line_; }
    const std::string& problem() const noexcept { return problem_; }

private:
    std::filesystem::path file_;
    int line_;
    std::string problem_;
};

} // namespace host
