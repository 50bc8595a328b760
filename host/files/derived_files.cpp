#include "host/files/derived_files.h"

#include <fstream>
#include <string>
#include <unistd.h>

#include "host/files/whole_file.h"

namespace host {
namespace {

namespace fs = std::filesystem;

/// Removes what a killed run noted, if its scene changed after the note was made.
void settle(const fs::path& note, const fs::path& scene) {
    std::ifstream in(note);
    if (!in) return;
    std::string before, file;
    std::getline(in, before);
    if (before != fileIdentity(scene))
        while (std::getline(in, file))
            if (!file.empty()) ::unlink(file.c_str());
    in.close();
    ::unlink(note.c_str());
}

} // namespace

DerivedFiles::DerivedFiles(const fs::path& scene, const std::vector<fs::path>& files)
    : scene_(scene), lock_(scene, "run"),
      note_(scene.parent_path() / (".lumeno-" + exportKey(scene.filename().string()) + ".derived")) {
    settle(note_, scene_);
    before_ = fileIdentity(scene_);
    std::string text = before_ + "\n";
    for (const fs::path& file : files) {
        files_.push_back(fs::absolute(file));
        text += files_.back().string() + "\n";
    }
    writeWholeFile(note_, std::vector<uint8_t>(text.begin(), text.end()));
}

DerivedFiles::~DerivedFiles() {
    // A run that failed before its scene changed left the earlier files as they were.
    if (!done_ && fileIdentity(scene_) != before_)
        for (const fs::path& file : files_) ::unlink(file.c_str());
    ::unlink(note_.c_str());
}

} // namespace host
