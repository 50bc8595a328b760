#include "host/import/reading_child.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "host/import/reading_limits.h"
#include "host/import/reading_pipe.h"
#include "host/plugins/host_error.h"

namespace host::import {
namespace {

using Clock = std::chrono::steady_clock;
constexpr uint64_t megabyte = 1024 * 1024;
/// How often the child's memory is looked at while lumeno-host waits for its answer.
constexpr std::chrono::milliseconds watchInterval(10);

ReadingLimits limits;

/// The memory limit in bytes; a limit beyond what the machine can address is no limit.
uint64_t memoryLimitBytes() {
    return limits.megabytes > UINT64_MAX / megabyte / 2 ? UINT64_MAX / 2 : limits.megabytes * megabyte;
}

/// The resident memory of a process, from /proc/PID/statm; 0 when it cannot be read.
uint64_t residentBytes(const std::string& process) {
    std::ifstream statm("/proc/" + process + "/statm");
    uint64_t size = 0, resident = 0;
    if (!(statm >> size >> resident)) return 0;
    return resident * static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
}

/// A limit the reading reached; the child is stopped.
struct LimitReached {
    std::string what;
};

std::string shownNumber(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

/// Waits until the answer pipe can be read, within the limits of one reading.
class Watch {
public:
    Watch(pid_t child, uint64_t startBytes)
        : child_(std::to_string(child)), startBytes_(startBytes),
          // A limit of more than a few years is none.
          deadline_(Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                       std::chrono::duration<double>(std::min(limits.seconds, 1e8)))) {}

    void waitReadable(int fd) {
        for (;;) {
            const Clock::time_point now = Clock::now();
            if (now >= deadline_)
                throw LimitReached{"the model reader was stopped after " + shownNumber(limits.seconds) +
                                   " s (the read time limit; --read-time-limit changes it)"};
            if (now >= nextLook_) {
                nextLook_ = now + watchInterval;
                const uint64_t resident = residentBytes(child_);
                if (resident > startBytes_ && resident - startBytes_ > memoryLimitBytes())
                    throw LimitReached{"the model reader needed more than " + std::to_string(limits.megabytes) +
                                       " MB (the read memory limit; --read-memory-limit changes it)"};
            }
            const auto wait = std::min(std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - now) +
                                           std::chrono::milliseconds(1),
                                       std::chrono::milliseconds(watchInterval));
            pollfd ready{fd, POLLIN, 0};
            const int answered = ::poll(&ready, 1, static_cast<int>(wait.count()));
            if (answered > 0) return;
            if (answered < 0 && errno != EINTR) return; // the read that follows says what is wrong
        }
    }

private:
    std::string child_;
    uint64_t startBytes_;
    Clock::time_point deadline_;
    Clock::time_point nextLook_ = Clock::now();
};

/// How a child that gave no whole answer ended, as the refusal says it.
std::string howItEnded(int status) {
    if (WIFSIGNALED(status)) {
        std::string name = WTERMSIG(status) == SIGKILL ? "killed" : strsignal(WTERMSIG(status));
        if (!name.empty()) name[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[0])));
        return "the model reader crashed (" + name + ") reading it";
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) != 0)
        return "the model reader crashed (exit status " + std::to_string(WEXITSTATUS(status)) + ") reading it";
    return "the model reader ended without an answer reading it";
}

/// Writes a request with SIGPIPE held back, so that a child that is gone makes the write fail
/// instead of ending lumeno-host.
template <class... Values> bool sendRequest(int fd, Values&... values) {
    sigset_t pipeSignal, previous;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
    bool sent = true;
    try {
        PipeSink sink(fd);
        transfer::send(sink, values...);
        sink.flush();
    } catch (const PipeClosed&) {
        sent = false;
        const timespec none{0, 0};
        while (sigtimedwait(&pipeSignal, nullptr, &none) == SIGPIPE) {
        }
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return sent;
}

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

} // namespace

void setReadingLimits(const ReadingLimits& given) { limits = given; }
const ReadingLimits& readingLimits() { return limits; }

ReadingChild::~ReadingChild() { stop(); }

ReadingOutcome ReadingChild::importModel(const std::filesystem::path& model, const ImportOptions& options,
                                         ImportedModel& result) {
    std::filesystem::path file = model;
    ImportOptions given = options;
    return ask(transfer::Request::ImportModel, result, file, given);
}

ReadingOutcome ReadingChild::loadMeshFile(const std::filesystem::path& file, std::vector<MeshPart>& result) {
    std::filesystem::path given = file;
    return ask(transfer::Request::LoadMeshFile, result, given);
}

