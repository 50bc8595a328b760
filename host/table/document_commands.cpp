#include "host/table/document_commands.h"

#include <new>
#include <stdexcept>
#include <string>

#include "host/files/export_staging.h"
#include "host/files/three_ds_writer.h"
#include "host/geometry/current_state.h"
#include "host/plugins/host_error.h"
#include "host/table/save_trace.h"
#include "host/table/table_guard.h"
#include "host/text/host_text.h"
#include "host_constants.h"

namespace host {

HostObject* runModelingCommand(int32_t command, HostDocument* document, HostObject* object, int32_t /*mode*/,
                               const HostContainer* options)
{
    return guarded("document.modeling_command", static_cast<HostObject*>(nullptr), [&] {
        if (command != MODELING_CURRENT_STATE_TO_OBJECT)
            throw HostError("modelling command " + std::to_string(command) + " is not known to this host");
        if (!object || !object->isObject())
            throw std::invalid_argument("the command needs an object");
        if (!document || object->document() != document)
            throw std::invalid_argument("the object \"" + object->name + "\" is not in the given document");
        const bool inherit = options && options->getBool(MODELING_OPTION_INHERIT, false);
        NodePtr state = currentStateToObject(*object, inherit);
        // An instance converted later finds this state when the module has replaced the object.
        if (const uint64_t token = object->tokenIfAny())
            document->documentData->currentStates[token] = state->token();
        return state.release();
    });
}

int32_t saveDocument(HostDocument* document, const HostFilename* file, int32_t /*flags*/, int32_t format)
{
    try {
        if (!document || !document->isDocument())
            throw std::invalid_argument("there is no document to save");
        if (!file || file->path.empty())
            throw std::invalid_argument("there is no file name to save to");
        if (format != SAVE_FORMAT_3DS)
            throw HostError("cannot write " + file->path + ": format " + std::to_string(format) +
                            " is not a format this host saves");
        const std::size_t bytes = saveThreeDs(*document, file->path);
        // A file saved into an export's staging folder is told by the name it has once committed.
        traceMeshSave(*document, committedPath(file->path), true, bytes);
        return FILE_RESULT_OK;
    } catch (const std::bad_alloc&) {
        try {
            noteTableFailure("document.save", "cannot write " + committedPath(file ? file->path : std::string()) +
                                                  ": out of memory");
        } catch (...) {
            // No memory even for the message: the answer still tells.
        }
        return FILE_RESULT_OUT_OF_MEMORY;
    } catch (const std::exception& e) {
        if (document && document->isDocument() && file)
            traceMeshSave(*document, committedPath(file->path), false);
        noteTableFailure("document.save", committedPathsIn(e.what()));
    } catch (...) {
        noteTableFailure("document.save", "unknown error");
    }
    return FILE_RESULT_OPEN_FAILED;
}

} // namespace host
