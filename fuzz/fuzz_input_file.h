// The file a fuzz target writes each input to, so that readers of files see it: one per process,
// gone when the fuzzer ends.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

struct FuzzInputFile {
    FuzzInputFile(const std::string& stem, const std::string& extension)
        : path(std::filesystem::temp_directory_path() / (stem + "_" + std::to_string(::getpid()) + extension)) {}
    ~FuzzInputFile() {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
    std::filesystem::path path;
};
