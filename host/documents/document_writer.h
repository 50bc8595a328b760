// Saving a host document as a document file that loads back to the same values. Parameters are
// written where they differ from what a new node of the same kind receives (a plug-in tag's new
// values come from its own initialise), and a parameter that a new node has but this one lacks
// is written as null, so loading rebuilds the container exactly.
#pragma once

#include <filesystem>
#include <string>

#include "host/model/node.h"

namespace host {

class Registry;

/// The document file text. `file` names the target in errors. Throws DocumentError for what a
/// document file cannot express: a link to a node that is neither an object nor a material of
/// the document, a link to an object whose path another object shares, points on an object
/// that is not a polygon object, text that is not UTF-8, or objects nested too deeply.
std::string documentToJson(const HostNode& document, Registry& registry, const std::string& file = "document");

/// Writes the text to `file`, replacing an existing file only once the new one is complete.
/// Throws DocumentError naming the file when it cannot be written.
void saveDocumentFile(const HostNode& document, Registry& registry, const std::filesystem::path& file);

} // namespace host
