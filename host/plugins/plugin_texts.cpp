#include "host/plugins/plugin_texts.h"

#include "host/plugins/session.h"

namespace host {

HostContainer exportCommandTexts()
{
    HostContainer texts;
    texts.setString(textNoRendererFolder,
                    "Lumeno: no renderer folder is set, so the renderer cannot be started and "
                    "nothing was exported. Set the folder that holds lumeno.exe with "
                    "\"lumeno-host prefs --renderer-folder DIR\", then run the command again.");
    texts.setString(textNoMemoryForExport,
                    "Lumeno: there is not enough memory to export the scene. Free some memory "
                    "(close other documents or programs), then run the command again.");
    return texts;
}

void installPluginTexts(Session& session)
{
    session.setTextContainer(exportCommandTextsId, exportCommandTexts());
}

} // namespace host
