// What the tests of the scene-wide sections share: a started module, a document, and an export
// context as a save sets it up (a `scene` element from the template, a saver's export state in
// its initial values, the output folder), so that one section can be run on its own.
#pragma once

#include <string>

#include "export/export_context.h"
#include "export/lumeno_saver_data.h"
#include "host/model/node.h"
#include "module_fixture.h"

namespace lumeno_test {

class SectionTest : public ModuleTest {
protected:
    void SetUp() override;
    void TearDown() override;

    /// A render-settings tag made as the application makes one, last on `object`.
    HostNode* ConfigTag(HostNode& object);
    /// Sets the context's output folder text.
    void SetOutputFolder(const std::string& folder);
    /// The scene's child elements, in order, separated by blanks.
    std::string SceneChildren() const { return ChildNames(scene_); }
    /// The first child element `name` of the scene, or none.
    const TiXmlElement* SceneChild(const char* name) const { return scene_->FirstChildElement(name); }

    host::NodePtr document_;
    LumenoSaverData saver_;
    TiXmlDocument xml_;
    TiXmlElement* scene_ = nullptr;
    ExportContext context_{};
};

} // namespace lumeno_test
