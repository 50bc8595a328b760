#include <gtest/gtest.h>

#include <unistd.h>

#include "host/model/build.h"
#include "host/model/document.h"
#include "host/plugins/session.h"
#include "host/settings/preferences.h"
#include "host/table/handles.h"
#include "host/text/host_text.h"
#include "host_constants.h"

namespace {

namespace fs = std::filesystem;

class TableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() /
                 ("lumeno-table-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        host::SessionOptions options;
        options.prefsFile = folder / "prefs.json";
        session = std::make_unique<host::Session>(options);
        t = session->table();
    }
    void TearDown() override
    {
        session.reset();
        fs::remove_all(folder);
    }

    fs::path folder;
    std::unique_ptr<host::Session> session;
    const HostTable* t = nullptr;
};

TEST_F(TableTest, TextsConvertCutAtCharacterBoundaries)
{
    HostString* text = t->text->from_cstring("caf\xC3\xA9!");
    EXPECT_EQ(t->text->length(text), 5);
    char buffer[5];
    EXPECT_EQ(t->text->to_cstring(text, buffer, sizeof buffer), 3);
    EXPECT_STREQ(buffer, "caf");
    t->text->free(text);
    EXPECT_EQ(session->liveHandles(), 0);
}

TEST_F(TableTest, FileNamesAndTheDialog)
{
    HostString* path = t->text->from_cstring("/scenes/a.xml");
    HostFilename* name = t->filename->from_text(path);
    HostFilename* folderName = t->filename->folder_part(name);
    HostFilename* file = t->filename->name_part(name);
    EXPECT_EQ(folderName->path, "/scenes");
    EXPECT_EQ(file->path, "a.xml");

    EXPECT_FALSE(t->filename->dialog(name, FILE_DIALOG_KIND_ANY, FILE_DIALOG_SAVE, path))
        << "cancels when nobody answers";
    session->setFileDialog([](std::string& chosen, int32_t, int32_t mode, const std::string& title) {
        chosen = title + (mode == FILE_DIALOG_SAVE ? ".save" : ".open");
        return true;
    });
    EXPECT_TRUE(t->filename->dialog(name, FILE_DIALOG_KIND_ANY, FILE_DIALOG_SAVE, path));
    EXPECT_EQ(name->path, "/scenes/a.xml.save");

    for (HostFilename* f : {name, folderName, file})
        t->filename->free(f);
    t->text->free(path);
    EXPECT_EQ(session->liveHandles(), 0);
}

TEST_F(TableTest, ContainerLinksResolveThroughTheTable)
{
    auto doc = host::createDocument();
    HostNode* cube = host::makeObject(*doc, TYPE_CUBE, "Cube");
    HostNode* red = host::makeMaterial(*doc, "Red");
    HostContainer* c = t->container->create();
    t->container->set_link(c, 1, cube);
    t->container->set_link(c, 2, red);
    EXPECT_EQ(t->container->get_link(c, 1, doc.get(), LINK_FILTER_OBJECT), cube);
    EXPECT_EQ(t->container->get_link(c, 2, doc.get(), LINK_FILTER_OBJECT), nullptr);
    EXPECT_EQ(t->container->get_link(c, 2, doc.get(), LINK_FILTER_ANY), red);

    HostValue value{};
    cube->params.setLink(7, red);
    ASSERT_TRUE(t->node->get_parameter(cube, 7, &value));
    EXPECT_EQ(value.type, HOST_VALUE_LINK);
    EXPECT_EQ(t->node->resolve_link(value.link, doc.get(), LINK_FILTER_ANY), red);
    EXPECT_FALSE(t->node->get_parameter(cube, 8, &value));
    t->container->free(c);
}

