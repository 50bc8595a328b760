// The process that reads models and mesh files for lumeno-host: a fork of it that loads the
// reading library and answers requests over a pipe, one after another, for the rest of the
// command. A model that crashes the reader, makes it run too long or grow too large ends the
// child, never lumeno-host; the next request starts a new one.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/import/model_reading.h"
#include "host/import/model_transfer.h"

namespace host::import {

class ReadingChild {
public:
    /// `library` answers the reading library's table; the child calls it, lumeno-host never does.
    explicit ReadingChild(const ModelReadingTable& (*library)()) : library_(library) {}
    /// Stops the child.
    ~ReadingChild();
    ReadingChild(const ReadingChild&) = delete;
    ReadingChild& operator=(const ReadingChild&) = delete;

    /// Each reads in the child within the reading limits: the library's outcome, or Stopped with
    /// what ended the child ("the model reader crashed (segmentation fault) reading it").
    ReadingOutcome importModel(const std::filesystem::path& model, const ImportOptions& options, ImportedModel& result);
    ReadingOutcome loadMeshFile(const std::filesystem::path& file, std::vector<MeshPart>& result);

private:
    template <class Answer, class... Arguments>
    ReadingOutcome ask(transfer::Request request, Answer& answer, Arguments&... arguments);
    void start();
    /// Kills the child, if it still runs, and answers how it ended (waitpid's status).
    int stop();
    [[noreturn]] void serve(int requests, int answers);

    const ModelReadingTable& (*library_)();
    pid_t pid_ = -1;
    int requests_ = -1, answers_ = -1;
    uint64_t startBytes_ = 0; // lumeno-host's resident memory when it started the child
};

} // namespace host::import
