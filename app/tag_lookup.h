// Finding the object and the tag a command names: the object by its path, the tag by its name,
// its plug-in's name, its description name or its type ID.
#pragma once

#include <string>

#include "host/model/node.h"
#include "host/plugins/registry.h"

namespace app {

/// The object at a path of the document; throws CommandFailure naming the file when no object
/// or several share it.
HostNode& findObject(const HostNode& document, const std::string& path, const std::string& file);

/// "\"Look\" (type 10000)", or "unnamed (type 5616)".
std::string tagTitle(const HostNode& tag);

/// The first tag of the object that the name, plug-in name, description name or type ID names;
/// throws CommandFailure listing the object's tags when none does.
HostNode& findTag(HostNode& object, const std::string& wanted, const host::Registry& registry);

} // namespace app
