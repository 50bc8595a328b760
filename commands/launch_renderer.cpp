#include "commands/launch_renderer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "commands/command_steps.h"
#include "commands/process_start.h"

namespace {

/// Why the renderer did not start, in the user's words.
const char* DescribeStartError(int32_t error) {
    switch (error) {
    case ENOTDIR: return "the renderer folder does not exist or is not a folder";
    case EACCES: return "it is not an executable program, or may not be run";
    case ENOEXEC: return "it is not a program this system can run";
    default: return std::strerror(error);
    }
}

} // namespace

int32_t LaunchRenderer(const char* executable, const char* folder, const char* argument) {
    if (!executable || !argument) return EINVAL;
    return StartProgramInFolder(folder ? folder : "", executable, argument);
}

bool StartRenderer(const char* folder, const char* argument) {
    int32_t error = LaunchRenderer(kRendererExecutable, folder, argument);
    if (error == 0) return true;
    char message[1024];
    if (error == ENOENT)
        std::snprintf(message, sizeof message,
                      "The renderer was not started: there is no program \"%s\" in the renderer "
                      "folder \"%s\", nor along PATH. Check the renderer folder setting. The scene "
                      "was written to %s.",
                      kRendererExecutable, folder, argument);
    else
        std::snprintf(message, sizeof message,
                      "The renderer \"%s\" could not be started from the renderer folder \"%s\": %s. "
                      "The scene was written to %s.",
                      kRendererExecutable, folder, DescribeStartError(error), argument);
    ShowMessage(message);
    return false;
}
