#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <unistd.h>

#include "host/memory/allocator.h"
#include "host/model/build.h"
#include "host/model/copy.h"
#include "host/model/document.h"
#include "host/plugins/plugin_tags.h"
#include "host/plugins/registry.h"
#include "host/plugins/session.h"
#include "host/settings/preferences.h"
#include "host_constants.h"
#include "tests/host/session/fake_module.h"

namespace {

namespace fs = std::filesystem;

const fs::path sourceDir = LUMENO_SOURCE_DIR;

bool contains(const std::vector<std::string>& lines, const std::string& part)
{
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& line) { return line.find(part) != std::string::npos; });
}

class SessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake::reset();
        scratch = fs::temp_directory_path() /
                  ("lumeno-session-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(scratch);
        fs::create_directories(scratch);
        options.prefsFile = scratch / "prefs.json";
    }
    void TearDown() override { fs::remove_all(scratch); }

    /// A session running the fake module from `folder` (its res/ is read from there).
    std::unique_ptr<host::Session> startFake(const fs::path& folder = sourceDir)
    {
        auto session = std::make_unique<host::Session>(options);
        session->attachModule(fake::c4d_main, folder / "LumenoExporter.so");
        startResult = session->startModule();
        return session;
    }

    fs::path scratch;
    host::SessionOptions options;
    int32_t startResult = -100;
};

TEST_F(SessionTest, TableReportsItsVersionFirstAndEveryGroup)
{
    options.interfaceVersion = 7499;
    host::Session session(options);
    const HostTable* table = session.table();
    EXPECT_EQ(*reinterpret_cast<const int32_t*>(table), 7499);
    for (const void* group : {(const void*)table->memory, (const void*)table->text,
                              (const void*)table->filename, (const void*)table->resource,
                              (const void*)table->registry, (const void*)table->settings,
                              (const void*)table->node, (const void*)table->object,
                              (const void*)table->document, (const void*)table->container,
                              (const void*)table->material, (const void*)table->image,
                              (const void*)table->surface})
        EXPECT_NE(group, nullptr);
    EXPECT_NE(table->document->copy, nullptr);
    EXPECT_NE(table->container->get_link, nullptr);

    session.attachModule(fake::c4d_main, sourceDir / "LumenoExporter.so");
    EXPECT_EQ(session.init(), C4D_RESULT_TOO_OLD);
}

TEST_F(SessionTest, OnlyOneSessionAtATime)
{
    host::Session session(options);
    EXPECT_EQ(host::Session::current(), &session);
    EXPECT_THROW(host::Session second(options), host::HostError);
}

TEST_F(SessionTest, FakeModuleRegistersThroughTheTable)
{
    auto session = startFake();
    ASSERT_EQ(startResult, C4D_RESULT_OK) << ::testing::PrintToString(session->diagnostics());
    const auto plugins = session->registry().list();
    ASSERT_EQ(plugins.size(), 3u);

    EXPECT_EQ(plugins[0]->id, fake::SAVER_ID);
    EXPECT_EQ(plugins[0]->kind, PLUGIN_KIND_SCENE_SAVER);
    EXPECT_EQ(plugins[0]->name, "Fake Saver");
    EXPECT_EQ(plugins[0]->suffix, "xml");

    EXPECT_EQ(plugins[1]->kind, PLUGIN_KIND_TAG);
    EXPECT_EQ(plugins[1]->flags, 1);
    EXPECT_EQ(plugins[1]->description, "Tlumenogenericobjtag");
    // The module freed its image right after registering; the registry kept its own.
    ASSERT_NE(plugins[1]->icon(), nullptr);
    EXPECT_EQ(plugins[1]->icon()->width, 32u);
    EXPECT_EQ(plugins[1]->tag.icon->pixels->height, 32u);

    EXPECT_EQ(plugins[2]->kind, PLUGIN_KIND_COMMAND);
    EXPECT_EQ(plugins[2]->help, "Does nothing, helpfully.");
    EXPECT_EQ(plugins[2]->command.help->utf8, "Does nothing, helpfully.");

    EXPECT_EQ(session->liveHandles(), 0) << "the fake module frees every text and image";
}

