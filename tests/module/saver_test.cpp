// Saves through the registered saver: what reaches the file and what each failure answers.
#include <sys/resource.h>

#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <string>
#include <vector>

#include "export/lumeno_saver_data.h"
#include "frame/plugin_ids.h"
#include "host/memory/allocator.h"
#include "host/model/build.h"
#include "host/model/document.h"
#include "host/plugins/plugin_tags.h"
#include "module_fixture.h"
#include "tags/lumeno_config_ids.h"

namespace lumeno_test {
namespace {

class SaverTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        StartModule();
        document_ = host::createDocument();
    }
    void TearDown() override {
        // The document's plug-in tags belong to this session's registry.
        document_.reset();
        ModuleTest::TearDown();
    }
    int32_t Save(HostNode* document, const fs::path& file, int32_t flags = SAVE_FLAG_WRITE) {
        return session().saveWithSaver(kLumenoSaverId, document, file, flags);
    }
    HostNode* ConfigTag(HostNode& object) {
        return host::addPluginTag(session().registry(), object, kLumenoConfigId);
    }
    /// A path of exactly `length` characters in an existing folder of the temporary folder.
    fs::path PathOfLength(size_t length) {
        fs::path folder = Temp(std::string(100, 'f'));
        fs::create_directories(folder);
        size_t nameLength = length - folder.string().size() - 1;
        return folder / (std::string(nameLength - 4, 's') + ".xml");
    }

    host::NodePtr document_;
};

/// Checks the file holds the scene of a save without any section of its own: the default
/// background first, then the camera of the new document's view, then the default material.
void ExpectDefaultScene(const fs::path& file) {
    auto xml = LoadScene(file);
    ASSERT_NE(xml, nullptr);
    const TiXmlElement* scene = SceneOf(*xml);
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(ChildNames(scene), "background camera material");
    EXPECT_EQ(ChildText(scene->FirstChildElement("background"), "radiance"), "0.0 0.2 0.2");
    const TiXmlElement* material = scene->FirstChildElement("material");
    EXPECT_EQ(ChildText(material, "name"), "lumeno_default_material");
    EXPECT_EQ(ChildText(material ? material->FirstChildElement("diffuse") : nullptr, "colour"),
              "0.8 0.8 0.8");
}

TEST_F(SaverTest, EmptyDocumentGetsTheDefaultBackgroundFirstAndTheDefaultMaterial) {
    fs::path file = Temp("empty.xml");
    ASSERT_EQ(Save(document_.get(), file), FILE_RESULT_OK);
    ExpectDefaultScene(file);

    auto xml = LoadScene(file);
    ASSERT_NE(xml, nullptr);
    const TiXmlDeclaration* declaration = xml->FirstChild() ? xml->FirstChild()->ToDeclaration() : nullptr;
    ASSERT_NE(declaration, nullptr);
    EXPECT_STREQ(declaration->Version(), "1.0");
    EXPECT_STREQ(declaration->Encoding(), "utf-16");
}

TEST_F(SaverTest, DocumentWithAFreshRenderSettingsTagGetsItsBackgroundInsteadOfTheDefault) {
    HostNode* cube = host::makeObject(*document_, TYPE_CUBE, "Cube");
    ConfigTag(*cube);
    fs::path file = Temp("tagged.xml");
    ASSERT_EQ(Save(document_.get(), file), FILE_RESULT_OK);
    auto xml = LoadScene(file);
    ASSERT_NE(xml, nullptr);
    const TiXmlElement* scene = SceneOf(*xml);
    EXPECT_EQ(ChildNames(scene), "camera background material");
    EXPECT_EQ(ChildText(scene->FirstChildElement("background"), "radiance"), "0.000000 0.000000 0.000000");
}

TEST_F(SaverTest, FlagsWithoutBit0TouchNothing) {
    fs::path existing = Temp("existing.xml");
    std::ofstream(existing) << "keep";
    EXPECT_EQ(Save(document_.get(), existing, 2), FILE_RESULT_OK);
    EXPECT_EQ(ReadFile(existing), "keep");

    fs::path absent = Temp("absent.xml");
    EXPECT_EQ(Save(document_.get(), absent, 0), FILE_RESULT_OK);
    EXPECT_FALSE(fs::exists(absent));
}

TEST_F(SaverTest, NoDocumentAnswersMinus7AndWritesNothing) {
    fs::path file = Temp("nodoc.xml");
    EXPECT_EQ(Save(nullptr, file), FILE_RESULT_OUT_OF_MEMORY);
    EXPECT_FALSE(fs::exists(file));
}

