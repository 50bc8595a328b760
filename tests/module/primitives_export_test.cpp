// Spheres, planes, rectangle lights and mesh lights through whole saves: where the element pass
// puts them, what they carry, and the two releases' rules for a rectangle light's size.
#include "geometry_fixture.h"
#include "host/geometry/matrix.h"
#include "host/model/object_params.h"
#include "tags/lumeno_light_tag_ids.h"

namespace lumeno_test {
namespace {

constexpr bool kRelease95 = LUMENO_HOST_RELEASE >= 95;

class PrimitivesExportTest : public GeometryTest {
protected:
    HostNode* Make(int32_t type, const std::string& name, HostVector offset = {0, 0, 0}, HostNode* parent = nullptr) {
        HostNode* object = host::makeObject(*document_, type, name, parent);
        object->local.off = offset;
        return object;
    }
    HostNode* AreaLight(const std::string& name, HostVector offset = {0, 0, 0}) {
        HostNode* light = Make(TYPE_LIGHT, name, offset);
        light->params.setInt(host::LIGHT_KIND, host::LIGHT_KIND_AREA);
        return light;
    }
    HostNode* LightTag(HostNode& object) {
        return host::addPluginTag(session().registry(), object, kLumenoLightTagId);
    }
    HostNode* Instance(const std::string& name, HostNode* of, HostVector offset = {0, 0, 0}) {
        HostNode* instance = Make(TYPE_INSTANCE, name, offset);
        instance->params.setLink(INSTANCE_LINK, of);
        return instance;
    }
    /// The scene's elements `name`, saved first.
    std::vector<const TiXmlElement*> Saved(const char* name) {
        xml_ = SaveAndLoad();
        EXPECT_NE(xml_, nullptr);
        return xml_ ? Elements(SceneOf(*xml_), name) : std::vector<const TiXmlElement*>{};
    }
    /// The form of an element's `spectrum`: "peak", "blackbody", "rgb" or "empty".
    static std::string SpectrumForm(const TiXmlElement* element) {
        const TiXmlElement* spectrum = element->FirstChildElement("spectrum");
        if (!spectrum) return "<missing>";
        const TiXmlElement* form = spectrum->FirstChildElement();
        return form ? form->Value() : "empty";
    }

