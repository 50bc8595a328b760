#include "host/resources/resource_error.h"

namespace host {
namespace {

std::string describe(const std::filesystem::path& file, int line, const std::string& problem) {
    if (line > 0) return file.string() + ":" + std::to_string(line) + ": " + problem;
    return file.string() + ": " + problem;
}

} // namespace

ResourceError::ResourceError(std::filesystem::path file, int line, const std::string& problem)
    : std::runtime_error(describe(file, line, problem)), file_(std::move(file)), line_(line),
      problem_(problem) {}

} // namespace host