TEST_F(SaverTest, UnopenableFileAnswersMinus1) {
    EXPECT_EQ(Save(document_.get(), Temp("no-such-folder/scene.xml")), FILE_RESULT_OPEN_FAILED);
    EXPECT_EQ(Save(document_.get(), Temp("")), FILE_RESULT_OPEN_FAILED);  // a folder
    EXPECT_EQ(Save(document_.get(), ""), FILE_RESULT_OPEN_FAILED);
}

TEST_F(SaverTest, PathOf255CharactersIsWritten) {
    fs::path file = PathOfLength(255);
    ASSERT_EQ(file.string().size(), 255u);
    ASSERT_EQ(Save(document_.get(), file), FILE_RESULT_OK);
    ExpectDefaultScene(file);
}

TEST_F(SaverTest, LongerPathIsRefusedAndNoOtherFileIsWritten) {
    fs::path file = PathOfLength(256);
    ASSERT_EQ(file.string().size(), 256u);
    EXPECT_EQ(Save(document_.get(), file), FILE_RESULT_OPEN_FAILED);
    EXPECT_FALSE(fs::exists(file));
    // Cutting the path to 255 characters would have named a sibling file.
    EXPECT_FALSE(fs::exists(file.string().substr(0, 255)));
    EXPECT_TRUE(fs::is_empty(file.parent_path()));
}

TEST_F(SaverTest, LongerPathEndingInAWideCharacterIsRefused) {
    // 256 bytes whose last character takes two: the cut would end the path one character early.
    fs::path ascii = PathOfLength(254);
    fs::path file = ascii.parent_path() / (ascii.filename().string() + "\xC3\xA9");
    ASSERT_EQ(file.string().size(), 256u);
    EXPECT_EQ(Save(document_.get(), file), FILE_RESULT_OPEN_FAILED);
    EXPECT_TRUE(fs::is_empty(file.parent_path()));
}

TEST_F(SaverTest, LongFolderIsRefused) {
    fs::path folder = Temp(std::string(120, 'a')) / std::string(120, 'b');
    fs::create_directories(folder);
    ASSERT_GT(folder.string().size(), 255u);
    EXPECT_EQ(Save(document_.get(), folder / "s.xml"), FILE_RESULT_OPEN_FAILED);
    EXPECT_TRUE(fs::is_empty(folder));
}

TEST_F(SaverTest, WriteErrorOnAFullDiskIsAFailure) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "this system has no /dev/full";
    EXPECT_EQ(Save(document_.get(), "/dev/full"), FILE_RESULT_OPEN_FAILED);
    // The device is written directly: nothing is left beside it.
    EXPECT_TRUE(fs::exists("/dev/full"));
}

/// The files of a folder by name, sorted, separated by blanks.
std::string FilesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string all;
    for (const auto& name : names) all += (all.empty() ? "" : " ") + name;
    return all;
}

TEST_F(SaverTest, FailedSavesLeaveTheEarlierFileAsItWasAndNoTemporaryFile) {
    // A file-size limit makes every write past 64 bytes fail, as a full disk would; the host
    // failing to give memory for the XML document fails the save before anything is printed.
    const struct {
        const char* name;
        bool sizeLimit;
        int32_t result;
    } cases[] = {{"size limit", true, FILE_RESULT_OPEN_FAILED},
                 {"no memory", false, FILE_RESULT_OUT_OF_MEMORY}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::path folder = Temp(c.name);
        fs::create_directories(folder);
        fs::path earlier = folder / "earlier.xml";
        std::ofstream(earlier) << "<scene>earlier</scene>";
        fs::path fresh = folder / "fresh.xml";
        for (const fs::path& file : {earlier, fresh}) {
            SaverHandle saver(session());
            struct rlimit previous {};
            ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
            struct rlimit small = previous;
            small.rlim_cur = 64;
            void (*previousHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
            if (c.sizeLimit)
                ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
            else
                session().allocator().failAllocation(1);
            const int32_t result = saver.Save(document_.get(), file);
            setrlimit(RLIMIT_FSIZE, &previous);
            std::signal(SIGXFSZ, previousHandler);
            EXPECT_EQ(result, c.result);
        }
        EXPECT_EQ(ReadFile(earlier), "<scene>earlier</scene>");
        EXPECT_EQ(FilesIn(folder), "earlier.xml") << "no new file, no temporary file";
    }
}

TEST_F(SaverTest, LinkedSceneFileStaysALinkToTheReplacedFile) {
    fs::path target = Temp("real.xml");
    std::ofstream(target) << "old";
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    fs::path link = Temp("link.xml");
    fs::create_symlink(target, link);
    ASSERT_EQ(Save(document_.get(), link), FILE_RESULT_OK);
    EXPECT_TRUE(fs::is_symlink(link));
    ExpectDefaultScene(target);
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write)
        << "the replaced file keeps its permissions";
}

