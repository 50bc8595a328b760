// The render-settings tag as the host makes it, describes it and asks it.
#include "frame/plugin_ids.h"
#include "host/model/build.h"
#include "host/model/document.h"
#include "host/plugins/description.h"
#include "host/plugins/plugin_tags.h"
#include "module_fixture.h"
#include "tags/lumeno_config_ids.h"

namespace lumeno_test {
namespace {

class LumenoConfigTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        StartModule();
        document_ = host::createDocument();
        object_ = host::makeObject(*document_, TYPE_NULL, "Settings");
        tag_ = host::addPluginTag(session().registry(), *object_, kLumenoConfigId);
    }
    void TearDown() override {
        document_.reset();
        ModuleTest::TearDown();
    }
    const HostContainer& Params() const { return tag_->params; }
    /// Which of the environment-map entries (type, file, width, gain) the description hides.
    std::string HiddenEnvironment() {
        host::DescribeResult result = host::describeTag(*tag_);
        EXPECT_TRUE(result.answered);
        EXPECT_NE(result.flags & DESCFLAGS_DESC_LOADED, 0);
        std::string hidden;
        for (int32_t id : {LCFG_ENV_MAP_TYPE, LCFG_ENV_MAP_PATH, LCFG_ENV_MAP_WIDTH, LCFG_ENV_MAP_GAIN}) {
            EXPECT_NE(result.description.entry(id), nullptr) << "entry " << id;
            if (result.description.hidden(id)) hidden += (hidden.empty() ? "" : " ") + std::to_string(id);
        }
        return hidden;
    }

    host::NodePtr document_;
    HostNode* object_ = nullptr;
    HostNode* tag_ = nullptr;
};

TEST_F(LumenoConfigTest, FreshTagHoldsEveryCreationValue) {
    ASSERT_EQ(tag_->type(), kLumenoConfigId);
    const HostContainer& p = Params();
    EXPECT_FALSE(p.getBool(LCFG_RENDERER_SETTINGS, true));
    EXPECT_EQ(p.getInt(LCFG_WIDTH), 600);
    EXPECT_EQ(p.getInt(LCFG_HEIGHT), 450);
    EXPECT_TRUE(p.getBool(LCFG_METROPOLIS));
    EXPECT_TRUE(p.getBool(LCFG_BIDIRECTIONAL));
    EXPECT_FLOAT_EQ(p.getReal(LCFG_LARGE_MUTATION_PROB), 0.2f);
    EXPECT_FLOAT_EQ(p.getReal(LCFG_MAX_CHANGE), 0.025f);
    EXPECT_FLOAT_EQ(p.getReal(LCFG_RUSSIAN_ROULETTE_LIVE_PROB), 0.7f);
    EXPECT_EQ(p.getInt(LCFG_MAX_DEPTH), 1000);
    EXPECT_EQ(p.getInt(LCFG_STRATA_WIDTH), 14);
    EXPECT_TRUE(p.getBool(LCFG_LOGGING));
    EXPECT_EQ(p.getInt(LCFG_IMAGE_SAVE_PERIOD), 20);
    EXPECT_FALSE(p.getBool(LCFG_SAVE_TONEMAPPED_EXR, true));
    EXPECT_FALSE(p.getBool(LCFG_SAVE_UNTONEMAPPED_EXR, true));
    EXPECT_EQ(p.getInt(LCFG_MAX_NUM_CONSEC_REJECTIONS), 1000);
    EXPECT_EQ(p.getInt(LCFG_FRAME_UPLOAD_PERIOD), 20);
    EXPECT_EQ(p.getInt(LCFG_HALT_TIME), -1);
    EXPECT_FALSE(p.getBool(LCFG_TONEMAPPING, true));
    EXPECT_EQ(p.getInt(LCFG_TONEMAPPING_TYPE), 1020);
    EXPECT_FLOAT_EQ(p.getReal(LCFG_TONEMAPPING_SCALE), 1.0f);
    EXPECT_FLOAT_EQ(p.getReal(LCFG_POST_SCALE), 1.0f);
    EXPECT_EQ(p.getVector(LCFG_BACKGROUND_RADIANCE, HostVector{9, 9, 9}), (HostVector{0, 0, 0}));
    EXPECT_TRUE(p.has(LCFG_SUN_OBJECT));
    EXPECT_EQ(p.getLinkToken(LCFG_SUN_OBJECT), 0u);
    EXPECT_FLOAT_EQ(p.getReal(LCFG_TURBIDITY), 2.0f);
    EXPECT_FLOAT_EQ(p.getReal(LCFG_SKY_GAIN), 0.005f);
    EXPECT_EQ(p.getInt(LCFG_ENV_MAP_TYPE), 2002);
    ASSERT_TRUE(p.has(LCFG_ENV_MAP_PATH));
    EXPECT_TRUE(std::holds_alternative<host::FileValue>(*p.find(LCFG_ENV_MAP_PATH)));
    EXPECT_EQ(p.getFilename(LCFG_ENV_MAP_PATH), "");
    EXPECT_EQ(p.getInt(LCFG_ENV_MAP_WIDTH), 640);
    EXPECT_FLOAT_EQ(p.getReal(LCFG_ENV_MAP_GAIN), 1.0f);
    EXPECT_FLOAT_EQ(p.getReal(LCFG_POS_SIZE_MULTIPLIER), 0.01f);
    EXPECT_FLOAT_EQ(p.getReal(LCFG_ASPECT_RATIO), 1.33f);
    EXPECT_FLOAT_EQ(p.getReal(LCFG_APERTURE_RADIUS), 0.001f);
    EXPECT_EQ(p.getInt(LCFG_WHITE_BALANCE), 3004);
    EXPECT_FLOAT_EQ(p.getReal(LCFG_CAMERA_AUX), 0.738f);
    EXPECT_FALSE(p.getBool(LCFG_MERGED_MESH_EXPORT, true));
    EXPECT_EQ(p.size(), 35u);
}

