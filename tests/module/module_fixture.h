// What the module's in-process tests share: a host session per test with its own preferences
// file in a temporary folder, the module's entry attached with the release's module folder, and
// readers for the scene files the saver writes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <tinyxml.h>

#include "export/lumeno_saver_data.h"
#include "host/model/node.h"
#include "host/plugins/session.h"
#include "plugin_records.h"

namespace fs = std::filesystem;

namespace lumeno_test {

/// The assembled module folder of this release (module file, res/, "Lumeno Exporter/").
fs::path ModuleFolder();

/// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

class ModuleTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /// Replaces the session by one whose table reports `version`, module attached from `folder`.
    void NewSession(int32_t version = HOST_INTERFACE_VERSION, const fs::path& folder = ModuleFolder());
    /// init, message 1, start; the test fails unless start answers 1.
    void StartModule();

    host::Session& session() { return *session_; }
    /// A path in the test's temporary folder.
    fs::path Temp(const std::string& name) const { return dir_.path() / name; }

    /// How a sweep of failing saves ended: the scene file of the save in which nothing failed
    /// (empty: none did) and how many saves it took.
    struct FailingSaves {
        fs::path completed;
        uint64_t runs = 0;
    };
    /// Saves `document` with the allocation 1, 2, ... failing in turn until a save meets no failure
    /// (at most `limit` saves, into temporary files named after `stem`). Each save must answer as the
    /// saver promises (-7, or 1 once nothing failed) and give back all it took.
    FailingSaves SweepFailingSaves(HostNode& document, const std::string& stem, uint64_t limit);

    TempDir dir_;
    std::unique_ptr<host::Session> session_;
};

/// A saver instance made as the application makes it (the registered allocator, then its
/// initialise), destroyed through its record when the handle goes.
class SaverHandle {
public:
    explicit SaverHandle(host::Session& session);
    ~SaverHandle();
    SaverHandle(const SaverHandle&) = delete;
    SaverHandle& operator=(const SaverHandle&) = delete;

    LumenoSaverData* get() const { return saver_; }
    LumenoSaverData* operator->() const { return saver_; }
    /// The save operation through the record, as the host calls it.
    int32_t Save(HostDocument* document, const fs::path& file, int32_t flags = SAVE_FLAG_WRITE);
    /// Destroys the instance now (the handle is then empty).
    void Destroy();

private:
    SaverRecord record_{};
    void* instance_ = nullptr;
    LumenoSaverData* saver_ = nullptr;
    HostNode node_;
};

/// Parses a scene file; records a test failure and answers none when it does not parse.
std::unique_ptr<TiXmlDocument> LoadScene(const fs::path& file);
/// The `scene` element of a parsed file, or none.
const TiXmlElement* SceneOf(const TiXmlDocument& document);
/// The names of an element's child elements, in order, separated by blanks.
std::string ChildNames(const TiXmlElement* parent);
/// The text of the first child element `name`, or "<missing>".
std::string ChildText(const TiXmlElement* parent, const char* name);
/// The whole content of a file ("" when it cannot be read).
std::string ReadFile(const fs::path& file);

} // namespace lumeno_test
