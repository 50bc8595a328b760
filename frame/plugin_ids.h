// The identities of the module's seven plug-ins: plug-in IDs, name and help string IDs.
// A tag's host type ID equals its plug-in ID.
#pragma once

#include <cstdint>

constexpr int32_t kLumenoSaverId = 1019430;
constexpr int32_t kLumenoConfigId = 10000;
constexpr int32_t kLumenoExportCommandId = 1019468;
constexpr int32_t kLumenoExportAndRunCommandId = 1019434;
constexpr int32_t kLumenoLightTagId = 10004;
constexpr int32_t kLumenoGenericObjTagId = 10005;
constexpr int32_t kLumenoMaterialHelperTagId = 10008;

// String IDs of the module's string resource.
constexpr int32_t kStringConfigName = 10000;
constexpr int32_t kStringSaverName = 10001;
constexpr int32_t kStringExportCommandName = 10002;
constexpr int32_t kStringExportCommandHelp = 10003;
constexpr int32_t kStringLightTagName = 10004;
constexpr int32_t kStringGenericObjTagName = 10005;
constexpr int32_t kStringExportAndRunCommandName = 10006;
constexpr int32_t kStringExportAndRunCommandHelp = 10007;
constexpr int32_t kStringMaterialHelperTagName = 10008;
