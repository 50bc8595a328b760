// What the user should look at after an export, though the scene file was written: materials
// the renderer cannot tell apart, texture files it will not find, a sun without a direction,
// names the merged mesh export takes for primitives.
#pragma once

#include <filesystem>
#include <vector>

#include "host/model/node.h"
#include "host/report/export_report.h"
#include "host/report/scene_contents.h"

namespace host {

std::vector<ReportWarning> exportWarnings(const HostNode& document, const SceneContents& contents,
                                          const std::filesystem::path& sceneFile);

} // namespace host
