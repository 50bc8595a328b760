// A scratch module folder for resource tests: files are written into its res/ and the folder
// is removed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "host/resources/resource_error.h"

namespace host::test {

class ResourceFolder : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "lumeno-res-" + std::string(info->test_suite_name()) + "-" + info->name() +
                           "-" + std::to_string(::getpid());
        for (char& c : name)
            if (c == '/') c = '_';
        folder_ = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_ / "res" / "description");
        std::filesystem::create_directories(folder_ / "res" / "strings");
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    /// Writes a file below the module folder, e.g. write("res/strings/module.str", "...").
    std::filesystem::path write(const std::string& relative, const std::string& content) {
        const auto path = folder_ / relative;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    const std::filesystem::path& folder() const { return folder_; }

private:
    std::filesystem::path folder_;
};

/// Runs `load` and answers the ResourceError it throws; fails the test when it throws none.
template <typename Load>
ResourceError expectResourceError(Load&& load) {
    try {
        load();
    } catch (const ResourceError& error) {
        return error;
    }
    ADD_FAILURE() << "expected a ResourceError";
    return ResourceError({}, 0, "none thrown");
}

} // namespace host::test
