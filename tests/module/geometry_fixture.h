// What the geometry tests share: a started module, a document to fill, small polygon objects of
// documented size, and saves through the registered saver into the test's folder.
#pragma once

#include <string>
#include <vector>

#include "frame/plugin_ids.h"
#include "host/model/build.h"
#include "host/model/document.h"
#include "host/plugins/plugin_tags.h"
#include "module_fixture.h"
#include "tests/e2e/mesh_file_reader.h"

namespace lumeno_test {

class GeometryTest : public ModuleTest {
protected:
    void SetUp() override;
    void TearDown() override;

    /// A polygon object with one triangle (0, 0, 0), (100, 0, 0), (0, 100, 0), moved by `offset`.
    HostNode* Triangle(const std::string& name, HostNode* parent = nullptr, HostVector offset = {0, 0, 0});
    /// A polygon object with one quad, the square (0, 0, 0) to (100, 100, 0), moved by `offset`.
    HostNode* Quad(const std::string& name, HostNode* parent = nullptr, HostVector offset = {0, 0, 0});
    /// The object tag on `object`, with its two booleans.
    HostNode* ObjectTag(HostNode& object, bool noSmoothing, bool exclude);

    /// Saves `document_` to `file` through the registered saver.
    int32_t Save(const fs::path& file);
    /// Saves to <temp>/a.xml and answers the parsed file (none when it does not parse).
    std::unique_ptr<TiXmlDocument> SaveAndLoad(int32_t expected = FILE_RESULT_OK);

    fs::path SceneFile() const { return Temp("a.xml"); }
    fs::path MeshFile(int n) const { return Temp("a.xml." + std::to_string(n) + ".3DS"); }

    host::NodePtr document_;
    HostNode* red_ = nullptr;   // material "Red" of the document
    HostNode* blue_ = nullptr;  // material "Blue" of the document
};

/// The child elements of `scene` named `name`, in order.
std::vector<const TiXmlElement*> Elements(const TiXmlElement* scene, const char* name);
/// The geometry elements of `scene` in order (`mesh`, `model`, `meshlight`), with "|" where the
/// default material stands: "mesh mesh | model model".
std::string GeometryOrder(const TiXmlElement* scene);
/// The text of the comment in front of an element's children, or "<none>".
std::string NameComment(const TiXmlElement* element);

} // namespace lumeno_test
