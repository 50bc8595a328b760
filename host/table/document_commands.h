// The document group's modelling command and save, which the table's document_ops wires in.
#pragma once

#include <cstdint>

#include "host_table.h"

namespace host {

/// modeling_command: 245 (current state to object, host/geometry/current_state.h) is the only
/// command; every mode acts on the whole object. The option container's boolean 2141 asks for
/// the inherited matrix. Answers a new object tree owned by the caller, or NULL when the command
/// is unknown or the object is not in the document.
HostObject* runModelingCommand(int32_t command, HostDocument* document, HostObject* object, int32_t mode,
                               const HostContainer* options);

/// save: format 1001038 (3DS, host/files/three_ds_writer.h) is the only format. Answers 0, -1
/// when the file cannot be written (the reason, naming the file, goes to the session's
/// diagnostics) or -7 when memory runs out; nothing half-written stays behind.
int32_t saveDocument(HostDocument* document, const HostFilename* file, int32_t flags, int32_t format);

} // namespace host
