// Exceptions never cross the function table: each operation runs its body through guarded(),
// which turns an exception into the operation's failure answer and records why in the live
// session's diagnostics.
#pragma once

#include <exception>
#include <string>

#include "host/plugins/session.h"

namespace host {

/// Records a failure of a table operation in the live session, if any.
void noteTableFailure(const char* operation, const std::string& reason) noexcept;

/// The live session; throws HostError when there is none.
Session& liveSession();

template <typename T, typename Body>
T guarded(const char* operation, T failure, Body&& body) noexcept
{
    try {
        return body();
    } catch (const std::exception& e) {
        noteTableFailure(operation, e.what());
    } catch (...) {
        noteTableFailure(operation, "unknown error");
    }
    return failure;
}

template <typename Body>
void guardedVoid(const char* operation, Body&& body) noexcept
{
    try {
        body();
    } catch (const std::exception& e) {
        noteTableFailure(operation, e.what());
    } catch (...) {
        noteTableFailure(operation, "unknown error");
    }
}

} // namespace host
