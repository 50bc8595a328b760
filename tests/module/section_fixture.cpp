#include "section_fixture.h"

#include "export/scene_defaults.h"
#include "frame/host_text.h"
#include "frame/plugin_ids.h"
#include "host/model/document.h"
#include "host/plugins/plugin_tags.h"

namespace lumeno_test {

void SectionTest::SetUp() {
    ModuleTest::SetUp();
    StartModule();
    document_ = host::createDocument();
    // Not the host's instance: it must not touch the saver's settings when it goes.
    saver_.commandOwned = true;
    scene_ = ParseSceneTemplate(xml_);
    ASSERT_NE(scene_, nullptr);
    context_.document = document_.get();
    context_.sceneElement = scene_;
    context_.saver = &saver_;
    SetOutputFolder("/scenes");
}

void SectionTest::TearDown() {
    // The document's plug-in tags belong to this session's registry.
    document_.reset();
    ModuleTest::TearDown();
}

HostNode* SectionTest::ConfigTag(HostNode& object) {
    return host::addPluginTag(session().registry(), object, kLumenoConfigId);
}

void SectionTest::SetOutputFolder(const std::string& folder) {
    CopyTextCut(context_.outputFolder, kOutputTextSize, folder.c_str());
}

} // namespace lumeno_test
