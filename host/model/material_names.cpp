#include "host/model/material_names.h"

#include <map>

#include "host/model/document.h"
#include "host/text/host_text.h"

namespace host {

std::vector<std::pair<std::string, int>> sharedMaterialNames(const HostNode& document)
{
    std::map<std::string, int> counts;
    std::vector<std::string> order;
    for (HostNode* material = firstMaterial(document); material; material = material->next()) {
        std::string name(cutUtf8(material->name, 255));
        if (counts[name]++ == 0)
            order.push_back(name);
    }
    std::vector<std::pair<std::string, int>> shared;
    for (const std::string& name : order)
        if (counts[name] > 1)
            shared.emplace_back(name, counts[name]);
    return shared;
}

} // namespace host
