#include "host/documents/document_error.h"

#include "host/documents/json_path.h"

namespace host {

namespace {

std::string pathMessage(const std::string& file, const std::string& jsonPath, const std::string& problem) {
    std::string message = file + ": ";
    // A deep hierarchy's path would bury the problem under thousands of steps.
    if (!jsonPath.empty()) message += jsonpath::shown(jsonPath) + ": ";
    return message + problem;
}

} // namespace

DocumentError::DocumentError(const std::string& file, const std::string& jsonPath, const std::string& problem)
    : std::runtime_error(pathMessage(file, jsonPath, problem)), file_(file), jsonPath_(jsonPath),
      problem_(problem) {}

DocumentError::DocumentError(const std::string& file, int line, int column, const std::string& problem)
    : std::runtime_error(file + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + problem),
      file_(file), problem_(problem), line_(line), column_(column) {}

} // namespace host
