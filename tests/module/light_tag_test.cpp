// The light tag as the host makes it and describes it, and the spectrum it gives an emitter.
#include "export/spectrum_export.h"
#include "frame/plugin_ids.h"
#include "host/model/build.h"
#include "host/model/document.h"
#include "host/plugins/description.h"
#include "host/plugins/plugin_tags.h"
#include "module_fixture.h"
#include "tags/lumeno_light_tag_ids.h"

namespace lumeno_test {
namespace {

class LightTagTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        StartModule();
        document_ = host::createDocument();
        tag_ = host::addPluginTag(session().registry(), *host::makeObject(*document_, TYPE_LIGHT, "Lamp"),
                                  kLumenoLightTagId);
        ASSERT_NE(tag_, nullptr);
    }
    void TearDown() override {
        document_.reset();
        ModuleTest::TearDown();
    }
    /// The parameters the description shows, in ID order.
    std::string Shown() {
        host::DescribeResult result = host::describeTag(*tag_);
        EXPECT_TRUE(result.answered);
        EXPECT_NE(result.flags & DESCFLAGS_DESC_LOADED, 0);
        std::string shown;
        for (int32_t id : {1000, 1001, 1002, 1003, 1004, 1005, 1100, 1200, 1201, 1202}) {
            EXPECT_NE(result.description.entry(id), nullptr) << "entry " << id;
            if (!result.description.hidden(id)) shown += (shown.empty() ? "" : " ") + std::to_string(id);
        }
        return shown;
    }
    /// The spectrum ExportSpectrum writes for `parameters`, as "form: child=text ...".
    static std::string Spectrum(const HostContainer* parameters) {
        TiXmlElement emitter("meshlight");
        AddSibling(emitter);
        ExportSpectrum(parameters, &emitter);
        const TiXmlElement* spectrum = emitter.LastChild() ? emitter.LastChild()->ToElement() : nullptr;
        if (!spectrum || std::string(spectrum->Value()) != "spectrum") return "<no spectrum last>";
        const TiXmlElement* form = spectrum->FirstChildElement();
        if (!form) return "empty";
        std::string text = form->Value() + std::string(":");
        for (const TiXmlElement* e = form->FirstChildElement(); e; e = e->NextSiblingElement())
            text += std::string(" ") + e->Value() + "=" + (e->GetText() ? e->GetText() : "");
        return text;
    }
    /// An element that stands before the spectrum, so that "last" means something.
    static void AddSibling(TiXmlElement& emitter) { emitter.InsertEndChild(TiXmlElement("pos")); }

    host::NodePtr document_;
    HostNode* tag_ = nullptr;
};

TEST_F(LightTagTest, FreshTagHoldsEveryCreationValue) {
    const HostContainer& p = tag_->params;
    EXPECT_EQ(p.getInt(LLIGHT_SPECTRUM_TYPE), LLIGHT_SPECTRUM_PEAK);
    EXPECT_EQ(host::valueType(*p.find(LLIGHT_SPECTRUM_TYPE)), HOST_VALUE_INT);
    EXPECT_FLOAT_EQ(p.getReal(LLIGHT_PEAK_MIN), 300.0f);
    EXPECT_FLOAT_EQ(p.getReal(LLIGHT_PEAK_WIDTH), 550.0f);
    EXPECT_FLOAT_EQ(p.getReal(LLIGHT_BASE_VALUE, 9.0f), 0.0f);
    EXPECT_FLOAT_EQ(p.getReal(LLIGHT_PEAK_VALUE), 200.0f);
    EXPECT_FLOAT_EQ(p.getReal(LLIGHT_WIDTH), 0.4f);
    EXPECT_FLOAT_EQ(p.getReal(LLIGHT_HEIGHT), 0.4f);
    EXPECT_EQ(p.getVector(LLIGHT_RGB, HostVector{9, 9, 9}), (HostVector{1, 1, 1}));
    EXPECT_FLOAT_EQ(p.getReal(LLIGHT_TEMPERATURE), 6500.0f);
    EXPECT_FLOAT_EQ(p.getReal(LLIGHT_GAIN), 0.001f);
    EXPECT_EQ(p.size(), 10u);
}

