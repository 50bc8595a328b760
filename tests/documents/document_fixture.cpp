#include "document_fixture.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "host/documents/document_builder.h"
#include "host/documents/document_error.h"
#include "host/documents/document_loader.h"
#include "host/documents/document_parser.h"
#include "host/documents/document_writer.h"
#include "host/model/copy.h"
#include "host/model/document.h"
#include "host/resources/description_resource.h"
#include "host_constants.h"
#include "plugin_records.h"

namespace testing_documents {

namespace {

int liveTags = 0;

struct TestTag {
    int marker = 7;
};

void* allocateTag() {
    ++liveTags;
    return new TestTag;
}

void destroyTag(void* instance) {
    --liveTags;
    delete static_cast<TestTag*>(instance);
}

bool initTag(void*, HostNode* node) {
    node->params.setInt(1009, initWidth);
    node->params.setInt(2502, initHaltTime);
    node->params.setBool(1017, initLogging);
    node->params.setReal(1005, initMultiplier);
    node->params.setLink(1001, nullptr);
    return true;
}

/// The document's file text with the settings a loaded file gets set alike, or why it has none.
std::string fileTextOf(HostNode& document, host::Registry& registry) {
    host::setDocumentSetting(document, DOCUMENT_PATH, "/documents");
    host::setDocumentSetting(document, DOCUMENT_FILE_NAME, "test.json");
    try {
        return host::documentToJson(document, registry);
    } catch (const host::DocumentError& error) {
        return std::string("not writable: ") + error.what();
    }
}

/// Loads `json` from a file as lumeno-host does, each object built as soon as it is read; the
/// refusal's message names the file "test.json" as the text's would.
host::NodePtr loadStreamed(const std::string& json, host::Registry& registry, std::optional<std::string>& refusal) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("documents_test_" + std::to_string(::getpid()) + ".json");
    std::ofstream(file, std::ios::binary) << json;
    host::NodePtr document;
    try {
        document = host::loadDocumentFile(file, registry);
    } catch (const host::DocumentError& error) {
        std::string message = error.what();
        if (message.rfind(file.string(), 0) == 0) message = "test.json" + message.substr(file.string().size());
        refusal = message;
    }
    std::filesystem::remove(file);
    return document;
}

} // namespace

int liveTestTags() { return liveTags; }

DocumentTest::DocumentTest() {
    registry.addDescription(settingsTagId, host::loadDescription(LUMENO_SOURCE_DIR, "Tlumenoconfig"));
    TagRecord record{};
    record.flags = 1;
    record.allocate = allocateTag;
    record.destroy = destroyTag;
    record.init = initTag;
    registry.add(PLUGIN_KIND_TAG, settingsTagId, settingsTagName, &record);
}

host::NodePtr DocumentTest::load(const std::string& json) {
    // Every document is read both ways, whole and streamed, which must agree in all they do.
    std::optional<std::string> streamedRefusal;
    host::NodePtr streamed = loadStreamed(json, registry, streamedRefusal);
    try {
        host::NodePtr whole = host::buildDocument(host::parseDocumentText(json, "test.json"), registry);
        EXPECT_FALSE(streamedRefusal) << "refused only when streamed: " << *streamedRefusal;
        if (streamed) {
            EXPECT_EQ(fileTextOf(*streamed, registry), fileTextOf(*host::copyDocument(*whole), registry));
        }
        return whole;
    } catch (const host::DocumentError& error) {
        EXPECT_EQ(streamedRefusal.value_or("accepted when streamed"), error.what());
        throw;
    }
}

std::string DocumentTest::refusalPath(const std::string& json, std::string* message) {
    try {
        load(json);
    } catch (const host::DocumentError& error) {
        if (message) *message = error.what();
        EXPECT_EQ(error.file(), "test.json");
        return error.jsonPath();
    }
    ADD_FAILURE() << "the document was accepted: " << json;
    return {};
}

} // namespace testing_documents
