#include "host/documents/document_loader.h"

#include <utility>

#include "host/documents/document_builder.h"
#include "host/documents/document_parser.h"

namespace host {

NodePtr loadDocumentFile(const std::filesystem::path& file, Registry& registry) {
    // Each object is built as soon as its text ends, so the file is never held as records whole.
    StreamedBuild build(file.string(), registry);
    docfile::Document document = readDocumentFile(
        file, {[&build](ReadObject&& read) { build.take(std::move(read)); }, [&build] { build.restart(); }});
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(file, error);
    if (error) absolute = file;
    if (!document.settings.path) document.settings.path = absolute.parent_path().string();
    if (!document.settings.name) document.settings.name = absolute.filename().string();
    return build.finish(std::move(document));
}

} // namespace host
