#include "document_fixture.h"

#include "host/documents/document_builder.h"
#include "host/documents/document_error.h"
#include "host/documents/document_parser.h"
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
    return host::buildDocument(host::parseDocumentText(json, "test.json"), registry);
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
