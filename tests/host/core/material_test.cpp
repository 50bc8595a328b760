// The host's material comparison and texture file search.
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>
#include <unistd.h>

#include "host/files/texture_search.h"
#include "host/model/build.h"
#include "host/model/document.h"
#include "host/model/material.h"

namespace {

namespace fs = std::filesystem;

TEST(MaterialCompareTest, ChannelsAndParametersCountNamesDoNot) {
    host::NodePtr document = host::createDocument();
    HostNode& original = *host::makeMaterial(*document, "Red");
    host::channel(original, 0).enabled = true;
    host::channel(original, 0).data.setString(1002, "red.png");
    original.params.setVector(2100, {1, 0, 0});

    struct Case {
        const char* change;
        void (*apply)(HostNode&);
        bool equal;
    } cases[] = {
        {"renamed", [](HostNode& m) { m.name = "Other"; }, true},
        {"an untouched channel asked for", [](HostNode& m) { host::materialChannel(m, 6); }, true},
        {"a switch", [](HostNode& m) { host::channel(m, 0).enabled = false; }, false},
        {"channel data", [](HostNode& m) { host::channel(m, 0).data.setString(1002, "blue.png"); }, false},
        {"another channel on", [](HostNode& m) { host::channel(m, 9).enabled = true; }, false},
        {"a parameter", [](HostNode& m) { m.params.setReal(3101, 0.5f); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.change);
        HostNode& copy = *host::makeMaterial(*document, "Red");
        copy.params = original.params;
        copy.material->channels = original.material->channels;
        c.apply(copy);
        EXPECT_EQ(host::materialsEqual(original, copy), c.equal);
        EXPECT_EQ(host::materialsEqual(copy, original), c.equal);
    }
}

TEST(TextureSearchTest, AbsoluteThenDocumentFolderThenTexSubfolderElseTheNameItself) {
    const fs::path folder = fs::temp_directory_path() / ("texture-search-" + std::to_string(::getpid()));
    fs::create_directories(folder / "tex");
    std::ofstream(folder / "beside.png") << "x";
    std::ofstream(folder / "tex" / "inside.png") << "x";
    std::ofstream(folder / "both.png") << "x";
    std::ofstream(folder / "tex" / "both.png") << "x";
    const std::string f = folder.string();
    struct Case {
        std::string folder, name, found;
    } cases[] = {
        {f, "beside.png", f + "/beside.png"},
        {f, "inside.png", f + "/tex/inside.png"},
        {f, "both.png", f + "/both.png"},
        {f, "missing.png", "missing.png"},
        {f, f + "/tex/inside.png", f + "/tex/inside.png"},
        {f, "/no/such/file.png", "/no/such/file.png"},
        {"", "beside.png", "beside.png"},
        {f, "", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(host::findTextureFile(c.folder, c.name), c.found) << c.name;
    fs::remove_all(folder);
}

} // namespace
