// The scene file's camera: which camera is taken, its placement in the renderer's axes and units,
// its lens values and focus distance, and the extras of the export state.
#include <cmath>
#include <cstdio>

#include "export/camera_export.h"
#include "export/xml_helpers.h"
#include "host/model/build.h"
#include "host/model/document.h"
#include "host/model/object_params.h"
#include "section_fixture.h"

namespace lumeno_test {
namespace {

class CameraExportTest : public SectionTest {
protected:
    void SetUp() override {
        SectionTest::SetUp();
        // The worked example: at (100, 200, 300), looking along +z with +y up, a 36 mm film
        // seen across 2 atan(18/36).
        camera_ = host::makeObject(*document_, TYPE_CAMERA, "Camera");
        camera_->local.off = {100, 200, 300};
        host::lookThroughObject(*document_, *camera_);
    }
    const TiXmlElement* Camera() {
        ExportCamera(context_);
        return SceneChild("camera");
    }
    std::string Value(const char* name) { return ChildText(SceneChild("camera"), name); }
    /// Exports again into an empty scene, as a new save would.
    void Reexport() {
        scene_->Clear();
        saver_.cameraWritten = false;
        ExportCamera(context_);
    }

    HostNode* camera_ = nullptr;
};

TEST_F(CameraExportTest, WorkedExampleWithAFreshExportState) {
    const TiXmlElement* camera = Camera();
    ASSERT_NE(camera, nullptr);
    const TiXmlComment* comment = camera->FirstChild() ? camera->FirstChild()->ToComment() : nullptr;
    ASSERT_NE(comment, nullptr) << "the multiplier comment comes first";
    EXPECT_STREQ(comment->Value(), "Global Pos/Size Multiplier: 0.010000");
    EXPECT_EQ(ChildNames(camera), "pos up forwards aperture_radius focus_distance sensor_width "
                                  "lens_sensor_dist aspect_ratio white_balance");
    EXPECT_EQ(Value("pos"), "1.000000 3.000000 2.000000");
    EXPECT_EQ(Value("up"), "0.000000 0.000000 1.000000");
    EXPECT_EQ(Value("forwards"), "0.000000 1.000000 0.000000");
    EXPECT_EQ(Value("aperture_radius"), "0.000100");
    // The host camera's own focus distance of 2000 units, scaled.
    EXPECT_EQ(Value("focus_distance"), "20.000000");
    EXPECT_EQ(Value("sensor_width"), "0.036000");
    EXPECT_EQ(Value("lens_sensor_dist"), "0.036000");
    EXPECT_EQ(Value("aspect_ratio"), "1.330000");
    EXPECT_EQ(Value("white_balance"), "D65");
    EXPECT_TRUE(saver_.cameraWritten);
}

TEST_F(CameraExportTest, MultiplierScalesPositionAndFocusOnly) {
    saver_.posSizeMultiplier = 0.1f;
    saver_.apertureRadius = 0.002f;
    saver_.aspectRatio = 1.5f;
    std::snprintf(saver_.whiteBalance, sizeof saver_.whiteBalance, "%s", "9300");
    const TiXmlElement* camera = Camera();
    ASSERT_NE(camera, nullptr);
    EXPECT_STREQ(camera->FirstChild()->Value(), "Global Pos/Size Multiplier: 0.100000");
    EXPECT_EQ(Value("pos"), "10.000000 30.000000 20.000000");
    EXPECT_EQ(Value("focus_distance"), "200.000000");
    EXPECT_EQ(Value("up"), "0.000000 0.000000 1.000000");
    EXPECT_EQ(Value("forwards"), "0.000000 1.000000 0.000000");
    EXPECT_EQ(Value("sensor_width"), "0.036000");
    EXPECT_EQ(Value("lens_sensor_dist"), "0.036000");
    EXPECT_EQ(Value("aperture_radius"), "0.002000");
    EXPECT_EQ(Value("aspect_ratio"), "1.500000");
    EXPECT_EQ(Value("white_balance"), "9300");
}

TEST_F(CameraExportTest, DirectionsComeFromTheWorldMatrixInRendererOrder) {
    // Turned by a heading of 90 degrees inside a parent that is lifted: it looks along +x.
    HostNode* rig = host::makeObject(*document_, TYPE_NULL, "Rig");
    rig->local.off = {0, 50, 0};
    HostNode* turned = host::makeObject(*document_, TYPE_CAMERA, "Turned", rig);
    turned->local = HostMatrix{{0, 0, 0}, {0, 0, -2}, {0, 3, 0}, {5, 0, 0}};
    host::lookThroughObject(*document_, *turned);
    ASSERT_NE(Camera(), nullptr);
    EXPECT_EQ(Value("pos"), "0.000000 0.000000 0.500000");
    // Axes of any length are written as unit vectors.
    EXPECT_EQ(Value("up"), "0.000000 0.000000 1.000000");
    EXPECT_EQ(Value("forwards"), "1.000000 0.000000 0.000000");
}

TEST_F(CameraExportTest, DegenerateAxisIsWrittenAsZero) {
    camera_->local.v2 = {0, 0, 0};
    ASSERT_NE(Camera(), nullptr);
    EXPECT_EQ(Value("up"), "0.000000 0.000000 0.000000");
    EXPECT_EQ(Value("forwards"), "0.000000 1.000000 0.000000");
}

TEST_F(CameraExportTest, LensValuesFollowFilmWidthAndFieldOfView) {
    camera_->params.setReal(host::CAMERA_FILM_WIDTH, 24.0f);
    // Half the film seen through half the default angle's tangent: a lens twice the film width.
    camera_->params.setReal(CAMERA_FIELD_OF_VIEW, 2.0f * std::atan(12.0f / 48.0f));
    ASSERT_NE(Camera(), nullptr);
    EXPECT_EQ(Value("sensor_width"), "0.024000");
    EXPECT_EQ(Value("lens_sensor_dist"), "0.048000");
}

TEST_F(CameraExportTest, FieldOfViewZeroWritesTheStandardLensInsteadOfInfinity) {
    camera_->params.setReal(CAMERA_FIELD_OF_VIEW, 0.0f);
    ASSERT_NE(Camera(), nullptr);
    EXPECT_EQ(Value("lens_sensor_dist"), "0.036000");
    EXPECT_FLOAT_EQ(LensSensorDistance(0.024f, 0.0f), 0.024f);
    EXPECT_FLOAT_EQ(LensSensorDistance(0.036f, 2.0f * std::atan(0.5f)), 0.036f);

    // A camera without the parameter at all is treated alike.
    camera_->params.remove(CAMERA_FIELD_OF_VIEW);
    Reexport();
    EXPECT_EQ(Value("lens_sensor_dist"), "0.036000");
}

TEST_F(CameraExportTest, TargetTagSetsTheFocusToTheTargetsDistance) {
    camera_->params.setReal(host::CAMERA_FOCUS_DISTANCE, 1234.0f);
    HostNode* target = host::makeObject(*document_, TYPE_NULL, "Target");
    target->local.off = {100, 200, 800}; // 500 units in front of the camera
    host::makeCameraTargetTag(*camera_, *target);
    ASSERT_NE(Camera(), nullptr);
    EXPECT_EQ(Value("focus_distance"), "5.000000");
}

TEST_F(CameraExportTest, LastTargetTagWithALinkedObjectDecides) {
    HostNode* near = host::makeObject(*document_, TYPE_NULL, "Near");
    near->local.off = {100, 200, 400}; // 100 units away
    HostNode* far = host::makeObject(*document_, TYPE_NULL, "Far");
    far->local.off = {400, 600, 300}; // 500 units away
    host::makeCameraTargetTag(*camera_, *near);
    HostNode* second = host::makeCameraTargetTag(*camera_, *far);
    ASSERT_NE(Camera(), nullptr);
    EXPECT_EQ(Value("focus_distance"), "5.000000");

    // An empty link in the later tag changes nothing.
    second->params.setLink(CAMERA_TARGET_LINK, nullptr);
    Reexport();
    EXPECT_EQ(Value("focus_distance"), "1.000000");

    // A deleted target neither.
    second->params.setLink(CAMERA_TARGET_LINK, far);
    host::freeNode(far);
    Reexport();
    EXPECT_EQ(Value("focus_distance"), "1.000000");
}

TEST_F(CameraExportTest, TargetTagLinkingAMaterialIsNoTarget) {
    HostNode* target = host::makeObject(*document_, TYPE_NULL, "Target");
    target->local.off = {100, 200, 800}; // 500 units in front of the camera
    host::makeCameraTargetTag(*camera_, *target);
    // A later tag naming a material would otherwise count as an object at the origin.
    host::makeCameraTargetTag(*camera_, *host::makeMaterial(*document_, "Red"));
    ASSERT_NE(Camera(), nullptr);
    EXPECT_EQ(Value("focus_distance"), "5.000000");
}

TEST_F(CameraExportTest, MultiplierCommentKeepsTheWholeNumberOfTheLargestMultipliers) {
    const struct {
        float multiplier;
        const char* comment;
    } cases[] = {{1e30f, "Global Pos/Size Multiplier: 1000000015047466219876688855040.000000"},
                 {3.4028235e38f,
                  "Global Pos/Size Multiplier: 340282346638528859811704183484516925440.000000"}};
    for (const auto& c : cases) {
        saver_.posSizeMultiplier = c.multiplier;
        Reexport();
        EXPECT_STREQ(SceneChild("camera")->FirstChild()->Value(), c.comment);
    }
}

TEST_F(CameraExportTest, ViewWithoutACameraObjectUsesItsEditorCamera) {
    // The scene camera of the view is deleted: the view's own editor camera remains.
    host::freeNode(camera_);
    const TiXmlElement* camera = Camera();
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(Value("pos"), "0.000000 -10.000000 0.000000");
    EXPECT_EQ(Value("forwards"), "0.000000 1.000000 0.000000");
    EXPECT_EQ(Value("focus_distance"), "20.000000");
}

TEST_F(CameraExportTest, NoViewWritesNoCameraButCountsAsDone) {
    host::removeView(*document_);
    EXPECT_EQ(Camera(), nullptr);
    EXPECT_EQ(SceneChildren(), "");
    EXPECT_TRUE(saver_.cameraWritten);
}

TEST_F(CameraExportTest, WrittenOncePerSaveInFrontOfWhatTheSceneHolds) {
    AddTextChild(scene_, "background", "");
    ExportCamera(context_);
    ExportCamera(context_);
    EXPECT_EQ(SceneChildren(), "camera background");
}

} // namespace
} // namespace lumeno_test