template <class Answer, class... Arguments>
ReadingOutcome ReadingChild::ask(transfer::Request request, Answer& answer, Arguments&... arguments) {
    if (pid_ < 0) start();
    std::string stopped;
    if (sendRequest(requests_, request, arguments...)) {
        Watch watch(pid_, startBytes_);
        PipeSource source(answers_, [&] { watch.waitReadable(answers_); }, memoryLimitBytes() + startBytes_);
        try {
            ReadingOutcome outcome;
            transfer::receive(source, outcome);
            if (outcome.kind == ReadingOutcome::Kind::Done) transfer::receive(source, answer);
            return outcome;
        } catch (const LimitReached& limit) {
            stopped = limit.what;
        } catch (const PipeClosed&) {
        } catch (const transfer::TransferError& damage) {
            stopped = std::string("the model reader answered with damaged data (") + damage.what() + ") reading it";
        }
    }
    const int status = stop();
    return {ReadingOutcome::Kind::Stopped, stopped.empty() ? howItEnded(status) : stopped};
}

void ReadingChild::start() {
    int requestPipe[2], answerPipe[2];
    if (pipe2(requestPipe, O_CLOEXEC) != 0) throw std::system_error(errno, std::generic_category(), "pipe");
    if (pipe2(answerPipe, O_CLOEXEC) != 0) {
        const int error = errno;
        ::close(requestPipe[0]);
        ::close(requestPipe[1]);
        throw std::system_error(error, std::generic_category(), "pipe");
    }
    // A larger pipe takes a large answer in fewer turns between the processes.
    fcntl(answerPipe[1], F_SETPIPE_SZ, 1024 * 1024);
    startBytes_ = residentBytes("self");
    std::fflush(nullptr);
    const pid_t parent = getpid();
    const pid_t child = fork();
    if (child == 0) {
        // lumeno-host ending for any reason ends the child too.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) _exit(1);
        // A crash of the reader ends the child at once by its signal, which lumeno-host reports.
        // (A sanitizer's own report of a crash inside the model library could hang here.)
        for (const int crash : {SIGSEGV, SIGBUS, SIGFPE, SIGILL}) {
            struct sigaction plain {};
            plain.sa_handler = SIG_DFL;
            sigaction(crash, &plain, nullptr);
        }
        ::close(requestPipe[1]);
        ::close(answerPipe[0]);
        serve(requestPipe[0], answerPipe[1]);
    }
    const int error = errno;
    ::close(requestPipe[0]);
    ::close(answerPipe[1]);
    requests_ = requestPipe[1];
    answers_ = answerPipe[0];
    if (child < 0) {
        closeFd(requests_);
        closeFd(answers_);
        throw std::system_error(error, std::generic_category(), "fork");
    }
    pid_ = child;
}

int ReadingChild::stop() {
    closeFd(requests_);
    closeFd(answers_);
    int status = 0;
    if (pid_ < 0) return status;
    // A child that has ended is only reaped; the kill is for one still reading.
    if (waitpid(pid_, &status, WNOHANG) == 0) {
        kill(pid_, SIGKILL);
        while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
    }
    pid_ = -1;
    return status;
}

void ReadingChild::serve(int requests, int answers) {
    // The child writes nothing on lumeno-host's output, and holds none of its files open.
    const int nothing = ::open("/dev/null", O_WRONLY);
    if (nothing >= 0) dup2(nothing, STDOUT_FILENO);
    const int low = std::min(requests, answers), high = std::max(requests, answers);
    close_range(3, static_cast<unsigned>(low) - 1, 0);
    close_range(static_cast<unsigned>(low) + 1, static_cast<unsigned>(high) - 1, 0);
    close_range(static_cast<unsigned>(high) + 1, ~0U, 0);
    try {
        PipeSource source(requests, [] {}, memoryLimitBytes());
        PipeSink sink(answers);
        while (source.more()) {
            transfer::Request request{};
            std::filesystem::path file;
            transfer::receive(source, request, file);
            ImportOptions options;
            if (request == transfer::Request::ImportModel) transfer::receive(source, options);
            ImportedModel model;
            std::vector<MeshPart> parts;
            ReadingOutcome outcome;
            try {
                const ModelReadingTable& library = library_();
                outcome = request == transfer::Request::ImportModel ? library.importModel(file, options, model)
                                                                    : library.loadMeshFile(file, parts);
            } catch (const HostError& cannotLoad) {
                outcome = {ReadingOutcome::Kind::ReadFailed, cannotLoad.what()};
            }
            transfer::send(sink, outcome);
            if (outcome.kind == ReadingOutcome::Kind::Done) {
                if (request == transfer::Request::ImportModel)
                    transfer::send(sink, model);
                else
                    transfer::send(sink, parts);
            }
            sink.flush();
        }
    } catch (...) {
        _exit(2);
    }
    _exit(0);
}

} // namespace host::import
