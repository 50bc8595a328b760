#include "module_fixture.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "frame/module_entry.h"
#include "frame/plugin_ids.h"
#include "host/memory/allocator.h"
#include "host/plugins/registry.h"
#include "host/text/host_text.h"

namespace lumeno_test {

fs::path ModuleFolder() { return fs::path(LUMENO_MODULE_FOLDER); }

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "lumeno-module-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void ModuleTest::SetUp() { NewSession(); }

void ModuleTest::TearDown() { session_.reset(); }

void ModuleTest::NewSession(int32_t version, const fs::path& folder) {
    session_.reset();
    host::SessionOptions options;
    options.interfaceVersion = version;
    options.prefsFile = Temp("prefs.json");
    session_ = std::make_unique<host::Session>(options);
    session_->attachModule(c4d_main, folder / "LumenoExporter.so");
}

void ModuleTest::StartModule() { ASSERT_EQ(session_->startModule(), C4D_RESULT_OK); }

ModuleTest::FailingSaves ModuleTest::SweepFailingSaves(HostNode& document, const std::string& stem, uint64_t limit) {
    host::Allocator& allocator = session().allocator();
    for (uint64_t n = 1; n <= limit; ++n) {
        SCOPED_TRACE("allocation " + std::to_string(n) + " fails");
        const size_t blocksBefore = allocator.liveBlocks();
        const long handlesBefore = session().liveHandles();
        fs::path file = Temp(stem + std::to_string(n) + ".xml");

        allocator.failAllocation(n);
        const int32_t result = session().saveWithSaver(kLumenoSaverId, &document, file);
        const bool completed = !allocator.failureHappened();
        allocator.failAllocation(0);

        EXPECT_EQ(allocator.liveBlocks(), blocksBefore);
        EXPECT_EQ(session().liveHandles(), handlesBefore);
        EXPECT_EQ(allocator.badFrees(), 0u);
        EXPECT_EQ(result, completed ? FILE_RESULT_OK : FILE_RESULT_OUT_OF_MEMORY);
        if (completed) return {file, n};
    }
    ADD_FAILURE() << "no save completed without meeting the failure";
    return {{}, limit};
}

SaverHandle::SaverHandle(host::Session& session)
    : node_(host::NodeKind::Other, kLumenoSaverId) {
    const host::RegisteredPlugin* plugin = session.registry().find(kLumenoSaverId);
    if (!plugin) throw std::runtime_error("the saver is not registered");
    record_ = plugin->saver;
    instance_ = record_.allocate();
    if (!instance_) throw std::runtime_error("the saver's allocator answered nothing");
    saver_ = static_cast<LumenoSaverData*>(static_cast<BaseData*>(instance_));
    if (!record_.init(instance_, &node_)) throw std::runtime_error("the saver refused to initialise");
}

SaverHandle::~SaverHandle() { Destroy(); }

void SaverHandle::Destroy() {
    if (instance_) record_.destroy(instance_);
    instance_ = nullptr;
    saver_ = nullptr;
}

int32_t SaverHandle::Save(HostDocument* document, const fs::path& file, int32_t flags) {
    HostFilename name{file.string()};
    return record_.save(instance_, &node_, &name, document, flags);
}

std::unique_ptr<TiXmlDocument> LoadScene(const fs::path& file) {
    auto document = std::make_unique<TiXmlDocument>(file.string());
    if (!document->LoadFile()) {
        ADD_FAILURE() << file << " does not parse: " << document->ErrorDesc();
        return nullptr;
    }
    return document;
}

const TiXmlElement* SceneOf(const TiXmlDocument& document) {
    const TiXmlElement* root = document.RootElement();
    return root && std::string(root->Value()) == "scene" ? root : nullptr;
}

std::string ChildNames(const TiXmlElement* parent) {
    std::string names;
    for (const TiXmlElement* e = parent ? parent->FirstChildElement() : nullptr; e;
         e = e->NextSiblingElement())
        names += (names.empty() ? "" : " ") + std::string(e->Value());
    return names;
}

std::string ChildText(const TiXmlElement* parent, const char* name) {
    const TiXmlElement* child = parent ? parent->FirstChildElement(name) : nullptr;
    if (!child) return "<missing>";
    return child->GetText() ? child->GetText() : "";
}

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

} // namespace lumeno_test