TEST_F(SessionTest, MissingIconFailsItsRegistrationAndIsReported)
{
    fake::state().tagIcon = "nothere.tif";
    auto session = startFake();
    EXPECT_EQ(startResult, C4D_RESULT_FAILED);
    ASSERT_EQ(session->registry().size(), 1u);
    EXPECT_EQ(session->registry().list()[0]->id, fake::SAVER_ID);
    EXPECT_TRUE(contains(session->diagnostics(), (sourceDir / "res" / "nothere.tif").string()));
}

TEST_F(SessionTest, BrokenIconFailsItsRegistration)
{
    fs::create_directories(scratch / "module" / "res");
    std::ofstream(scratch / "module" / "res" / "broken.tif") << "II*\0 not really a TIFF";
    fake::state().tagIcon = "broken.tif";
    auto session = startFake(scratch / "module");
    EXPECT_EQ(startResult, C4D_RESULT_FAILED);
    EXPECT_EQ(session->registry().find(fake::TAG_ID), nullptr);
    EXPECT_TRUE(contains(session->diagnostics(), "broken.tif"));
}

TEST_F(SessionTest, EndsTheModuleAsOftenAsInitialisedThenDestroysCommands)
{
    {
        auto session = startFake();
        EXPECT_EQ(session->init(), C4D_RESULT_OK);
        EXPECT_EQ(session->initCount(), 2);
        EXPECT_EQ(fake::state().ends, 0);
    }
    EXPECT_EQ(fake::state().ends, 2);
    const auto& log = fake::state().log;
    const auto lastEnd = std::find(log.rbegin(), log.rend(), "end");
    const auto destroyed = std::find(log.begin(), log.end(), "command destroy");
    ASSERT_NE(destroyed, log.end());
    EXPECT_GT(destroyed - log.begin(), log.rend() - lastEnd - 1) << "commands die after the ends";
    EXPECT_EQ(host::Session::current(), nullptr);
}

TEST_F(SessionTest, SaveGoesThroughAllocateInitSaveDestroy)
{
    auto session = startFake();
    auto doc = host::createDocument();
    host::makeObject(*doc, TYPE_CUBE, "Cube");
    host::makeObject(*doc, TYPE_SPHERE, "Ball");
    fake::state().log.clear();
    fake::state().saveResult = FILE_RESULT_OPEN_FAILED;

    const auto blocks = session->allocator().liveBlocks();
    const int32_t result = session->saveWithSaver(fake::SAVER_ID, doc.get(), "/tmp/out.xml");
    EXPECT_EQ(result, FILE_RESULT_OPEN_FAILED);
    EXPECT_EQ(fake::state().log,
              (std::vector<std::string>{"saver init " + std::to_string(fake::SAVER_ID),
                                        "saver save /tmp/out.xml flags 1 objects 2",
                                        "destroy " + std::to_string(PLUGIN_KIND_SCENE_SAVER)}));
    EXPECT_EQ(session->allocator().liveBlocks(), blocks);

    session->allocator().failAllocation(1);
    EXPECT_EQ(session->saveWithSaver(fake::SAVER_ID, doc.get(), "/tmp/out.xml"),
              FILE_RESULT_OUT_OF_MEMORY);
    EXPECT_THROW(session->saveWithSaver(fake::TAG_ID, doc.get(), "/tmp/out.xml"), host::HostError);
}

TEST_F(SessionTest, PluginTagsAreMadeCopiedAndFreedThroughTheirRecord)
{
    auto session = startFake();
    auto doc = host::createDocument();
    HostNode* cube = host::makeObject(*doc, TYPE_CUBE, "Cube");
    const auto blocks = session->allocator().liveBlocks();

    HostNode* tag = host::addPluginTag(session->registry(), *cube, fake::TAG_ID);
    EXPECT_EQ(tag->type(), fake::TAG_ID);
    EXPECT_EQ(tag->params.getInt(fake::TAG_DEFAULT_PARAMETER, 0), 42);
    EXPECT_EQ(session->allocator().liveBlocks(), blocks + 1);

    // The copy gets an instance of its own; the original's values win over the new defaults.
    tag->params.setInt(fake::TAG_DEFAULT_PARAMETER, 5);
    host::NodePtr copy = host::copyNode(*cube);
    ASSERT_TRUE(copy);
    const HostNode* tagCopy = copy->tags().first();
    ASSERT_NE(host::pluginTag(*tagCopy), nullptr);
    EXPECT_NE(host::pluginTag(*tagCopy)->instance(), host::pluginTag(*tag)->instance());
    EXPECT_EQ(tagCopy->params.getInt(fake::TAG_DEFAULT_PARAMETER, 0), 5);
    EXPECT_EQ(session->allocator().liveBlocks(), blocks + 2);

    copy.reset();
    host::freeNode(tag);
    EXPECT_EQ(session->allocator().liveBlocks(), blocks);
    EXPECT_EQ(std::count(fake::state().log.begin(), fake::state().log.end(),
                         "destroy " + std::to_string(PLUGIN_KIND_TAG)),
              2);
    EXPECT_THROW(host::createPluginTag(session->registry(), fake::SAVER_ID), host::HostError);
}

