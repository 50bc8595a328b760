#include "geometry_fixture.h"

#include "tags/lumeno_generic_obj_tag_ids.h"

namespace lumeno_test {

void GeometryTest::SetUp() {
    ModuleTest::SetUp();
    StartModule();
    document_ = host::createDocument();
    red_ = host::makeMaterial(*document_, "Red");
    blue_ = host::makeMaterial(*document_, "Blue");
}

void GeometryTest::TearDown() {
    // The document's plug-in tags belong to this session's registry.
    document_.reset();
    ModuleTest::TearDown();
}

namespace {

HostNode* PolygonObject(HostNode& document, const std::string& name, HostNode* parent, HostVector offset) {
    HostNode* object = host::makeObject(document, TYPE_POLYGON_OBJECT, name, parent);
    object->local.off = offset;
    return object;
}

} // namespace

HostNode* GeometryTest::Triangle(const std::string& name, HostNode* parent, HostVector offset) {
    HostNode* object = PolygonObject(*document_, name, parent, offset);
    object->points = {{0, 0, 0}, {100, 0, 0}, {0, 100, 0}};
    object->polygons = {{0, 1, 2, 2}};
    return object;
}

HostNode* GeometryTest::Quad(const std::string& name, HostNode* parent, HostVector offset) {
    HostNode* object = PolygonObject(*document_, name, parent, offset);
    object->points = {{0, 0, 0}, {100, 0, 0}, {100, 100, 0}, {0, 100, 0}};
    object->polygons = {{0, 1, 2, 3}};
    return object;
}

HostNode* GeometryTest::ObjectTag(HostNode& object, bool noSmoothing, bool exclude) {
    HostNode* tag = host::addPluginTag(session().registry(), object, kLumenoGenericObjTagId);
    tag->params.setBool(LOBJ_NO_NORMAL_SMOOTHING, noSmoothing);
    tag->params.setBool(LOBJ_EXCLUDE, exclude);
    return tag;
}

int32_t GeometryTest::Save(const fs::path& file) {
    return session().saveWithSaver(kLumenoSaverId, document_.get(), file);
}

std::unique_ptr<TiXmlDocument> GeometryTest::SaveAndLoad(int32_t expected) {
    EXPECT_EQ(Save(SceneFile()), expected);
    return LoadScene(SceneFile());
}

std::vector<const TiXmlElement*> Elements(const TiXmlElement* scene, const char* name) {
    std::vector<const TiXmlElement*> found;
    for (const TiXmlElement* e = scene ? scene->FirstChildElement(name) : nullptr; e; e = e->NextSiblingElement(name))
        found.push_back(e);
    return found;
}

std::string GeometryOrder(const TiXmlElement* scene) {
    std::string order;
    for (const TiXmlElement* e = scene ? scene->FirstChildElement() : nullptr; e; e = e->NextSiblingElement()) {
        const std::string name = e->Value();
        std::string word;
        if (name == "mesh" || name == "model" || name == "meshlight")
            word = name;
        else if (name == "material" && ChildText(e, "name") == "lumeno_default_material")
            word = "|";
        if (!word.empty()) order += (order.empty() ? "" : " ") + word;
    }
    return order;
}

std::string NameComment(const TiXmlElement* element) {
    const TiXmlNode* first = element ? element->FirstChild() : nullptr;
    const TiXmlComment* comment = first ? first->ToComment() : nullptr;
    return comment ? comment->Value() : "<none>";
}

} // namespace lumeno_test
