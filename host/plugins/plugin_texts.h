// The host's own texts for the module's plug-ins, handed out by the function table's
// text_container for (document, plug-in ID). The module shows them; the host words them.
#pragma once

#include <cstdint>

#include "host/model/container.h"

namespace host {

class Session;

/// The plug-in ID under which the export commands find their texts (the export command's).
constexpr int32_t exportCommandTextsId = 1019468;
/// Text 1000: no renderer folder is set. Text 1001: no memory for the export.
constexpr int32_t textNoRendererFolder = 1000;
constexpr int32_t textNoMemoryForExport = 1001;

/// The texts of the export commands.
HostContainer exportCommandTexts();

/// Gives the session every text container of the host's resources.
void installPluginTexts(Session& session);

} // namespace host
