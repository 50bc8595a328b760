// A registry with one tag plug-in made in the test: ID 10000, described by the module's real
// "Tlumenoconfig" resource, whose initialise writes a few values that differ from what a
// document would give, so tests can tell the tag's defaults from the document's values.
#pragma once

#include <string>

#include <gtest/gtest.h>

#include "host/documents/document_file.h"
#include "host/model/node.h"
#include "host/plugins/registry.h"

namespace testing_documents {

constexpr int32_t settingsTagId = 10000;
constexpr const char* settingsTagName = "Test Settings";
// What the test tag's initialise writes.
constexpr int32_t initWidth = 600;      // LCFG_WIDTH 1009
constexpr int32_t initHaltTime = -1;    // LCFG_HALT_TIME 2502
constexpr bool initLogging = true;      // LCFG_LOGGING 1017
constexpr float initMultiplier = 0.01f; // LCFG_POS_SIZE_MULTIPLIER 1005

/// Instances of the test tag alive now.
int liveTestTags();

class DocumentTest : public ::testing::Test {
protected:
    DocumentTest();

    /// Parses and builds document text (named "test.json" in errors).
    host::NodePtr load(const std::string& json);
    /// The DocumentError of loading `json`; fails the test when it loads.
    std::string refusalPath(const std::string& json, std::string* message = nullptr);

    host::Registry registry;
};

} // namespace testing_documents
