// The error of a refused document file. Its message names the file and the place: a JSON path
// such as "objects[2].tags[0].params.LCFG_WIDTH", or a line and column for a syntax error.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace host {

class DocumentError : public std::runtime_error {
public:
    /// "<file>: <jsonPath>: <problem>" (a long path shortened in the middle), or "<file>: <problem>"
    /// when the path is empty. jsonPath() keeps the whole path.
    DocumentError(const std::string& file, const std::string& jsonPath, const std::string& problem);
    /// "<file>:<line>:<column>: <problem>"
    DocumentError(const std::string& file, int line, int column, const std::string& problem);

    const std::string& file() const { return file_; }
    const std::string& jsonPath() const { return jsonPath_; } // empty for syntax errors
    const std::string& problem() const { return problem_; }
    int line() const { return line_; } // 0 unless a syntax error
    int column() const { return column_; }

private:
    std::string file_, jsonPath_, problem_;
    int line_ = 0, column_ = 0;
};

} // namespace host
