#include "app/export_progress.h"

#include <cstdio>
#include <unistd.h>

namespace app {
namespace {

constexpr std::chrono::milliseconds quietStart{1000};
constexpr std::chrono::milliseconds redrawEvery{100};

} // namespace

ExportProgress::ExportProgress() : terminal_(isatty(STDERR_FILENO) == 1), start_(Clock::now()) {}

ExportProgress::~ExportProgress() { clear(); }

void ExportProgress::update(const host::SaveTrace& trace) {
    if (!terminal_) return;
    const Clock::time_point now = Clock::now();
    if (now - start_ < quietStart || (drawn_ && now - lastDrawn_ < redrawEvery)) return;
    lastDrawn_ = now;
    drawn_ = true;
    std::fprintf(stderr, "\rlumeno-host: exporting: %zu of %zu objects walked, %zu mesh files written\033[K",
                 trace.walked, trace.userObjects, trace.meshFiles.size());
    std::fflush(stderr);
}

void ExportProgress::clear() {
    if (!drawn_) return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    drawn_ = false;
}

} // namespace app