TEST_F(TableTest, NodesInsertedRemovedAndFreed)
{
    HostDocument* doc = t->document->create();
    HostNode* temp = t->document->create();
    auto made = host::newObject(TYPE_POLYGON_OBJECT, "Mesh");
    HostObject* mesh = made.release();
    t->document->insert_object(doc, mesh, nullptr, nullptr, 1);
    EXPECT_EQ(t->document->first_object(doc), mesh);
    EXPECT_EQ(t->node->document(mesh), doc);

    // Inserting an object that is already placed is refused, not half done.
    t->document->insert_object(temp, mesh, nullptr, nullptr, 1);
    EXPECT_EQ(t->document->first_object(temp), nullptr);
    EXPECT_FALSE(session->diagnostics().empty());

    t->node->remove(mesh);
    EXPECT_EQ(t->document->first_object(doc), nullptr);
    t->document->insert_object(temp, mesh, nullptr, nullptr, 1);
    EXPECT_EQ(t->node->document(mesh), temp);

    EXPECT_EQ(session->liveHandles(), 2);
    t->document->free(temp);
    t->node->free(doc);
    EXPECT_EQ(session->liveHandles(), 0);
}

TEST_F(TableTest, PluginSettingsMergeAndPersist)
{
    HostContainer* settings = t->container->create();
    HostFilename* folderName = t->filename->create();
    folderName->path = "/opt/lumeno";
    t->container->set_filename(settings, 1000, folderName);
    EXPECT_TRUE(t->settings->store_plugin_settings(1019430, settings, 0));
    t->container->free(settings);

    settings = t->container->create();
    folderName->path = "/scenes/last.xml";
    t->container->set_filename(settings, 1001, folderName);
    EXPECT_TRUE(t->settings->store_plugin_settings(1019430, settings, SETTINGS_MERGE));
    t->container->free(settings);
    t->filename->free(folderName);

    const HostContainer* stored = t->settings->plugin_settings(1019430);
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->getFilename(1000), "/opt/lumeno");
    EXPECT_EQ(stored->getFilename(1001), "/scenes/last.xml");
    EXPECT_EQ(host::Preferences(folder / "prefs.json").find(1019430)->getFilename(1000),
              "/opt/lumeno");
    EXPECT_EQ(t->settings->plugin_settings(5), nullptr);
}

TEST_F(TableTest, StringsOfAModuleFolder)
{
    HostFilename* good = t->filename->create();
    good->path = LUMENO_SOURCE_DIR;
    HostResource* strings = t->resource->load_strings(good);
    ASSERT_NE(strings, nullptr);
    HostString* name = t->resource->string(strings, 10001);
    HostString* missing = t->resource->string(strings, 424242);
    EXPECT_GT(t->text->length(name), 0);
    EXPECT_EQ(t->text->length(missing), 0);
    t->text->free(name);
    t->text->free(missing);
    t->resource->release(strings);

    good->path = folder.string(); // no res/ here
    EXPECT_EQ(t->resource->load_strings(good), nullptr);
    ASSERT_EQ(session->diagnostics().size(), 1u);
    EXPECT_NE(session->diagnostics()[0].find("module.str"), std::string::npos);
    t->filename->free(good);
    EXPECT_EQ(session->liveHandles(), 0);
}

TEST_F(TableTest, TextsShownAndScratch)
{
    HostString* text = t->text->from_cstring("No renderer folder is set.");
    t->settings->show_text(text);
    t->text->free(text);
    EXPECT_EQ(session->shownTexts(), std::vector<std::string>{"No renderer folder is set."});

    EXPECT_EQ(t->settings->text_container(nullptr, 1019468), nullptr);
    HostContainer texts;
    texts.setString(1000, "Set the renderer folder first.");
    session->setTextContainer(1019468, texts);
    EXPECT_EQ(t->settings->text_container(nullptr, 1019468)->getString(1000),
              "Set the renderer folder first.");

    HostScratch* scratch = t->settings->scratch_acquire();
    EXPECT_NE(scratch, nullptr);
    t->settings->scratch_release(scratch);
    session->setScratchAvailable(false);
    EXPECT_EQ(t->settings->scratch_acquire(), nullptr);
}

} // namespace