TEST_F(SaverTest, ReadOnlySceneFileIsNotReplaced) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not hold for the superuser";
    fs::path file = Temp("readonly.xml");
    std::ofstream(file) << "kept";
    fs::permissions(file, fs::perms::owner_read);
    EXPECT_EQ(Save(document_.get(), file), FILE_RESULT_OPEN_FAILED);
    EXPECT_EQ(ReadFile(file), "kept");
    EXPECT_EQ(FilesIn(file.parent_path()), "readonly.xml");
}

TEST_F(SaverTest, TwoSavesWithOneInstanceWriteTwoCompleteFiles) {
    SaverHandle saver(session());
    ASSERT_EQ(saver.Save(document_.get(), Temp("first.xml")), FILE_RESULT_OK);
    ASSERT_EQ(saver.Save(document_.get(), Temp("second.xml")), FILE_RESULT_OK);
    ExpectDefaultScene(Temp("first.xml"));
    ExpectDefaultScene(Temp("second.xml"));
}

TEST_F(SaverTest, SavingOverAnExistingFileReplacesIt) {
    fs::path file = Temp("again.xml");
    std::ofstream(file) << std::string(10000, 'x');
    ASSERT_EQ(Save(document_.get(), file), FILE_RESULT_OK);
    ExpectDefaultScene(file);
}

// The export state that the save takes from the first render-settings tag.
class RenderSettingsReadTest : public SaverTest {
protected:
    void SetUp() override {
        SaverTest::SetUp();
        saver_ = std::make_unique<SaverHandle>(session());
    }
    void TearDown() override {
        saver_.reset();
        SaverTest::TearDown();
    }
    LumenoSaverData& SaveAndRead() {
        EXPECT_EQ(saver_->Save(document_.get(), Temp("read.xml")), FILE_RESULT_OK);
        return *saver_->get();
    }
    HostNode* TaggedObject(const char* name, HostNode* parent = nullptr) {
        HostNode* object = host::makeObject(*document_, TYPE_NULL, name, parent);
        return ConfigTag(*object);
    }
    std::unique_ptr<SaverHandle> saver_;
};

TEST_F(RenderSettingsReadTest, WithoutATagTheDefaultsHold) {
    host::makeObject(*document_, TYPE_CUBE, "Cube");
    LumenoSaverData& state = SaveAndRead();
    EXPECT_FLOAT_EQ(state.posSizeMultiplier, 0.01f);
    EXPECT_FLOAT_EQ(state.aspectRatio, 1.33f);
    EXPECT_FLOAT_EQ(state.apertureRadius, 0.0001f);
    EXPECT_STREQ(state.whiteBalance, "D65");
    EXPECT_FALSE(state.mergedMeshExport);
}

TEST_F(RenderSettingsReadTest, AFreshTagGivesItsCreationValues) {
    TaggedObject("Settings");
    LumenoSaverData& state = SaveAndRead();
    EXPECT_FLOAT_EQ(state.posSizeMultiplier, 0.01f);
    EXPECT_FLOAT_EQ(state.aspectRatio, 1.33f);
    EXPECT_FLOAT_EQ(state.apertureRadius, 0.001f);
    EXPECT_STREQ(state.whiteBalance, "D65");
    EXPECT_FALSE(state.mergedMeshExport);
}

TEST_F(RenderSettingsReadTest, ATagLackingTheValuesGivesTheFallbacks) {
    HostNode* tag = TaggedObject("Settings");
    for (int32_t id : {LCFG_POS_SIZE_MULTIPLIER, LCFG_ASPECT_RATIO, LCFG_APERTURE_RADIUS,
                       LCFG_WHITE_BALANCE, LCFG_MERGED_MESH_EXPORT})
        tag->params.remove(id);
    saver_->get()->posSizeMultiplier = 7.0f;
    saver_->get()->apertureRadius = 7.0f;
    LumenoSaverData& state = SaveAndRead();
    EXPECT_FLOAT_EQ(state.posSizeMultiplier, 0.01f);
    EXPECT_FLOAT_EQ(state.aspectRatio, 1.33f);
    EXPECT_FLOAT_EQ(state.apertureRadius, 0.0001f);
    EXPECT_STREQ(state.whiteBalance, "D65");
}

