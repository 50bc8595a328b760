#include <filesystem>

#include "host/model/image.h"
#include "host/plugins/description.h"
#include "host/plugins/registry.h"
#include "host/resources/resource_error.h"
#include "host/resources/string_table.h"
#include "host/table/handle_counts.h"
#include "host/table/handle_factory.h"
#include "host/table/handles.h"
#include "host/table/host_table_impl.h"
#include "host/table/table_guard.h"

namespace host {
namespace {

HostResource* loadStrings(const HostFilename* folder)
{
    return guarded("resource.load_strings", static_cast<HostResource*>(nullptr), [&] {
        Session& session = liveSession();
        if (!folder || folder->path.empty())
            return static_cast<HostResource*>(nullptr);
        try {
            auto* resource = new HostResource{loadModuleStrings(folder->path)};
            ++handleCounts().resources;
            return resource;
        } catch (const ResourceError& e) {
            session.addDiagnostic(e.what());
            return static_cast<HostResource*>(nullptr);
        }
    });
}

HostString* string(const HostResource* resource, int32_t id)
{
    return guarded("resource.string", static_cast<HostString*>(nullptr),
                   [&] { return newText(resource ? resource->strings.text(id) : ""); });
}

void release(HostResource* resource)
{
    if (!resource)
        return;
    delete resource;
    --handleCounts().resources;
}

bool registerDescription(int32_t pluginId, const char* name, const HostResource* /*strings*/)
{
    // The labels come from the description's own label file beside it, not from the module's
    // string table.
    return guarded("resource.register_description", false, [&] {
        Session& session = liveSession();
        if (!name || !*name) {
            session.addDiagnostic("plug-in " + std::to_string(pluginId) +
                                  ": no description resource name");
            return false;
        }
        try {
            session.registerDescription(pluginId, name);
            return true;
        } catch (const ResourceError& e) {
            session.addDiagnostic(std::string("description \"") + name + "\" of plug-in " +
                                  std::to_string(pluginId) + " refused: " + e.what());
            return false;
        }
    });
}

bool loadDescription(HostDescription* description, int32_t id)
{
    return guarded("resource.load_description", false, [&] {
        if (!description)
            return false;
        const DescriptionResource* resource = liveSession().registry().description(id);
        if (!resource)
            return false;
        fillDescription(*description, id, *resource);
        return true;
    });
}

HostContainer* descriptionEntry(HostDescription* description, int32_t parameterId)
{
    return description ? description->entry(parameterId) : nullptr;
}

} // namespace

const HostResourceOps& resourceOps()
{
    static const HostResourceOps ops = {loadStrings,     string,          release,
                                        registerDescription, loadDescription, descriptionEntry};
    return ops;
}

} // namespace host