TEST_F(LightTagTest, DescriptionShowsTheParametersOfTheTypeLastSeen) {
    // A new tag shows the peak, the size and the type.
    EXPECT_EQ(Shown(), "1000 1001 1002 1003 1004 1005 1100");
    struct Step {
        int32_t type;      // the stored type before the message
        int32_t message;   // the message the tag then receives
        const char* shown;
    };
    const Step steps[] = {
        // Until message 31 the tag still describes the type it last saw.
        {LLIGHT_SPECTRUM_BLACKBODY, 0, "1000 1001 1002 1003 1004 1005 1100"},
        {LLIGHT_SPECTRUM_BLACKBODY, NODE_MSG_DESCRIPTION_CHANGED, "1004 1005 1100 1201 1202"},
        {LLIGHT_SPECTRUM_RGB, NODE_MSG_DESCRIPTION_CHANGED, "1004 1005 1100 1200"},
        // Message 16 hides every spectrum parameter, whatever the type, until the next 31.
        {LLIGHT_SPECTRUM_RGB, NODE_MSG_DESCRIPTION_EDIT_BEGIN, "1004 1005 1100"},
        {LLIGHT_SPECTRUM_PEAK, NODE_MSG_DESCRIPTION_EDIT_BEGIN, "1004 1005 1100"},
        {LLIGHT_SPECTRUM_PEAK, NODE_MSG_DESCRIPTION_CHANGED, "1000 1001 1002 1003 1004 1005 1100"},
        // An unknown type shows no spectrum parameter; so does a removed one.
        {7, NODE_MSG_DESCRIPTION_CHANGED, "1004 1005 1100"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE("type " + std::to_string(step.type) + ", message " + std::to_string(step.message));
        tag_->params.setInt(LLIGHT_SPECTRUM_TYPE, step.type);
        if (step.message) {
            EXPECT_TRUE(host::sendMessage(*tag_, step.message, nullptr));
        }
        EXPECT_EQ(Shown(), step.shown);
    }
    tag_->params.remove(LLIGHT_SPECTRUM_TYPE);
    EXPECT_TRUE(host::sendMessage(*tag_, NODE_MSG_DESCRIPTION_CHANGED, nullptr));
    EXPECT_EQ(Shown(), "1004 1005 1100");
}

TEST_F(LightTagTest, SpectrumFormsFollowTheTypeAndStandLast) {
    // A fresh tag: the peak form with its creation values.
    EXPECT_EQ(Spectrum(&tag_->params),
              "peak: peak_min=300.000000 peak_width=550.000000 base_value=0.000000 peak_value=200.000000");
    tag_->params.setInt(LLIGHT_SPECTRUM_TYPE, LLIGHT_SPECTRUM_BLACKBODY);
    EXPECT_EQ(Spectrum(&tag_->params), "blackbody: temperature=6500.000000 gain=0.001000");
    // A colour keeps its own order and is not scaled.
    tag_->params.setInt(LLIGHT_SPECTRUM_TYPE, LLIGHT_SPECTRUM_RGB);
    tag_->params.setVector(LLIGHT_RGB, {1.0f, 0.5f, 0.0f});
    EXPECT_EQ(Spectrum(&tag_->params), "rgb: rgb=1.000000 0.500000 0.000000");
    tag_->params.setInt(LLIGHT_SPECTRUM_TYPE, 0);
    EXPECT_EQ(Spectrum(&tag_->params), "empty");

    // Absent entries read the creation values; an absent type is no form at all.
    HostContainer bare;
    EXPECT_EQ(Spectrum(&bare), "empty");
    bare.setInt(LLIGHT_SPECTRUM_TYPE, LLIGHT_SPECTRUM_RGB);
    EXPECT_EQ(Spectrum(&bare), "rgb: rgb=1.000000 1.000000 1.000000");
    bare.setInt(LLIGHT_SPECTRUM_TYPE, LLIGHT_SPECTRUM_PEAK);
    bare.setReal(LLIGHT_PEAK_VALUE, 12.5f);
    EXPECT_EQ(Spectrum(&bare),
              "peak: peak_min=300.000000 peak_width=550.000000 base_value=0.000000 peak_value=12.500000");

    // Without a container or a parent nothing is written.
    EXPECT_EQ(Spectrum(nullptr), "<no spectrum last>");
    ExportSpectrum(&tag_->params, nullptr);
}

} // namespace
} // namespace lumeno_test
