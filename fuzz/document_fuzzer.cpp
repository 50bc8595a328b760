// Fuzz target: the document reader. Every input either reads as a document or is refused with a
// DocumentError; anything else (a crash, another exception, a sanitizer report) is a fault.
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/documents/document_error.h"
#include "host/documents/document_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        host::parseDocumentText(text, "fuzz.json");
    } catch (const host::DocumentError&) {
        // refused cleanly
    }
    return 0;
}
