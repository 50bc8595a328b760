// The renderer start on POSIX systems.
//
// The renderer must outlive the command and must not be left as a zombie, and the host's own
// working directory must not move under its other threads. So the start forks twice: a short-lived
// middle process forks the renderer and exits at once, and this process reaps the middle one right
// away; the renderer, orphaned, is reaped by the system when it ends. No SIGCHLD handling is
// needed. The renderer changes into its folder in its own process before exec. A pipe that closes
// on exec tells this process whether the exec succeeded: it stays silent and closes when the
// renderer runs, or carries the error number when a step failed. Between fork and exec only
// async-signal-safe calls are made.
#include "commands/process_start.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr size_t kPathSize = PATH_MAX;
/// Where execvp would look when PATH is not set.
constexpr const char* kDefaultSearchPath = "/bin:/usr/bin";

/// folder + "/" + part into `out`; false when it does not fit.
bool JoinPath(char* out, const char* folder, size_t folderLength, const char* part) {
    int written = folderLength == 0
        ? std::snprintf(out, kPathSize, "%s", part)
        : std::snprintf(out, kPathSize, "%.*s/%s", static_cast<int>(folderLength), folder, part);
    return written >= 0 && static_cast<size_t>(written) < kPathSize;
}

/// Checks one candidate: 0 when it is an executable file, ENOENT when there is nothing, EACCES
/// when something of that name is there but cannot be run.
int CheckCandidate(const char* path) {
    struct stat info;
    if (stat(path, &info) != 0) return errno == ENOENT || errno == ENOTDIR ? ENOENT : errno;
    if (!S_ISREG(info.st_mode) || access(path, X_OK) != 0) return EACCES;
    return 0;
}

/// The path as seen from this process's working directory, so that it still names the same file
/// after the renderer has changed into its folder.
bool MakeAbsolute(const char* path, char* out) {
    if (path[0] == '/') return std::snprintf(out, kPathSize, "%s", path) >= 0;
    char here[kPathSize];
    if (!getcwd(here, sizeof here)) return false;
    int written = std::snprintf(out, kPathSize, "%s/%s", here, path);
    return written >= 0 && static_cast<size_t>(written) < kPathSize;
}

/// Finds the program in `folder`, then along PATH; answers 0 with its path in `found`, else the
/// error to report (a candidate that is there but cannot run outranks one that is missing).
int FindProgram(const char* folder, const char* program, char* found) {
    char candidate[kPathSize];
    int error = ENOENT;
    auto consider = [&](const char* directory, size_t length) {
        if (!JoinPath(candidate, directory, length, program)) return false;
        int result = CheckCandidate(candidate);
        if (result == 0) return MakeAbsolute(candidate, found);
        if (error == ENOENT) error = result;
        return false;
    };
    if (consider(folder, std::strlen(folder))) return 0;
    if (std::strchr(program, '/')) return error; // a path names one file only

    const char* path = std::getenv("PATH");
    if (!path) path = kDefaultSearchPath;
    for (const char* entry = path;; ) {
        const char* end = std::strchr(entry, ':');
        size_t length = end ? static_cast<size_t>(end - entry) : std::strlen(entry);
        // An empty entry is the working directory, which is the folder already tried; a relative
        // one counts from there too.
        if (length > 0) {
            char directory[kPathSize];
            int written = entry[0] == '/' || folder[0] == '\0'
                ? std::snprintf(directory, kPathSize, "%.*s", static_cast<int>(length), entry)
                : std::snprintf(directory, kPathSize, "%s/%.*s", folder, static_cast<int>(length), entry);
            bool fits = written >= 0 && static_cast<size_t>(written) < kPathSize;
            if (fits && consider(directory, std::strlen(directory))) return 0;
        }
        if (!end) break;
        entry = end + 1;
    }
    return error;
}

/// The argument as the program receives it: a command line's enclosing quotes keep a path with
/// blanks in one piece, and are not part of it.
bool UnquoteArgument(const char* argument, char* out) {
    size_t length = std::strlen(argument);
    if (length >= 2 && argument[0] == '"' && argument[length - 1] == '"') {
        argument += 1;
        length -= 2;
    }
    if (length >= kPathSize) return false;
    std::memcpy(out, argument, length);
    out[length] = '\0';
    return true;
}

/// Sends an error number through the pipe and ends the forked process.
[[noreturn]] void ReportAndExit(int pipeEnd, int error) {
    ssize_t ignored = write(pipeEnd, &error, sizeof error);
    (void)ignored;
    _exit(127);
}

/// The middle process: forks the renderer and ends. The renderer moves into its folder and
/// becomes the program.
[[noreturn]] void RunMiddleProcess(int pipeEnd, const char* folder, const char* file, char* const* argv) {
    pid_t renderer = fork();
    if (renderer < 0) ReportAndExit(pipeEnd, errno);
    if (renderer == 0) {
        if (folder[0] != '\0' && chdir(folder) != 0) ReportAndExit(pipeEnd, errno);
        execve(file, argv, environ);
        ReportAndExit(pipeEnd, errno);
    }
    _exit(0);
}

} // namespace

int StartProgramInFolder(const char* folder, const char* program, const char* argument) {
    if (!folder || !program || !argument || program[0] == '\0') return EINVAL;
    struct stat info;
    if (folder[0] != '\0' && (stat(folder, &info) != 0 || !S_ISDIR(info.st_mode))) return ENOTDIR;
    char file[kPathSize];
    int error = FindProgram(folder, program, file);
    if (error != 0) return error;
    char plainArgument[kPathSize];
    if (!UnquoteArgument(argument, plainArgument)) return ENAMETOOLONG;
    char programName[kPathSize];
    std::snprintf(programName, kPathSize, "%s", program);
    char* argv[] = {programName, plainArgument, nullptr};

    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) return errno;
    pid_t middle = fork();
    if (middle < 0) {
        error = errno;
        close(report[0]);
        close(report[1]);
        return error;
    }
    if (middle == 0) {
        close(report[0]);
        RunMiddleProcess(report[1], folder, file, argv);
    }
    close(report[1]);
    // The middle process ends at once; reaping it leaves no zombie. A host that ignores SIGCHLD
    // has it reaped already, which waitpid answers with ECHILD.
    while (waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
    }
    // Blocks until the renderer has exec'd (the pipe closes) or a step failed (an error arrives).
    int started = 0;
    ssize_t got;
    while ((got = read(report[0], &started, sizeof started)) < 0 && errno == EINTR) {
    }
    close(report[0]);
    return got == static_cast<ssize_t>(sizeof started) ? started : 0;
}
