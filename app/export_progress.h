// Progress of a long export on the terminal: objects walked of all objects and mesh files
// written, redrawn in place with "\r" on standard error. Nothing is shown when standard error is
// not a terminal, nor during the first second, so short exports and logs stay clean.
#pragma once

#include <chrono>

#include "host/table/save_trace.h"

namespace app {

class ExportProgress {
public:
    ExportProgress();
    ~ExportProgress(); // clears the line if one was drawn
    ExportProgress(const ExportProgress&) = delete;
    ExportProgress& operator=(const ExportProgress&) = delete;

    /// For startSaveTrace: redraws the line at most ten times a second.
    void update(const host::SaveTrace& trace);
    void clear();

private:
    using Clock = std::chrono::steady_clock;
    bool terminal_;
    bool drawn_ = false;
    Clock::time_point start_;
    Clock::time_point lastDrawn_;
};

} // namespace app
