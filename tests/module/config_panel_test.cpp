// The render-settings tag in the host's attribute panel: which entries it shows and enables, and
// how edits made as the panel makes them (message 16, the change, message 31) change that.
#include <algorithm>

#include "frame/plugin_ids.h"
#include "host/model/build.h"
#include "host/model/document.h"
#include "host/plugins/attribute_panel.h"
#include "host/plugins/parameter_edit.h"
#include "host/plugins/plugin_tags.h"
#include "module_fixture.h"
#include "tags/lumeno_config_ids.h"

namespace lumeno_test {
namespace {

class ConfigPanelTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        StartModule();
        document_ = host::createDocument();
        HostNode* object = host::makeObject(*document_, TYPE_NULL, "Settings");
        tag_ = host::addPluginTag(session().registry(), *object, kLumenoConfigId);
    }
    void TearDown() override {
        document_.reset();
        ModuleTest::TearDown();
    }
    host::AttributePanel Panel() { return host::attributePanel(*tag_, session().registry()); }
    /// The panel's environment-map entries (type 2001, file 2100, width 2101, gain 2102) by ID.
    std::string EnvironmentShown() {
        std::string shown;
        for (const host::PanelRow& row : Panel().rows)
            if (row.id >= LCFG_ENV_MAP_TYPE && row.id <= LCFG_ENV_MAP_GAIN)
                shown += (shown.empty() ? "" : " ") + std::to_string(row.id);
        return shown;
    }
    const host::PanelRow* Row(const host::AttributePanel& panel, int32_t id) {
        auto found = std::find_if(panel.rows.begin(), panel.rows.end(),
                                  [id](const host::PanelRow& row) { return row.id == id; });
        return found == panel.rows.end() ? nullptr : &*found;
    }

    host::NodePtr document_;
    HostNode* tag_ = nullptr;
};

TEST_F(ConfigPanelTest, FreshTagShowsEveryParameterWithItsLabelAndChoices) {
    host::AttributePanel panel = Panel();
    ASSERT_TRUE(panel.described);
    EXPECT_EQ(panel.rows.size(), 35u);
    const host::PanelRow* width = Row(panel, LCFG_WIDTH);
    ASSERT_NE(width, nullptr);
    EXPECT_EQ(width->symbol, "LCFG_WIDTH");
    EXPECT_EQ(width->type, "LONG");
    EXPECT_EQ(std::get<int32_t>(*width->value), 600);

    using Codes = std::vector<int32_t>;
    auto codes = [&](int32_t id) {
        Codes out;
        if (const host::PanelRow* row = Row(panel, id))
            for (const auto& choice : row->choices) out.push_back(choice.first);
        return out;
    };
    EXPECT_EQ(codes(LCFG_TONEMAPPING_TYPE), (Codes{1020, 1021}));
    EXPECT_EQ(codes(LCFG_ENV_MAP_TYPE), (Codes{2002, 2003}));
    EXPECT_EQ(codes(LCFG_WHITE_BALANCE),
              (Codes{3001, 3002, 3003, 3004, 3005, 3006, 3007, 3008, 3009, 3010, 3011, 3012}));
    for (const auto& choice : Row(panel, LCFG_WHITE_BALANCE)->choices)
        EXPECT_FALSE(choice.second.empty()) << "label of code " << choice.first;
}

TEST_F(ConfigPanelTest, PostScaleIsEnabledOnlyForReinhard) {
    host::AttributePanel panel = Panel();
    for (const host::PanelRow& row : panel.rows)
        EXPECT_EQ(row.enabled, row.id != LCFG_POST_SCALE) << row.symbol;

    host::editParameter(*tag_, LCFG_TONEMAPPING_TYPE, LCFG_TONEMAPPING_REINHARD);
    EXPECT_TRUE(Row(Panel(), LCFG_POST_SCALE)->enabled);
    host::editParameter(*tag_, LCFG_TONEMAPPING_TYPE, LCFG_TONEMAPPING_LINEAR);
    EXPECT_FALSE(Row(Panel(), LCFG_POST_SCALE)->enabled);
}

TEST_F(ConfigPanelTest, ChoosingLatlongHidesTheWidthAtTheNextDescription) {
    EXPECT_EQ(EnvironmentShown(), "2001 2100 2101 2102");
    // Message 31 comes after the change, so the tag already sees latlong.
    EXPECT_TRUE(host::editParameter(*tag_, LCFG_ENV_MAP_TYPE, LCFG_ENV_MAP_LATLONG));
    EXPECT_EQ(EnvironmentShown(), "2001 2100 2102");
    EXPECT_TRUE(host::editParameter(*tag_, LCFG_ENV_MAP_TYPE, LCFG_ENV_MAP_SPHERICAL));
    EXPECT_EQ(EnvironmentShown(), "2001 2100 2101 2102");
}

TEST_F(ConfigPanelTest, EditThatChangesNothingLeavesTheMapHiddenUntilAChange) {
    // Message 16 hides the map's entries; without a change no 31 follows to show them again.
    EXPECT_FALSE(host::editParameter(*tag_, LCFG_WIDTH, int32_t{600}));
    EXPECT_EQ(EnvironmentShown(), "2001");
    EXPECT_TRUE(host::editParameter(*tag_, LCFG_WIDTH, int32_t{800}));
    EXPECT_EQ(EnvironmentShown(), "2001 2100 2101 2102");
}

} // namespace
} // namespace lumeno_test
