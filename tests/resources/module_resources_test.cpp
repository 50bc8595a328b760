// The module's own res/ files, read as the host reads them from a module folder.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "host/resources/description_resource.h"
#include "host/resources/icon_image.h"
#include "host/resources/resource_layout.h"
#include "host/resources/string_table.h"

namespace host::test {
namespace {

const std::filesystem::path kModuleFolder = LUMENO_SOURCE_DIR;

using T = ParameterType;

struct Declared {
    int32_t id;
    const char* symbol;
    ParameterType type;
    std::vector<int32_t> choices;
};

// Checks that a description declares exactly these parameters (in any order), with these types
// and choice codes (in this order), and that every entry has a label.
void expectDeclares(const std::string& name, int32_t pluginId, const std::vector<Declared>& table) {
    SCOPED_TRACE(name);
    const DescriptionResource d = loadDescription(kModuleFolder, name);
    EXPECT_EQ(d.id(), pluginId);
    EXPECT_EQ(d.parameters().size(), table.size());
    for (const Declared& want : table) {
        SCOPED_TRACE(want.symbol);
        const DescriptionParameter* p = d.find(want.id);
        ASSERT_NE(p, nullptr) << "no parameter " << want.id;
        EXPECT_EQ(p->symbol, want.symbol);
        EXPECT_EQ(d.findSymbol(want.symbol), want.id);
        EXPECT_EQ(parameterTypeName(p->type), std::string(parameterTypeName(want.type)));
        std::vector<int32_t> codes;
        for (const Choice& choice : p->choices) {
            codes.push_back(choice.code);
            EXPECT_FALSE(choice.label.empty()) << choice.symbol;
        }
        EXPECT_EQ(codes, want.choices);
        EXPECT_FALSE(p->label.empty());
    }
    for (const DescriptionGroup& group : d.groups()) EXPECT_FALSE(group.label.empty()) << group.symbol;
}

TEST(ModuleResources, SaverSettingsPageHasBothFileNames) {
    expectDeclares("Flumenofilter", 1019430,
                   {{1000, "LFILTER_RENDERER_FOLDER", T::Filename, {}},
                    {1001, "LFILTER_LAST_EXPORT_FILE", T::Filename, {}}});
}

TEST(ModuleResources, RenderSettingsTagDeclaresEveryParameter) {
    std::vector<int32_t> whiteBalance;
    for (int32_t code = 3001; code <= 3012; ++code) whiteBalance.push_back(code);
    expectDeclares("Tlumenoconfig", 10000,
                   {
                       {1008, "LCFG_RENDERER_SETTINGS", T::Bool, {}},
                       {1009, "LCFG_WIDTH", T::Long, {}},
                       {1010, "LCFG_HEIGHT", T::Long, {}},
                       {1011, "LCFG_METROPOLIS", T::Bool, {}},
                       {1029, "LCFG_BIDIRECTIONAL", T::Bool, {}},
                       {1012, "LCFG_LARGE_MUTATION_PROB", T::Real, {}},
                       {1013, "LCFG_MAX_CHANGE", T::Real, {}},
                       {1014, "LCFG_RUSSIAN_ROULETTE_LIVE_PROB", T::Real, {}},
                       {1015, "LCFG_MAX_DEPTH", T::Long, {}},
                       {1016, "LCFG_STRATA_WIDTH", T::Long, {}},
                       {1017, "LCFG_LOGGING", T::Bool, {}},
                       {1025, "LCFG_IMAGE_SAVE_PERIOD", T::Long, {}},
                       {1026, "LCFG_SAVE_TONEMAPPED_EXR", T::Bool, {}},
                       {1027, "LCFG_SAVE_UNTONEMAPPED_EXR", T::Bool, {}},
                       {4000, "LCFG_MAX_NUM_CONSEC_REJECTIONS", T::Long, {}},
                       {2501, "LCFG_FRAME_UPLOAD_PERIOD", T::Long, {}},
                       {2502, "LCFG_HALT_TIME", T::Long, {}},
                       {1019, "LCFG_TONEMAPPING", T::Bool, {}},
                       {1022, "LCFG_TONEMAPPING_TYPE", T::Choice, {1020, 1021}},
                       {1023, "LCFG_TONEMAPPING_SCALE", T::Real, {}},
                       {1024, "LCFG_POST_SCALE", T::Real, {}},
                       {1000, "LCFG_BACKGROUND_RADIANCE", T::Vector, {}},
                       {1001, "LCFG_SUN_OBJECT", T::Link, {}},
                       {1002, "LCFG_TURBIDITY", T::Real, {}},
                       {2500, "LCFG_SKY_GAIN", T::Real, {}},
                       {2001, "LCFG_ENV_MAP_TYPE", T::Choice, {2002, 2003}},
                       {2100, "LCFG_ENV_MAP_PATH", T::Filename, {}},
                       {2101, "LCFG_ENV_MAP_WIDTH", T::Long, {}},
                       {2102, "LCFG_ENV_MAP_GAIN", T::Real, {}},
                       {1005, "LCFG_POS_SIZE_MULTIPLIER", T::Real, {}},
                       {1028, "LCFG_ASPECT_RATIO", T::Real, {}},
                       {1003, "LCFG_APERTURE_RADIUS", T::Real, {}},
                       {3000, "LCFG_WHITE_BALANCE", T::Choice, whiteBalance},
                       {1006, "LCFG_CAMERA_AUX", T::Real, {}},
                       {1018, "LCFG_MERGED_MESH_EXPORT", T::Bool, {}},
                   });
    const DescriptionResource d = loadDescription(kModuleFolder, "Tlumenoconfig");
    EXPECT_EQ(d.findSymbol("LCFG_TONEMAPPING_REINHARD"), 1021);
    EXPECT_EQ(d.findSymbol("LCFG_ENV_MAP_SPHERICAL"), 2002);
    // Values the tag writes at creation or that tests set must lie inside the offered ranges.
    EXPECT_FALSE(d.find(2502)->min.has_value()); // halt time -1 at creation
    EXPECT_FALSE(d.find(1005)->min.has_value()); // multiplier 0 or below is a tested input
}

TEST(ModuleResources, ObjectTagDeclaresItsTwoSwitches) {
    expectDeclares("Tlumenogenericobjtag", 10005,
                   {{1000, "LOBJ_NO_NORMAL_SMOOTHING", T::Bool, {}}, {1001, "LOBJ_EXCLUDE", T::Bool, {}}});
}

TEST(ModuleResources, LightTagDeclaresSpectrumAndSize) {
    expectDeclares("Tlumenolighttag", 10004,
                   {
                       {1100, "LLIGHT_SPECTRUM_TYPE", T::Choice, {1101, 1102, 1103}},
                       {1000, "LLIGHT_PEAK_MIN", T::Real, {}},
                       {1001, "LLIGHT_PEAK_WIDTH", T::Real, {}},
                       {1002, "LLIGHT_BASE_VALUE", T::Real, {}},
                       {1003, "LLIGHT_PEAK_VALUE", T::Real, {}},
                       {1004, "LLIGHT_WIDTH", T::Real, {}},
                       {1005, "LLIGHT_HEIGHT", T::Real, {}},
                       {1200, "LLIGHT_RGB", T::Vector, {}},
                       {1201, "LLIGHT_TEMPERATURE", T::Real, {}},
                       {1202, "LLIGHT_GAIN", T::Real, {}},
                   });
}

TEST(ModuleResources, MaterialHelperTagDeclaresItsParameters) {
    expectDeclares("Tlumenomaterialhelpertag", 10008,
                   {
                       {1000, "LMAT_MATERIAL", T::Link, {}},
                       {1004, "LMAT_RESOLVE_TEXTURE_PATHS", T::Bool, {}},
                       {1006, "LMAT_ALBEDO_GAIN", T::Real, {}},
                       {1007, "LMAT_BUMP_GAIN", T::Real, {}},
                       {1008, "LMAT_ALBEDO_EXPONENT", T::Real, {}},
                       {1009, "LMAT_BUMP_EXPONENT", T::Real, {}},
                       {4999, "LMAT_KIND", T::Choice, {1001, 1002, 1003}},
                       {5000, "LMAT_COLOUR", T::Vector, {}},
                       {5001, "LMAT_PHONG_SPECULAR", T::Vector, {}},
                       {5002, "LMAT_PHONG_DIFFUSE", T::Vector, {}},
                       {5003, "LMAT_PHONG_EXPONENT", T::Real, {}},
                       {5004, "LMAT_TRANSPARENT", T::Bool, {}},
                       {5005, "LMAT_IOR", T::Real, {}},
                       {5006, "LMAT_CAUCHY_B_COEFF", T::Real, {}},
                       {5007, "LMAT_TRANSMISSION_COLOUR", T::Vector, {}},
                       {5008, "LMAT_NORMAL_REFLECTANCE", T::Real, {}},
                       {5010, "LMAT_NK_DATA", T::Choice, {5011}},
                   });
}

TEST(ModuleResources, StringTableHoldsTheNineModuleTexts) {
    const StringTable strings = loadModuleStrings(kModuleFolder);
    std::set<int32_t> ids;
    for (const auto& [id, text] : strings.entries()) {
        ids.insert(id);
        EXPECT_FALSE(text.empty()) << id;
    }
    EXPECT_EQ(ids, (std::set<int32_t>{10000, 10001, 10002, 10003, 10004, 10005, 10006, 10007, 10008}));
}

TEST(ModuleResources, EveryIconDecodesAt32By32AndDiffersFromTheOthers) {
    const char* const names[] = {"lumenoconfig.tif",        "lumenoexportcommand.tif",
                                 "lumenoexportandruncommand.tif", "lumenolighttag.tif",
                                 "lumenogenericobjtag.tif", "lumenomaterialhelpertag.tif"};
    std::vector<IconImage> icons;
    for (const char* name : names) {
        SCOPED_TRACE(name);
        const IconImage icon = loadIcon(iconFile(kModuleFolder, name));
        EXPECT_EQ(icon.width, 32u);
        EXPECT_EQ(icon.height, 32u);
        std::set<uint32_t> colours;
        for (uint32_t y = 0; y < icon.height; ++y)
            for (uint32_t x = 0; x < icon.width; ++x) colours.insert(icon.pixel(x, y));
        EXPECT_GE(colours.size(), 4u) << "a glyph needs more than a flat tile";
        EXPECT_EQ(icon.pixel(16, 16) & 0xFF, 0xFFu) << "RGB icons are opaque";
        icons.push_back(icon);
    }
    for (std::size_t i = 0; i < icons.size(); ++i)
        for (std::size_t j = i + 1; j < icons.size(); ++j)
            EXPECT_NE(icons[i].rgba, icons[j].rgba) << names[i] << " and " << names[j] << " are the same";
}

} // namespace
} // namespace host::test
