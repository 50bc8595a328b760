// The first stage of reading a document file: JSON text into the plain records of document_file.h.
// Checks everything that needs no host: the shape of every part, the JSON form of every value,
// object type names, point indices, and that a placement is given one way only.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "host/documents/document_file.h"

namespace host {

/// Parses document text; `file` names the source in errors. Throws DocumentError.
docfile::Document parseDocumentText(const std::string& text, const std::string& file);
/// Reads and parses a document file. Throws DocumentError (also when the file cannot be read).
docfile::Document readDocumentFile(const std::filesystem::path& file);

/// An object of a file as it is read: each comes after its children, once its text has ended.
struct ReadObject {
    docfile::Object object;   // its own keys; children only when read with their parent
    std::size_t children = 0; // how many of the objects heard before it, not yet claimed, are its children (the last ones)
    std::size_t sequence = 0; // its place among the file's objects in their order, parents first
    bool top = false;         // an entry of "objects"
};

/// Hears the objects of a file as they are read, and when reading starts over from the beginning
/// (everything heard before is then void).
struct ObjectReceiver {
    std::function<void(ReadObject&&)> take;
    std::function<void()> restart;
};

/// The same, handing each object to `receiver` as soon as its text is read; the document comes
/// back without them. Refuses a file for the same first fault as the other form.
docfile::Document readDocumentFile(const std::filesystem::path& file, const ObjectReceiver& receiver);

} // namespace host
