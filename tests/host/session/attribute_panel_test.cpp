// The attribute panel as the host shows a plug-in tag (the fake module's tag hides parameter 1001
// and disables 1000), and parameter edits with the messages around them.
#include <gtest/gtest.h>

#include <algorithm>
#include <unistd.h>

#include "host/model/build.h"
#include "host/model/document.h"
#include "host/plugins/attribute_panel.h"
#include "host/plugins/parameter_edit.h"
#include "host/plugins/plugin_tags.h"
#include "host/plugins/session.h"
#include "host_constants.h"
#include "tests/host/session/fake_module.h"

namespace {

namespace fs = std::filesystem;

class AttributePanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake::reset();
        scratch_ = fs::temp_directory_path() /
                   ("lumeno-panel-" + std::to_string(::getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(scratch_);
        host::SessionOptions options;
        options.prefsFile = scratch_ / "prefs.json";
        session_ = std::make_unique<host::Session>(options);
        session_->attachModule(fake::c4d_main, fs::path(LUMENO_SOURCE_DIR) / "LumenoExporter.so");
        ASSERT_EQ(session_->startModule(), C4D_RESULT_OK);
        document_ = host::createDocument();
        cube_ = host::makeObject(*document_, TYPE_CUBE, "Cube");
        tag_ = host::addPluginTag(session_->registry(), *cube_, fake::TAG_ID);
        fake::state().log.clear();
    }
    void TearDown() override
    {
        document_.reset();
        session_.reset();
        fs::remove_all(scratch_);
    }
    std::vector<std::string> Messages() const
    {
        std::vector<std::string> messages;
        for (const std::string& line : fake::state().log)
            if (line.rfind("tag message", 0) == 0)
                messages.push_back(line);
        return messages;
    }

    fs::path scratch_;
    std::unique_ptr<host::Session> session_;
    host::NodePtr document_;
    HostNode* cube_ = nullptr;
    HostNode* tag_ = nullptr;
};

TEST_F(AttributePanelTest, HiddenEntriesAreLeftOutAndDisabledOnesMarked)
{
    host::AttributePanel panel = host::attributePanel(*tag_, session_->registry());
    ASSERT_TRUE(panel.described);
    EXPECT_EQ(panel.flags & DESCFLAGS_DESC_LOADED, DESCFLAGS_DESC_LOADED);
    // The description lists both parameters; the tag hides 1001 (LOBJ_EXCLUDE).
    EXPECT_EQ(panel.description.entries.size(), 2u);
    ASSERT_EQ(panel.rows.size(), 1u);
    const host::PanelRow& row = panel.rows.front();
    EXPECT_EQ(row.id, 1000);
    EXPECT_EQ(row.symbol, "LOBJ_NO_NORMAL_SMOOTHING");
    EXPECT_EQ(row.label, "No normal smoothing");
    EXPECT_EQ(row.type, "BOOL");
    EXPECT_EQ(row.group, "Export");
    EXPECT_FALSE(row.enabled) << "the fake tag disables parameter 1000";
    ASSERT_TRUE(row.value.has_value());
    EXPECT_EQ(std::get<int32_t>(*row.value), 42) << "the value its initialise wrote";
}

TEST_F(AttributePanelTest, AbsentParameterHasNoValue)
{
    tag_->params.remove(fake::TAG_DEFAULT_PARAMETER);
    host::AttributePanel panel = host::attributePanel(*tag_, session_->registry());
    ASSERT_EQ(panel.rows.size(), 1u);
    EXPECT_FALSE(panel.rows.front().value.has_value());
}

TEST_F(AttributePanelTest, HostTagsHaveNoPanel)
{
    HostNode* texture = host::makeTag(*cube_, TYPE_TEXTURE_TAG);
    host::AttributePanel panel = host::attributePanel(*texture, session_->registry());
    EXPECT_FALSE(panel.described);
    EXPECT_TRUE(panel.rows.empty());
}

TEST_F(AttributePanelTest, EditSendsBeginThenChangedAfterTheValueIsWritten)
{
    EXPECT_TRUE(host::editParameter(*tag_, fake::TAG_DEFAULT_PARAMETER, int32_t{7}));
    EXPECT_EQ(tag_->params.getInt(fake::TAG_DEFAULT_PARAMETER), 7);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"tag message 16", "tag message 31"}));
}

TEST_F(AttributePanelTest, EditToTheSameValueSendsOnlyTheBegin)
{
    EXPECT_FALSE(host::editParameter(*tag_, fake::TAG_DEFAULT_PARAMETER, int32_t{42}));
    EXPECT_EQ(Messages(), (std::vector<std::string>{"tag message 16"}));
}

TEST_F(AttributePanelTest, ChangeOfKindOrOfAMissingParameterCounts)
{
    // 42 as a real is another value than the integer 42.
    EXPECT_TRUE(host::editParameter(*tag_, fake::TAG_DEFAULT_PARAMETER, 42.0f));
    EXPECT_TRUE(host::editParameter(*tag_, 1234, host::FileValue{""}));
    EXPECT_FALSE(host::editParameter(*tag_, 1234, host::FileValue{""}));
    EXPECT_EQ(Messages(), (std::vector<std::string>{"tag message 16", "tag message 31", "tag message 16",
                                                    "tag message 31", "tag message 16"}));
}

TEST_F(AttributePanelTest, HostNodesAreEditedWithoutAnyoneToTell)
{
    EXPECT_TRUE(host::editParameter(*cube_, 1201, HostVector{1, 2, 3}));
    EXPECT_EQ(cube_->params.getVector(1201), (HostVector{1, 2, 3}));
    EXPECT_TRUE(Messages().empty());
}

} // namespace
