// Fuzz target: the document reader. Every input either reads as a document or is refused with a
// DocumentError; anything else (a crash, another exception, a sanitizer report) is a fault. The
// text is read both ways, whole and as a file whose objects are handed on as their text ends, and
// the two must agree: the same refusal, or the same objects.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz/fuzz_input_file.h"
#include "host/documents/document_error.h"
#include "host/documents/document_parser.h"

namespace {

/// The objects' names and types, children in brackets.
void describe(const std::vector<host::docfile::Object>& objects, std::string& out) {
    for (const auto& object : objects) {
        out += object.name + ":" + std::to_string(object.type) + ":" + std::to_string(object.tags.size());
        if (!object.children.empty()) {
            out += "[";
            describe(object.children, out);
            out += "]";
        }
        out += ",";
    }
}

template <typename Read>
std::string outcome(Read&& read) {
    try {
        const host::docfile::Document document = read();
        std::string out = "read " + std::to_string(document.materials.size()) + " materials; ";
        describe(document.objects, out);
        return out;
    } catch (const host::DocumentError& error) {
        return error.what();
    }
}


} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const FuzzInputFile input("lumeno_document_fuzz", ".json");
    const std::filesystem::path& file = input.path;
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
    const std::string whole = outcome([&] { return host::parseDocumentText(text, file.string()); });
    const std::string streamed = outcome([&] { return host::readDocumentFile(file); });
    if (whole != streamed) {
        std::fprintf(stderr, "read whole: %s\nread streamed: %s\n", whole.c_str(), streamed.c_str());
        std::abort();
    }
    return 0;
}