TEST_F(SessionTest, PluginTagDispatch)
{
    auto session = startFake();
    auto doc = host::createDocument();
    HostNode* cube = host::makeObject(*doc, TYPE_CUBE, "Cube");
    HostNode* tag = host::addPluginTag(session->registry(), *cube, fake::TAG_ID);

    EXPECT_TRUE(host::sendMessage(*tag, NODE_MSG_UPDATE, nullptr));
    EXPECT_FALSE(host::sendMessage(*tag, 99, nullptr));
    EXPECT_TRUE(host::sendMessage(*cube, 99, nullptr)) << "host nodes accept every message";
    EXPECT_FALSE(host::tagParameterEnabled(*tag, fake::TAG_DEFAULT_PARAMETER));
    EXPECT_TRUE(host::tagParameterEnabled(*tag, fake::TAG_HIDDEN_PARAMETER));
    EXPECT_EQ(host::executeTag(*tag, doc.get(), cube, 0, 0), 7);

    const host::DescribeResult described = host::describeTag(*tag);
    ASSERT_TRUE(described.answered);
    EXPECT_EQ(described.flags & DESCFLAGS_DESC_LOADED, DESCFLAGS_DESC_LOADED);
    const HostContainer* exclude = described.description.entry(1001);
    ASSERT_NE(exclude, nullptr);
    EXPECT_EQ(exclude->getString(host::DESC_PROPERTY_SYMBOL), "LOBJ_EXCLUDE");
    EXPECT_EQ(exclude->getString(host::DESC_PROPERTY_TYPE), "BOOL");
    EXPECT_FALSE(exclude->getString(host::DESC_PROPERTY_LABEL).empty());
    ASSERT_NE(exclude->getContainer(DESC_PROPERTY_CYCLE), nullptr);
    EXPECT_TRUE(described.description.hidden(fake::TAG_HIDDEN_PARAMETER));
    EXPECT_FALSE(described.description.hidden(1000));
}

TEST_F(SessionTest, SessionEndReleasesInstancesOfTagsStillAlive)
{
    auto doc = host::createDocument();
    {
        auto session = startFake();
        HostNode* cube = host::makeObject(*doc, TYPE_CUBE, "Cube");
        host::addPluginTag(session->registry(), *cube, fake::TAG_ID);
    }
    EXPECT_EQ(std::count(fake::state().log.begin(), fake::state().log.end(),
                         "destroy " + std::to_string(PLUGIN_KIND_TAG)),
              1);
    HostNode* tag = host::firstObject(*doc)->tags().first();
    EXPECT_EQ(host::pluginTag(*tag), nullptr);
    doc.reset(); // no second destroy into the gone module
}

TEST_F(SessionTest, LoadModuleNamesTheFileItCannotLoad)
{
    host::Session session(options);
    try {
        session.loadModule(scratch);
        FAIL() << "loaded a missing module";
    } catch (const host::HostError& e) {
        EXPECT_NE(std::string(e.what()).find((scratch / "LumenoExporter.so").string()),
                  std::string::npos);
    }
    std::ofstream(scratch / "LumenoExporter.so") << "not a shared object";
    try {
        session.loadModule(scratch);
        FAIL() << "loaded a broken module";
    } catch (const host::HostError& e) {
        EXPECT_NE(std::string(e.what()).find("LumenoExporter.so"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("cannot load"), std::string::npos);
    }
}

} // namespace