TEST_F(RenderSettingsReadTest, ValuesOfTheTagAreTaken) {
    HostNode* tag = TaggedObject("Settings");
    tag->params.setReal(LCFG_POS_SIZE_MULTIPLIER, 2.5f);
    tag->params.setReal(LCFG_ASPECT_RATIO, 1.5f);
    tag->params.setReal(LCFG_APERTURE_RADIUS, 0.25f);
    tag->params.setInt(LCFG_WHITE_BALANCE, LCFG_WHITE_BALANCE_F11);
    tag->params.setBool(LCFG_MERGED_MESH_EXPORT, true);
    LumenoSaverData& state = SaveAndRead();
    EXPECT_FLOAT_EQ(state.posSizeMultiplier, 2.5f);
    EXPECT_FLOAT_EQ(state.aspectRatio, 1.5f);
    EXPECT_FLOAT_EQ(state.apertureRadius, 0.25f);
    EXPECT_STREQ(state.whiteBalance, "F11");
    EXPECT_TRUE(state.mergedMeshExport);
}

TEST_F(RenderSettingsReadTest, MultiplierOfZeroOrBelowBecomesOne) {
    HostNode* tag = TaggedObject("Settings");
    for (float value : {0.0f, -5.0f}) {
        tag->params.setReal(LCFG_POS_SIZE_MULTIPLIER, value);
        EXPECT_EQ(SaveAndRead().posSizeMultiplier, 1.0f) << "multiplier " << value;
    }
}

TEST_F(RenderSettingsReadTest, WhiteBalanceCodesMapToTheirNames) {
    HostNode* tag = TaggedObject("Settings");
    const struct {
        int32_t code;
        const char* name;
    } cases[] = {{3001, "E"}, {3002, "D50"}, {3005, "D75"}, {3008, "C"}, {3009, "9300"},
                 {3012, "F11"}, {3013, "D65"}, {0, "D65"}, {3000, "D65"}, {-3009, "D65"},
                 // The extremes, checked before any arithmetic (the sanitizers catch an overflow).
                 {INT32_MIN, "D65"}, {INT32_MAX, "D65"}};
    for (const auto& c : cases) {
        tag->params.setInt(LCFG_WHITE_BALANCE, c.code);
        EXPECT_STREQ(SaveAndRead().whiteBalance, c.name) << "code " << c.code;
    }
}

TEST_F(RenderSettingsReadTest, FirstTagInPreOrderWins) {
    HostNode* top = host::makeObject(*document_, TYPE_NULL, "Top");
    HostNode* child = host::makeObject(*document_, TYPE_NULL, "Child", top);
    HostNode* grandchild = TaggedObject("Grandchild", child);
    grandchild->params.setReal(LCFG_POS_SIZE_MULTIPLIER, 2.0f);
    TaggedObject("Second")->params.setReal(LCFG_POS_SIZE_MULTIPLIER, 3.0f);
    EXPECT_FLOAT_EQ(SaveAndRead().posSizeMultiplier, 2.0f);

    // An object's own tags come before its children's.
    ConfigTag(*top)->params.setReal(LCFG_POS_SIZE_MULTIPLIER, 4.0f);
    EXPECT_FLOAT_EQ(SaveAndRead().posSizeMultiplier, 4.0f);
}

TEST_F(RenderSettingsReadTest, FirstOfTwoTagsOnOneObjectWins) {
    HostNode* object = host::makeObject(*document_, TYPE_NULL, "Settings");
    ConfigTag(*object)->params.setReal(LCFG_POS_SIZE_MULTIPLIER, 5.0f);
    ConfigTag(*object)->params.setReal(LCFG_POS_SIZE_MULTIPLIER, 6.0f);
    EXPECT_FLOAT_EQ(SaveAndRead().posSizeMultiplier, 5.0f);
}

TEST_F(RenderSettingsReadTest, DeepHierarchyIsSearched) {
    HostNode* parent = nullptr;
    for (int level = 0; level < 20000; ++level)
        parent = host::makeObject(*document_, TYPE_NULL, "Level", parent);
    ConfigTag(*parent)->params.setReal(LCFG_POS_SIZE_MULTIPLIER, 8.0f);
    EXPECT_FLOAT_EQ(SaveAndRead().posSizeMultiplier, 8.0f);
}

TEST_F(RenderSettingsReadTest, ALaterSaveWithoutATagKeepsTheValues) {
    TaggedObject("Settings")->params.setReal(LCFG_POS_SIZE_MULTIPLIER, 2.0f);
    EXPECT_FLOAT_EQ(SaveAndRead().posSizeMultiplier, 2.0f);
    document_ = host::createDocument();
    EXPECT_FLOAT_EQ(SaveAndRead().posSizeMultiplier, 2.0f);
}

} // namespace
} // namespace lumeno_test
