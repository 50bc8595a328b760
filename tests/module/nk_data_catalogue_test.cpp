// The nk-data catalogue as read from a module folder of the test's own.
#include <fstream>
#include <string>

#include "module_fixture.h"
#include "tags/nk_data_catalogue.h"

namespace lumeno_test {
namespace {

class NkDataCatalogueTest : public ModuleTest {
protected:
    void TearDown() override {
        ReleaseNkDataCatalogue(catalogue_);
        ModuleTest::TearDown();
    }
    /// A module folder (initialised, not started) whose catalogue file holds `xml`.
    void Folder(const fs::path& folder, const std::string& xml) {
        fs::create_directories(folder / "Lumeno Exporter");
        std::ofstream(folder / "Lumeno Exporter" / "NkData.xml") << xml;
        NewSession(HOST_INTERFACE_VERSION, folder);
        ASSERT_EQ(session().init(), C4D_RESULT_OK);
    }
    std::string Entries() {
        std::string text;
        for (int32_t i = 0; i < catalogue_.count; ++i)
            text += std::string(i ? " | " : "") + catalogue_.entries[i].nkPath + "=" + catalogue_.entries[i].label;
        return text;
    }
    NkDataCatalogue catalogue_{0, nullptr};
};

TEST_F(NkDataCatalogueTest, EntriesInDocumentOrder) {
    struct Case {
        const char* xml;
        const char* entries;
    } cases[] = {
        {"<NkData><a f='au.nk' l='Gold'/><!-- note --><b f='ag.nk' l='Silver'/>text<c f='cu.nk' l='Copper'/></NkData>",
         "au.nk=Gold | ag.nk=Silver | cu.nk=Copper"},
        {"<NkData><e f='only.nk'/><e l='No file'/></NkData>", "only.nk=(null) | (null)=No file"},
        {"<Other><e f='a' l='b'/></Other><NkData><e f='x' l='y'/></NkData>", "x=y"},
        {"<?xml version='1.0'?><Catalogue><e f='a' l='b'/></Catalogue>", ""},
        {"<NkData></NkData>", ""},
        {"<NkData><e f='a' l='b'/><broken", "a=b | (null)=(null)"}, // what the parser read of a cut file
    };
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE("row " + std::to_string(row));
        Folder(Temp("m" + std::to_string(row++)), c.xml);
        ReleaseNkDataCatalogue(catalogue_);
        EXPECT_TRUE(LoadNkDataCatalogue(catalogue_));
        EXPECT_EQ(Entries(), c.entries);
    }
}

TEST_F(NkDataCatalogueTest, LongTextsAreCutAtACharacterBoundary) {
    std::string label;
    while (label.size() < 400) label += "\xE2\x82\xAC"; // €, three bytes each
    Folder(Temp("m"), "<NkData><e f='" + std::string(300, 'p') + "' l='" + label + "'/></NkData>");
    LoadNkDataCatalogue(catalogue_);
    ASSERT_EQ(catalogue_.count, 1);
    EXPECT_EQ(std::string(catalogue_.entries[0].nkPath), std::string(255, 'p'));
    EXPECT_EQ(std::string(catalogue_.entries[0].label), label.substr(0, 255));
}

TEST_F(NkDataCatalogueTest, AModuleFolderTooLongForThePathGivesAnEmptyCatalogue) {
    // 228 characters of folder leave room for the 27 of the catalogue's place; 229 do not.
    const std::string base = Temp("").string();
    for (size_t length : {size_t{228}, size_t{229}}) {
        SCOPED_TRACE(length);
        std::string folder = base + std::string(length - base.size(), length == 228 ? 'a' : 'b');
        fs::create_directories(folder);
        Folder(folder, "<NkData><e f='x' l='y'/></NkData>");
        char path[kNkTextSize];
        EXPECT_EQ(NkDataCataloguePath(path), length == 228);
        ReleaseNkDataCatalogue(catalogue_);
        LoadNkDataCatalogue(catalogue_);
        EXPECT_EQ(catalogue_.count, length == 228 ? 1 : 0);
        if (length == 228) {
            EXPECT_EQ(std::string(path), folder + "/Lumeno Exporter/NkData.xml");
        }
    }
}

TEST_F(NkDataCatalogueTest, TheModuleFolderShipsASampleCatalogue) {
    NewSession();
    ASSERT_EQ(session().init(), C4D_RESULT_OK);
    LoadNkDataCatalogue(catalogue_);
    EXPECT_GE(catalogue_.count, 3);
    for (int32_t i = 0; i < catalogue_.count; ++i) EXPECT_STRNE(catalogue_.entries[i].label, "(null)");
}

} // namespace
} // namespace lumeno_test
