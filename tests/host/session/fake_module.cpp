#include "tests/host/session/fake_module.h"

#include <new>

#include "host_constants.h"
#include "plugin_records.h"

namespace fake {
namespace {

struct Instance {
    int32_t kind;
};

const HostTable& t()
{
    return *state().table;
}

void* allocate(int32_t kind)
{
    void* block = t().memory->alloc(sizeof(Instance));
    if (!block)
        return nullptr;
    return new (block) Instance{kind};
}

void destroy(void* instance)
{
    state().log.push_back("destroy " + std::to_string(static_cast<Instance*>(instance)->kind));
    t().memory->free(instance);
}

void* allocateSaver() { return allocate(PLUGIN_KIND_SCENE_SAVER); }
void* allocateTag() { return allocate(PLUGIN_KIND_TAG); }

bool initSaver(void*, HostNode* node)
{
    state().log.push_back("saver init " + std::to_string(t().node->type(node)));
    return true;
}

int32_t save(void*, HostNode*, const HostFilename* file, HostDocument* document, int32_t flags)
{
    HostString* text = t().filename->to_text(file);
    char path[256];
    t().text->to_cstring(text, path, sizeof path);
    t().text->free(text);
    int objects = 0;
    for (HostObject* o = t().document->first_object(document); o; o = t().node->next(o))
        ++objects;
    state().log.push_back(std::string("saver save ") + path + " flags " + std::to_string(flags) +
                          " objects " + std::to_string(objects));
    return state().saveResult;
}

bool initTag(void*, HostNode* node)
{
    t().container->set_int(t().node->container(node), TAG_DEFAULT_PARAMETER, 42);
    state().log.push_back("tag init");
    return true;
}

bool tagMessage(void*, HostNode*, int32_t type, void*)
{
    state().log.push_back("tag message " + std::to_string(type));
    return type != 99;
}

bool describe(void*, HostNode*, HostDescription* description, int32_t* flags)
{
    if (!t().resource->load_description(description, TAG_ID))
        return false;
    HostContainer* entry = t().resource->description_entry(description, TAG_HIDDEN_PARAMETER);
    if (entry)
        t().container->set_bool(entry, DESC_PROPERTY_HIDE, true);
    *flags |= DESCFLAGS_DESC_LOADED;
    return true;
}

bool isEnabled(void*, HostNode*, int32_t id, const HostValue*, int32_t, const HostContainer*)
{
    return id != TAG_DEFAULT_PARAMETER;
}

int32_t execute(void*, HostTag*, HostDocument*, HostObject*, int32_t, int32_t)
{
    return 7;
}

/// Paints as the material helper tag does: the linked material's preview scaled to the surface,
/// framed by a rectangle; false without a material.
bool draw(void*, HostTag* tag, HostSurface* surface)
{
    HostNode* material = t().container->get_link(t().node->container(tag), TAG_MATERIAL_LINK,
                                                 t().node->document(tag), LINK_FILTER_ANY);
    const HostImage* preview = material ? t().image->material_preview(material, 0) : nullptr;
    if (!preview || !t().surface->is_valid(surface))
        return false;
    const int32_t w = t().surface->width(surface);
    const int32_t h = t().surface->height(surface);
    HostImage* image = t().image->create();
    if (!t().image->init(image, w, h, 24)) {
        t().image->free(image);
        return false;
    }
    t().image->scale(preview, image, 256, 0, 0);
    t().surface->draw_image(surface, image, 128);
    t().surface->begin(surface);
    t().surface->set_colour(surface, 244, 255, 108, 255);
    t().surface->rectangle(surface, 1, 1, w - 2, h - 2);
    t().surface->end(surface);
    t().image->free(image);
    return true;
}

void destroyCommand(void* instance)
{
    state().log.push_back("command destroy");
    t().memory->free(instance);
}

bool executeCommand(void*, HostDocument*)
{
    return true;
}

HostFilename* resFile(const char* name)
{
    HostString* path = t().text->from_cstring(state().modulePath.c_str());
    HostFilename* module = t().filename->from_text(path);
    HostFilename* folder = t().filename->folder_part(module);
    HostString* res = t().text->from_cstring("res");
    HostFilename* resFolder = t().filename->join(folder, res);
    HostString* part = t().text->from_cstring(name);
    HostFilename* file = t().filename->join(resFolder, part);
    t().text->free(path);
    t().text->free(res);
    t().text->free(part);
    t().filename->free(module);
    t().filename->free(folder);
    t().filename->free(resFolder);
    return file;
}

bool registerAs(int32_t kind, int32_t id, const char* name, const void* record)
{
    HostString* text = t().text->from_cstring(name);
    const bool ok = t().registry->register_plugin(kind, id, text, record);
    t().text->free(text);
    return ok;
}

bool registerSaver()
{
    SaverRecord record{};
    record.allocate = allocateSaver;
    record.suffix = "xml";
    record.destroy = destroy;
    record.init = initSaver;
    record.save = save;
    return registerAs(PLUGIN_KIND_SCENE_SAVER, SAVER_ID, "Fake Saver", &record);
}

bool registerTag()
{
    HostImage* icon = t().registry->image_new();
    HostFilename* file = resFile(state().tagIcon.c_str());
    const int32_t loaded = t().registry->image_load(icon, file);
    t().filename->free(file);
    bool ok = loaded == IMAGE_RESULT_OK &&
              t().resource->register_description(TAG_ID, "Tlumenogenericobjtag", nullptr);
    if (ok) {
        TagRecord record{};
        record.flags = 1;
        record.allocate = allocateTag;
        record.description = "Tlumenogenericobjtag";
        record.icon = icon;
        record.destroy = destroy;
        record.init = initTag;
        record.message = tagMessage;
        record.describe = describe;
        record.is_enabled = isEnabled;
        record.execute = execute;
        record.draw = draw;
        ok = registerAs(PLUGIN_KIND_TAG, TAG_ID, "Fake Tag", &record);
    }
    // The module gives its image back at once: the registry must keep its own.
    t().registry->image_free(icon);
    return ok;
}

bool registerCommand()
{
    void* instance = allocate(PLUGIN_KIND_COMMAND);
    HostImage* icon = t().registry->image_new();
    HostFilename* file = resFile("lumenoexportcommand.tif");
    t().registry->image_load(icon, file);
    t().filename->free(file);
    HostString* help = t().text->from_cstring("Does nothing, helpfully.");
    CommandRecord record{};
    record.help = help;
    record.icon = icon;
    record.instance = instance;
    record.destroy = destroyCommand;
    record.execute = executeCommand;
    const bool ok = registerAs(PLUGIN_KIND_COMMAND, COMMAND_ID, "Fake Command", &record);
    t().text->free(help);
    t().registry->image_free(icon);
    return ok;
}

} // namespace

State& state()
{
    static State s;
    return s;
}

void reset()
{
    state() = State{};
}

int32_t c4d_main(int32_t action, void* p1, void*, void* p3)
{
    switch (action) {
    case C4D_ACTION_INIT:
        ++state().inits;
        state().table = static_cast<const HostTable*>(p1);
        state().modulePath = p3 ? static_cast<const char*>(p3) : "";
        return state().table->version >= HOST_MIN_INTERFACE_VERSION ? C4D_RESULT_OK
                                                                    : C4D_RESULT_TOO_OLD;
    case C4D_ACTION_START:
        return (registerSaver() && registerTag() && registerCommand()) ? C4D_RESULT_OK
                                                                       : C4D_RESULT_FAILED;
    case C4D_ACTION_END:
        ++state().ends;
        state().log.push_back("end");
        return C4D_RESULT_OK;
    case C4D_ACTION_MESSAGE:
        return C4D_RESULT_OK;
    default:
        return C4D_RESULT_REFUSED;
    }
}

} // namespace fake