TEST_F(LumenoConfigTest, ParametersKeepTheirTypes) {
    const HostContainer& p = Params();
    EXPECT_EQ(host::valueType(*p.find(LCFG_WIDTH)), HOST_VALUE_INT);
    EXPECT_EQ(host::valueType(*p.find(LCFG_ENV_MAP_WIDTH)), HOST_VALUE_INT);
    EXPECT_EQ(host::valueType(*p.find(LCFG_WHITE_BALANCE)), HOST_VALUE_INT);
    EXPECT_EQ(host::valueType(*p.find(LCFG_TONEMAPPING_TYPE)), HOST_VALUE_INT);
    EXPECT_EQ(host::valueType(*p.find(LCFG_METROPOLIS)), HOST_VALUE_BOOL);
    EXPECT_EQ(host::valueType(*p.find(LCFG_POS_SIZE_MULTIPLIER)), HOST_VALUE_REAL);
    EXPECT_EQ(host::valueType(*p.find(LCFG_BACKGROUND_RADIANCE)), HOST_VALUE_VECTOR);
    EXPECT_EQ(host::valueType(*p.find(LCFG_SUN_OBJECT)), HOST_VALUE_LINK);
}

TEST_F(LumenoConfigTest, NormallyTheEnvironmentMapIsShownWithItsWidthForSphericalMaps) {
    EXPECT_EQ(HiddenEnvironment(), "");
}

TEST_F(LumenoConfigTest, Message16HidesEverythingButTheTypeUntilMessage31) {
    EXPECT_TRUE(host::sendMessage(*tag_, NODE_MSG_DESCRIPTION_EDIT_BEGIN, nullptr));
    EXPECT_EQ(HiddenEnvironment(), "2100 2101 2102");
    EXPECT_EQ(HiddenEnvironment(), "2100 2101 2102");
    EXPECT_TRUE(host::sendMessage(*tag_, NODE_MSG_DESCRIPTION_CHANGED, nullptr));
    EXPECT_EQ(HiddenEnvironment(), "");
}

TEST_F(LumenoConfigTest, LatlongMapHidesTheWidthOnceMessage31Arrives) {
    tag_->params.setInt(LCFG_ENV_MAP_TYPE, LCFG_ENV_MAP_LATLONG);
    // Until the tag is told, it still describes the type it last saw.
    EXPECT_EQ(HiddenEnvironment(), "");
    EXPECT_TRUE(host::sendMessage(*tag_, NODE_MSG_DESCRIPTION_CHANGED, nullptr));
    EXPECT_EQ(HiddenEnvironment(), "2101");

    tag_->params.setInt(LCFG_ENV_MAP_TYPE, LCFG_ENV_MAP_SPHERICAL);
    EXPECT_TRUE(host::sendMessage(*tag_, NODE_MSG_DESCRIPTION_CHANGED, nullptr));
    EXPECT_EQ(HiddenEnvironment(), "");
}

TEST_F(LumenoConfigTest, OtherMessagesChangeNothingAndAnswerTrue) {
    EXPECT_TRUE(host::sendMessage(*tag_, NODE_MSG_UPDATE, nullptr));
    EXPECT_TRUE(host::sendMessage(*tag_, 12345, nullptr));
    EXPECT_EQ(HiddenEnvironment(), "");
}

TEST_F(LumenoConfigTest, PostScaleIsEnabledOnlyForReinhard) {
    EXPECT_FALSE(host::tagParameterEnabled(*tag_, LCFG_POST_SCALE));
    EXPECT_TRUE(host::tagParameterEnabled(*tag_, LCFG_TONEMAPPING_SCALE));
    tag_->params.setInt(LCFG_TONEMAPPING_TYPE, LCFG_TONEMAPPING_REINHARD);
    EXPECT_TRUE(host::tagParameterEnabled(*tag_, LCFG_POST_SCALE));
    tag_->params.remove(LCFG_TONEMAPPING_TYPE);
    EXPECT_FALSE(host::tagParameterEnabled(*tag_, LCFG_POST_SCALE));
    EXPECT_TRUE(host::tagParameterEnabled(*tag_, LCFG_WIDTH));
}

TEST_F(LumenoConfigTest, ProcessingDoesNothing) {
    EXPECT_EQ(host::executeTag(*tag_, document_.get(), object_, 0, 0), 0);
}

} // namespace
} // namespace lumeno_test