    std::unique_ptr<TiXmlDocument> xml_;
};

TEST_F(PrimitivesExportTest, OnlyAreaLightsAreWrittenWithOrWithoutALightTag) {
    Make(TYPE_LIGHT, "Point");
    LightTag(*Make(TYPE_LIGHT, "Tagged point"));
    HostNode* spot = Make(TYPE_LIGHT, "Spot");
    spot->params.setInt(host::LIGHT_KIND, 3);
    LightTag(*spot);
    AreaLight("Area");
    auto lights = Saved("rectanglelight");
    ASSERT_EQ(lights.size(), 1u);
    EXPECT_EQ(NameComment(lights[0]), "Area");
    EXPECT_EQ(Elements(SceneOf(*xml_), "mesh").size(), 0u);
}

TEST_F(PrimitivesExportTest, RectangleLightTakesSizeAndSpectrumByTheReleasesRule) {
    // With a light tag: the tag's size in 9.0, the light's own area size (scaled) in 9.5. A
    // texture tag gives an emitter no material.
    HostNode* tagged = AreaLight("Tagged", {100, 200, 300});
    tagged->params.setReal(host::LIGHT_AREA_WIDTH, 300);
    tagged->params.setReal(host::LIGHT_AREA_HEIGHT, 100);
    host::makeTextureTag(*tagged, *red_);
    HostNode* tag = LightTag(*tagged);
    tag->params.setReal(LLIGHT_WIDTH, 1.5f);
    tag->params.setReal(LLIGHT_HEIGHT, 0.5f);
    tag->params.setInt(LLIGHT_SPECTRUM_TYPE, LLIGHT_SPECTRUM_BLACKBODY);
    // Without a light tag: size and spectrum from the light's own container.
    HostNode* own = AreaLight("Own");
    own->params.setReal(LLIGHT_WIDTH, 2.0f);
    own->params.setReal(LLIGHT_HEIGHT, 3.0f);
    own->params.setInt(LLIGHT_SPECTRUM_TYPE, LLIGHT_SPECTRUM_RGB);
    // Nothing of its own: 0.4 by 0.4 and an empty spectrum; in 9.5 a width of 0 takes the
    // height, and an absent height is 0.2.
    HostNode* bare = AreaLight("Bare");
    bare->params.setReal(host::LIGHT_AREA_WIDTH, 0);
    bare->params.remove(host::LIGHT_AREA_HEIGHT);
    HostNode* square = AreaLight("Square");
    square->params.setReal(host::LIGHT_AREA_WIDTH, 0);
    square->params.setReal(host::LIGHT_AREA_HEIGHT, 50);

    struct Expected {
        const char* name;
        const char* width;
        const char* height;
        const char* spectrum;
    };
    const Expected expected[] = {
        {"Tagged", kRelease95 ? "3.000000" : "1.500000", kRelease95 ? "1.000000" : "0.500000", "blackbody"},
        {"Own", "2.000000", kRelease95 ? "2.000000" : "3.000000", "rgb"},
        {"Bare", kRelease95 ? "0.002000" : "0.400000", kRelease95 ? "0.002000" : "0.400000", "empty"},
        {"Square", kRelease95 ? "0.500000" : "0.400000", kRelease95 ? "0.500000" : "0.400000", "empty"},
    };
    auto lights = Saved("rectanglelight");
    ASSERT_EQ(lights.size(), 4u);
    for (size_t n = 0; n < 4; ++n) {
        SCOPED_TRACE(expected[n].name);
        EXPECT_EQ(NameComment(lights[n]), expected[n].name);
        // The spectrum stands last, and no material_name follows it.
        EXPECT_EQ(ChildNames(lights[n]), "pos width height spectrum");
        EXPECT_EQ(ChildText(lights[n], "width"), expected[n].width);
        EXPECT_EQ(ChildText(lights[n], "height"), expected[n].height);
        EXPECT_EQ(SpectrumForm(lights[n]), expected[n].spectrum);
    }
    EXPECT_EQ(ChildText(lights[0], "pos"), "1.000000 3.000000 2.000000");
}

TEST_F(PrimitivesExportTest, SphereRadiusIsItsOwnXScaleTimesItsHalfSize) {
    HostNode* ball = Make(TYPE_SPHERE, "Ball");
    ball->params.setReal(host::SPHERE_RADIUS, 1);
    ball->local = host::matrixFromPlacement({100, 200, 300}, {0, 0, 0}, {2, 5, 5});
    host::makeTextureTag(*ball, *red_);
    // A scaled parent moves the centre but leaves the radius alone.
    HostNode* group = Make(TYPE_NULL, "Group");
    group->local = host::matrixFromPlacement({10, 0, 0}, {0, 0, 0}, {3, 3, 3});
    Make(TYPE_SPHERE, "Inner", {0, 100, 0}, group);

    auto spheres = Saved("sphere");
    ASSERT_EQ(spheres.size(), 2u);
    EXPECT_EQ(NameComment(spheres[0]), "Ball");
    EXPECT_EQ(ChildNames(spheres[0]), "center radius material_name");
    EXPECT_EQ(ChildText(spheres[0], "center"), "1.000000 3.000000 2.000000");
    EXPECT_EQ(ChildText(spheres[0], "radius"), "0.020000");
    EXPECT_EQ(ChildText(spheres[0], "material_name"), "Red");
    EXPECT_EQ(ChildText(spheres[1], "center"), "0.100000 0.000000 3.000000");
    EXPECT_EQ(ChildText(spheres[1], "radius"), "1.000000");
    EXPECT_EQ(ChildText(spheres[1], "material_name"), "lumeno_default_material");
}

TEST_F(PrimitivesExportTest, PlaneDistanceRunsAlongItsUnitNormal) {
    Make(TYPE_PLANE, "Floor", {0, 100, 0});
    // Scaled twice along its normal it still stands at height 100.
    HostNode* stretched = Make(TYPE_PLANE, "Stretched");
    stretched->local = host::matrixFromPlacement({0, 100, 0}, {0, 0, 0}, {1, 2, 1});
    // Turned so that its normal is host +z, the renderer's y.
    HostNode* wall = Make(TYPE_PLANE, "Wall", {0, 0, 50});
    wall->local.v2 = {0, 0, 1};
    wall->local.v3 = {0, -1, 0};

    auto planes = Saved("plane");
    ASSERT_EQ(planes.size(), 3u);
    EXPECT_EQ(ChildNames(planes[0]), "normal dist material_name");
    for (size_t n = 0; n < 2; ++n) {
        SCOPED_TRACE(NameComment(planes[n]));
        EXPECT_EQ(ChildText(planes[n], "normal"), "0.000000 0.000000 1.000000");
        EXPECT_EQ(ChildText(planes[n], "dist"), "1.000000");
    }
    EXPECT_EQ(ChildText(planes[2], "normal"), "0.000000 1.000000 0.000000");
    EXPECT_EQ(ChildText(planes[2], "dist"), "0.500000");
}

TEST_F(PrimitivesExportTest, ExclusionHidesSpheresAndPlanesButNotRectangleLights) {
    for (int32_t type : {TYPE_SPHERE, TYPE_PLANE})
        ObjectTag(*Make(type, "Hidden"), false, true);
    ObjectTag(*AreaLight("Lamp"), false, true);
    // Children of a hidden shape are still walked.
    Make(TYPE_SPHERE, "Below", {0, 0, 0}, host::firstObject(*document_));
    EXPECT_EQ(Saved("rectanglelight").size(), 1u);
    auto spheres = Elements(SceneOf(*xml_), "sphere");
    ASSERT_EQ(spheres.size(), 1u);
    EXPECT_EQ(NameComment(spheres[0]), "Below");
    EXPECT_EQ(Elements(SceneOf(*xml_), "plane").size(), 0u);
}

TEST_F(PrimitivesExportTest, InstanceOfASphereTakesItsPlaceScaleAndMaterialAndTheSpheresSize) {
    HostNode* ball = Make(TYPE_SPHERE, "Ball");
    ball->params.setReal(host::SPHERE_RADIUS, 50);
    ball->local = host::matrixFromPlacement({0, 0, 0}, {0, 0, 0}, {4, 4, 4});
    host::makeTextureTag(*ball, *blue_);
    HostNode* copy = Instance("Copy", ball);
    copy->local = host::matrixFromPlacement({200, 0, 0}, {0, 0, 0}, {2, 2, 2});
    host::makeTextureTag(*copy, *red_);
    ObjectTag(*Instance("Hidden copy", ball), false, true);
    Make(TYPE_INSTANCE, "Empty link");
    Instance("Floor copy", Make(TYPE_PLANE, "Floor", {0, -100, 0}));

    auto spheres = Saved("sphere");
    ASSERT_EQ(spheres.size(), 2u);
    EXPECT_EQ(NameComment(spheres[1]), "Copy");
    EXPECT_EQ(ChildText(spheres[1], "center"), "2.000000 0.000000 0.000000");
    EXPECT_EQ(ChildText(spheres[1], "radius"), "1.000000");
    EXPECT_EQ(ChildText(spheres[1], "material_name"), "Red");
    // The instance's own placement, not the plane's.
    auto planes = Elements(SceneOf(*xml_), "plane");
    ASSERT_EQ(planes.size(), 2u);
    EXPECT_EQ(NameComment(planes[1]), "Floor copy");
    EXPECT_EQ(ChildText(planes[1], "dist"), "0.000000");
}

TEST_F(PrimitivesExportTest, InstanceOfAnAreaLightTakesTheKindFromTheLightAndTheRestFromItself) {
    HostNode* panel = AreaLight("Panel");
    panel->params.setReal(host::LIGHT_AREA_WIDTH, 100);
    LightTag(*panel)->params.setReal(LLIGHT_WIDTH, 1.0f);
    // Without a tag of its own: the instance's own container, which holds no size or spectrum.
    Instance("Plain copy", panel, {0, 500, 0});
    HostNode* tagged = Instance("Tagged copy", panel);
    HostNode* tag = LightTag(*tagged);
    tag->params.setReal(LLIGHT_WIDTH, 0.7f);
    tag->params.setInt(LLIGHT_SPECTRUM_TYPE, LLIGHT_SPECTRUM_RGB);
    // The kind is the linked light's, whatever the instance holds.
    Instance("Copy of a point", Make(TYPE_LIGHT, "Point"))->params.setInt(host::LIGHT_KIND, host::LIGHT_KIND_AREA);

    auto lights = Saved("rectanglelight");
    ASSERT_EQ(lights.size(), 3u);
    EXPECT_EQ(NameComment(lights[1]), "Plain copy");
    EXPECT_EQ(ChildText(lights[1], "pos"), "0.000000 0.000000 5.000000");
    EXPECT_EQ(ChildText(lights[1], "width"), kRelease95 ? "1.000000" : "0.400000");
    EXPECT_EQ(SpectrumForm(lights[1]), "empty");
    EXPECT_EQ(NameComment(lights[2]), "Tagged copy");
    EXPECT_EQ(ChildText(lights[2], "width"), kRelease95 ? "1.000000" : "0.700000");
    EXPECT_EQ(SpectrumForm(lights[2]), "rgb");
}

TEST_F(PrimitivesExportTest, PolygonObjectWithALightTagIsAMeshLightWithItsSpectrumLast) {
    HostNode* lamp = Triangle("Lamp");
    host::makeTextureTag(*lamp, *red_);
    LightTag(*lamp)->params.setInt(LLIGHT_SPECTRUM_TYPE, LLIGHT_SPECTRUM_RGB);
    // The conversion takes the last light tag.
    LightTag(*lamp);

    auto lights = Saved("meshlight");
    ASSERT_EQ(lights.size(), 1u);
    EXPECT_EQ(GeometryOrder(SceneOf(*xml_)), "mesh | meshlight");
    EXPECT_EQ(NameComment(lights[0]), "Lamp");
    EXPECT_EQ(ChildNames(lights[0]), "pos scale mesh_name spectrum");
    EXPECT_EQ(SpectrumForm(lights[0]), "peak");
    EXPECT_EQ(meshfile::readMeshFile(MeshFile(0)).faces(), 1u);
}

} // namespace
} // namespace lumeno_test
