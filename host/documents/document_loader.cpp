#include "host/documents/document_loader.h"

#include <utility>

#include "host/documents/document_builder.h"
#include "host/documents/document_parser.h"

namespace host {

NodePtr loadDocumentFile(const std::filesystem::path& file, Registry& registry) {
    docfile::Document document = readDocumentFile(file);
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(file, error);
    if (error) absolute = file;
    if (!document.settings.path) document.settings.path = absolute.parent_path().string();
    if (!document.settings.name) document.settings.name = absolute.filename().string();
    return buildDocument(std::move(document), registry);
}

} // namespace host
