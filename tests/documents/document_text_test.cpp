// Reading document files: the text comes whole from a file or a pipe, and a reading that must start
// over after the quick way gave memory back still sees the whole file and keeps the library's words.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "host/documents/document_error.h"
#include "host/documents/document_parser.h"
#include "host/documents/document_text.h"

namespace {

namespace fs = std::filesystem;

class DocumentTextTest : public ::testing::Test {
protected:
    fs::path folder = fs::temp_directory_path() / ("lumeno-text-" + std::to_string(::getpid()));
    void SetUp() override { fs::create_directories(folder); }
    void TearDown() override { fs::remove_all(folder); }

    fs::path write(const std::string& name, const std::string& text) {
        std::ofstream(folder / name, std::ios::binary) << text;
        return folder / name;
    }
};

/// A document of `count` objects, about 80 bytes each, ending with `last` as its final object.
std::string manyObjects(int count, const std::string& last) {
    std::string text = R"({"objects": [)";
    for (int i = 0; i < count; ++i) text += R"({"type": "null", "name": "n)" + std::to_string(i) + R"(", "position": [1, 2, 3]}, )";
    return text + last + "]}";
}

TEST_F(DocumentTextTest, FilesAndPipesAreReadWholeAndGivenBackOnlyWhereRead) {
    const std::string text = manyObjects(40000, R"({"type": "null"})"); // about 3 MB
    host::DocumentText file(write("doc.json", text));
    EXPECT_EQ(file.text(), text);
    file.release(2 << 20);
    EXPECT_EQ(file.text().substr(2 << 20), text.substr(2 << 20));
    file.reload();
    EXPECT_EQ(file.text(), text);

    const fs::path pipe = folder / "pipe.json";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::thread writer([&] { std::ofstream(pipe, std::ios::binary) << text; });
    host::DocumentText piped(pipe);
    writer.join();
    EXPECT_EQ(piped.text(), text);
    piped.release(2 << 20);
    EXPECT_EQ(piped.text(), text); // its size was not known: kept whole
}

TEST_F(DocumentTextTest, StartingOverAfterMegabytesSeesTheWholeFile) {
    // A number too small for a real: the quick way leaves it to the library, megabytes in.
    const auto document = host::readDocumentFile(write("tiny.json", manyObjects(40000, R"({"type": "null", "position": [0, 0, 1e-400]})")));
    ASSERT_EQ(document.objects.size(), 40001u);
    EXPECT_EQ(document.objects.front().name, "n0");

    // A syntax error megabytes in keeps the library's words and its line and column.
    try {
        host::readDocumentFile(write("broken.json", manyObjects(40000, "{\"type\": \"null\",\n  }")));
        FAIL() << "accepted";
    } catch (const host::DocumentError& error) {
        EXPECT_EQ(error.line(), 2);
        EXPECT_EQ(error.column(), 3);
        EXPECT_NE(error.problem().find("syntax error while parsing object key"), std::string::npos) << error.problem();
    }
}

} // namespace
