// The objects of a document that left nothing in the scene: those whose origin the host saw
// neither in a saved mesh file, nor named by an element of the scene file, nor as the camera.
#pragma once

#include <vector>

#include "host/model/node.h"
#include "host/report/export_report.h"
#include "host/report/scene_contents.h"
#include "host/table/save_trace.h"

namespace host {

/// In document order (parents before children).
std::vector<LeftOutObject> leftOutObjects(const HostNode& document, const SaveTrace& trace,
                                          const SceneContents& contents);

} // namespace host
