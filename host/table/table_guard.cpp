#include "host/table/table_guard.h"

namespace host {

void noteTableFailure(const char* operation, const std::string& reason) noexcept
{
    try {
        if (Session* session = Session::current())
            session->addDiagnostic(std::string(operation) + ": " + reason);
    } catch (...) {
        // Out of memory while recording: the failure answer still goes back.
    }
}

Session& liveSession()
{
    Session* session = Session::current();
    if (!session)
        throw HostError("no host session is running");
    return *session;
}

} // namespace host
