// Files that a run of lumeno-host makes from an export after its commit: the report and the
// preview describe the scene, so they must never be left describing another export. Runs that
// make such files for one scene take their own lock beside it, so two of them never interleave.
// While one runs, a note beside the scene (".lumeno-KEY.derived") names the scene file as it was
// before and the files to be made; a run killed before it finished leaves the note, and the next
// such run removes those files if the scene file has changed since.
#pragma once

#include <filesystem>
#include <vector>

#include "host/files/export_staging.h"

namespace host {

class DerivedFiles {
public:
    /// Takes the lock of `scene`, settles what a killed run left, and notes `files`. Throws
    /// HostError naming the folder when it cannot write there.
    DerivedFiles(const std::filesystem::path& scene, const std::vector<std::filesystem::path>& files);
    /// Takes the note away. A run that ends before finished() after its scene changed also takes
    /// away the files, which may still describe the earlier export.
    ~DerivedFiles();
    DerivedFiles(const DerivedFiles&) = delete;
    DerivedFiles& operator=(const DerivedFiles&) = delete;

    /// The files are made: the note goes.
    void finished() { done_ = true; }

private:
    std::filesystem::path scene_;
    ExportLock lock_;
    std::filesystem::path note_;
    std::vector<std::filesystem::path> files_;
    std::string before_; // the scene file's identity before the run
    bool done_ = false;
};

} // namespace host
