#include "frame/start_module.h"

#include "commands/lumeno_export_and_run_command.h"
#include "commands/lumeno_export_command.h"
#include "export/lumeno_saver_data.h"
#include "tags/lumeno_config.h"
#include "tags/lumeno_generic_obj_tag.h"
#include "tags/lumeno_light_tag.h"
#include "tags/lumeno_material_helper_tag.h"

// The registration order is fixed:
//   1 RegisterLumenoSaver
//   2 RegisterLumenoConfig
//   3 RegisterLumenoExportCommand
//   4 RegisterLumenoExportAndRunCommand
//   5 RegisterLumenoLightTag
//   6 RegisterLumenoGenericObjTag
//   7 RegisterLumenoMaterialHelperTag
// Each later registration takes its numbered place below when its class lands.
bool StartModule() {
    return RegisterLumenoSaver()
        && RegisterLumenoConfig()
        && RegisterLumenoExportCommand()
        && RegisterLumenoExportAndRunCommand()
        && RegisterLumenoLightTag()
        && RegisterLumenoGenericObjTag()
        && RegisterLumenoMaterialHelperTag()
        ;
}
