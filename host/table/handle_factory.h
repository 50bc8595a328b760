// Makers of the objects the table hands to the module to own; each is counted in
// handleCounts() until the module frees it through the matching group.
#pragma once

#include <string>

#include "host/model/container.h"
#include "host/text/host_text.h"

namespace host {

HostString* newText(std::string utf8);
HostFilename* newFilename(std::string path);
HostContainer* newContainer(const HostContainer& from);

/// Documents handed to the module (create, copy) until freed through the document or node group.
void noteDocumentHandedOut(const HostNode* document);
void noteNodeFreed(const HostNode* node);

} // namespace host
