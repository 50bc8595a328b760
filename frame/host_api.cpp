#include "frame/host_api.h"

#include "frame/host_call.h"

namespace {

const HostTable* g_table = nullptr;

using host_call::Call;
using host_call::CallVoid;

constexpr HostVector kZero{0.0f, 0.0f, 0.0f};
constexpr HostMatrix kZeroMatrix{kZero, kZero, kZero, kZero};

} // namespace

void SetHostTable(const HostTable* table) { g_table = table; }
const HostTable* GetHostTable() { return g_table; }

// Memory
void* HostAlloc(size_t size) { return Call(&HostTable::memory, &HostMemoryOps::alloc, nullptr, size); }
void HostFree(void* block) {
    if (block) CallVoid(&HostTable::memory, &HostMemoryOps::free, block);
}

// Texts
HostString* TextFromCString(const char* text) {
    return Call(&HostTable::text, &HostTextOps::from_cstring, nullptr, text ? text : "");
}
HostString* TextCopy(const HostString* text) {
    return Call(&HostTable::text, &HostTextOps::copy, nullptr, text);
}
int32_t TextLength(const HostString* text) {
    return text ? Call(&HostTable::text, &HostTextOps::length, 0, text) : 0;
}
int32_t TextToCString(const HostString* text, char* buffer, int32_t size) {
    if (!buffer || size <= 0) return 0;
    buffer[0] = '\0';
    if (!text) return 0;
    return Call(&HostTable::text, &HostTextOps::to_cstring, 0, text, buffer, size);
}
void TextFree(HostString* text) {
    if (text) CallVoid(&HostTable::text, &HostTextOps::free, text);
}

// File names
HostFilename* FilenameCreate() { return Call(&HostTable::filename, &HostFilenameOps::create, nullptr); }
HostFilename* FilenameFromText(const HostString* text) {
    return Call(&HostTable::filename, &HostFilenameOps::from_text, nullptr, text);
}
HostFilename* FilenameCopy(const HostFilename* name) {
    return Call(&HostTable::filename, &HostFilenameOps::copy, nullptr, name);
}
void FilenameSetText(HostFilename* name, const HostString* text) {
    if (name) CallVoid(&HostTable::filename, &HostFilenameOps::set_text, name, text);
}
HostFilename* FilenameNamePart(const HostFilename* name) {
    return name ? Call(&HostTable::filename, &HostFilenameOps::name_part, nullptr, name) : nullptr;
}
HostFilename* FilenameFolderPart(const HostFilename* name) {
    return name ? Call(&HostTable::filename, &HostFilenameOps::folder_part, nullptr, name) : nullptr;
}
HostFilename* FilenameJoin(const HostFilename* folder, const HostString* part) {
    return folder ? Call(&HostTable::filename, &HostFilenameOps::join, nullptr, folder, part) : nullptr;
}
HostString* FilenameToText(const HostFilename* name) {
    return name ? Call(&HostTable::filename, &HostFilenameOps::to_text, nullptr, name) : nullptr;
}
bool FilenameIsEmpty(const HostFilename* name) {
    return name ? Call(&HostTable::filename, &HostFilenameOps::is_empty, true, name) : true;
}
bool FilenameDialog(HostFilename* name, int32_t kind, int32_t mode, const HostString* title) {
    return name ? Call(&HostTable::filename, &HostFilenameOps::dialog, false, name, kind, mode, title)
                : false;
}
void FilenameFree(HostFilename* name) {
    if (name) CallVoid(&HostTable::filename, &HostFilenameOps::free, name);
}

// Resources and descriptions
HostResource* ResourceLoadStrings(const HostFilename* folder) {
    return Call(&HostTable::resource, &HostResourceOps::load_strings, nullptr, folder);
}
HostString* ResourceString(const HostResource* resource, int32_t id) {
    return Call(&HostTable::resource, &HostResourceOps::string, nullptr, resource, id);
}
void ResourceRelease(HostResource* resource) {
    if (resource) CallVoid(&HostTable::resource, &HostResourceOps::release, resource);
}
bool ResourceRegisterDescription(int32_t pluginId, const char* name, const HostResource* strings) {
    return Call(&HostTable::resource, &HostResourceOps::register_description, false, pluginId, name,
                strings);
}
bool DescriptionLoad(HostDescription* description, int32_t id) {
    return description
               ? Call(&HostTable::resource, &HostResourceOps::load_description, false, description, id)
               : false;
}
HostContainer* DescriptionEntry(HostDescription* description, int32_t parameterId) {
    return description ? Call(&HostTable::resource, &HostResourceOps::description_entry, nullptr,
                              description, parameterId)
                       : nullptr;
}

// Registration and icons
bool RegisterPlugin(int32_t kind, int32_t id, const HostString* name, const void* record) {
    return Call(&HostTable::registry, &HostRegistryOps::register_plugin, false, kind, id, name, record);
}
HostImage* ImageNew() { return Call(&HostTable::registry, &HostRegistryOps::image_new, nullptr); }
int32_t ImageLoad(HostImage* image, const HostFilename* file) {
    return image ? Call(&HostTable::registry, &HostRegistryOps::image_load, 0, image, file) : 0;
}
void ImageFree(HostImage* image) {
    if (image) CallVoid(&HostTable::registry, &HostRegistryOps::image_free, image);
}

// Plug-in settings, user texts, command-state scratch
HostContainer* PluginSettings(int32_t pluginId) {
    return Call(&HostTable::settings, &HostSettingsOps::plugin_settings, nullptr, pluginId);
}
bool StorePluginSettings(int32_t pluginId, const HostContainer* settings, int32_t flags) {
    return settings ? Call(&HostTable::settings, &HostSettingsOps::store_plugin_settings, false,
                           pluginId, settings, flags)
                    : false;
}
const HostContainer* PluginTextContainer(HostDocument* document, int32_t pluginId) {
    return Call(&HostTable::settings, &HostSettingsOps::text_container, nullptr, document, pluginId);
}
void ShowText(const HostString* text) {
    if (text) CallVoid(&HostTable::settings, &HostSettingsOps::show_text, text);
}
HostScratch* ScratchAcquire() {
    return Call(&HostTable::settings, &HostSettingsOps::scratch_acquire, nullptr);
}
void ScratchRelease(HostScratch* scratch) {
    if (scratch) CallVoid(&HostTable::settings, &HostSettingsOps::scratch_release, scratch);
}

// Nodes
int32_t NodeType(const HostNode* node) {
    return node ? Call(&HostTable::node, &HostNodeOps::type, 0, node) : 0;
}
HostString* NodeName(const HostNode* node) {
    return node ? Call(&HostTable::node, &HostNodeOps::name, nullptr, node) : nullptr;
}
void NodeSetName(HostNode* node, const HostString* name) {
    if (node) CallVoid(&HostTable::node, &HostNodeOps::set_name, node, name);
}
HostNode* NodeNext(const HostNode* node) {
    return node ? Call(&HostTable::node, &HostNodeOps::next, nullptr, node) : nullptr;
}
HostNode* NodeFirstChild(const HostNode* node) {
    return node ? Call(&HostTable::node, &HostNodeOps::first_child, nullptr, node) : nullptr;
}
HostNode* NodeParent(const HostNode* node) {
    return node ? Call(&HostTable::node, &HostNodeOps::parent, nullptr, node) : nullptr;
}
HostDocument* NodeDocument(const HostNode* node) {
    return node ? Call(&HostTable::node, &HostNodeOps::document, nullptr, node) : nullptr;
}
HostNode* NodeCopy(const HostNode* node, int32_t flags) {
    return node ? Call(&HostTable::node, &HostNodeOps::copy, nullptr, node, flags) : nullptr;
}
void NodeRemove(HostNode* node) {
    if (node) CallVoid(&HostTable::node, &HostNodeOps::remove, node);
}
void NodeFree(HostNode* node) {
    if (node) CallVoid(&HostTable::node, &HostNodeOps::free, node);
}
bool NodeMessage(HostNode* node, int32_t id, void* data) {
    return node ? Call(&HostTable::node, &HostNodeOps::message, false, node, id, data) : false;
}
HostContainer* NodeContainer(HostNode* node) {
    return node ? Call(&HostTable::node, &HostNodeOps::container, nullptr, node) : nullptr;
}
bool NodeGetParameter(HostNode* node, int32_t id, HostValue* out) {
    if (!out) return false;
    *out = HostValue{};
    return node ? Call(&HostTable::node, &HostNodeOps::get_parameter, false, node, id, out) : false;
}
HostNode* NodeResolveLink(uint64_t link, HostDocument* document, int32_t filter) {
    return link ? Call(&HostTable::node, &HostNodeOps::resolve_link, nullptr, link, document, filter)
                : nullptr;
}

// Objects
HostTag* ObjectFirstTag(const HostObject* object) {
    return object ? Call(&HostTable::object, &HostObjectOps::first_tag, nullptr, object) : nullptr;
}
void ObjectInsertTag(HostObject* object, HostTag* tag, HostTag* predecessor) {
    if (object && tag) CallVoid(&HostTable::object, &HostObjectOps::insert_tag, object, tag, predecessor);
}
HostVector ObjectPosition(const HostObject* object) {
    return object ? Call(&HostTable::object, &HostObjectOps::position, kZero, object) : kZero;
}
HostMatrix ObjectLocalMatrix(const HostObject* object) {
    return object ? Call(&HostTable::object, &HostObjectOps::local_matrix, kZeroMatrix, object)
                  : kZeroMatrix;
}
HostMatrix ObjectGlobalMatrix(const HostObject* object) {
    return object ? Call(&HostTable::object, &HostObjectOps::global_matrix, kZeroMatrix, object)
                  : kZeroMatrix;
}
void ObjectSetMatrix(HostObject* object, const HostMatrix* matrix, int32_t flags) {
    if (object && matrix) CallVoid(&HostTable::object, &HostObjectOps::set_matrix, object, matrix, flags);
}
HostVector ObjectScale(const HostObject* object) {
    return object ? Call(&HostTable::object, &HostObjectOps::scale, kZero, object) : kZero;
}
HostVector ObjectBBoxCenter(HostObject* object) {
    return object ? Call(&HostTable::object, &HostObjectOps::bbox_center, kZero, object) : kZero;
}
HostVector ObjectBBoxRadius(HostObject* object) {
    return object ? Call(&HostTable::object, &HostObjectOps::bbox_radius, kZero, object) : kZero;
}
const HostPolygon* ObjectPolygons(const HostObject* object) {
    return object ? Call(&HostTable::object, &HostObjectOps::polygons, nullptr, object) : nullptr;
}
int32_t ObjectPolygonCount(const HostObject* object) {
    return object ? Call(&HostTable::object, &HostObjectOps::polygon_count, 0, object) : 0;
}
float CameraFocus(const HostObject* camera) {
    return camera ? Call(&HostTable::object, &HostObjectOps::camera_focus, 0.0f, camera) : 0.0f;
}
float CameraFilmWidth(const HostObject* camera) {
    return camera ? Call(&HostTable::object, &HostObjectOps::camera_film_width, 0.0f, camera) : 0.0f;
}

// Documents and views
HostDocument* DocumentCreate() { return Call(&HostTable::document, &HostDocumentOps::create, nullptr); }
HostDocument* DocumentCopy(const HostDocument* document) {
    return document ? Call(&HostTable::document, &HostDocumentOps::copy, nullptr, document) : nullptr;
}
HostObject* DocumentFirstObject(const HostDocument* document) {
    return document ? Call(&HostTable::document, &HostDocumentOps::first_object, nullptr, document)
                    : nullptr;
}
HostMaterial* DocumentFirstMaterial(const HostDocument* document) {
    return document ? Call(&HostTable::document, &HostDocumentOps::first_material, nullptr, document)
                    : nullptr;
}
void DocumentInsertObject(HostDocument* document, HostObject* object, HostObject* parent,
                          HostObject* predecessor, int32_t flags) {
    if (document && object)
        CallVoid(&HostTable::document, &HostDocumentOps::insert_object, document, object, parent,
                 predecessor, flags);
}
void DocumentInsertMaterial(HostDocument* document, HostMaterial* material,
                            HostMaterial* predecessor, int32_t flags) {
    if (document && material)
        CallVoid(&HostTable::document, &HostDocumentOps::insert_material, document, material,
                 predecessor, flags);
}
HostFilename* DocumentSettingFilename(const HostDocument* document, int32_t id) {
    return document
               ? Call(&HostTable::document, &HostDocumentOps::setting_filename, nullptr, document, id)
               : nullptr;
}
HostView* DocumentActiveView(HostDocument* document) {
    return document ? Call(&HostTable::document, &HostDocumentOps::active_view, nullptr, document)
                    : nullptr;
}
HostObject* ViewCamera(HostView* view, HostDocument* document) {
    return view ? Call(&HostTable::document, &HostDocumentOps::view_camera, nullptr, view, document)
                : nullptr;
}
HostObject* ViewEditorCamera(HostView* view) {
    return view ? Call(&HostTable::document, &HostDocumentOps::view_editor_camera, nullptr, view)
                : nullptr;
}
HostObject* DocumentModelingCommand(int32_t command, HostDocument* document, HostObject* object,
                                    int32_t mode, const HostContainer* options) {
    return Call(&HostTable::document, &HostDocumentOps::modeling_command, nullptr, command, document,
                object, mode, options);
}
int32_t DocumentSave(HostDocument* document, const HostFilename* file, int32_t flags,
                     int32_t format) {
    if (!document || !file) return FILE_RESULT_OPEN_FAILED;
    return Call(&HostTable::document, &HostDocumentOps::save, FILE_RESULT_OPEN_FAILED, document, file,
                flags, format);
}
void DocumentFree(HostDocument* document) {
    if (document) CallVoid(&HostTable::document, &HostDocumentOps::free, document);
}

// Parameter containers
HostContainer* ContainerCreate() { return Call(&HostTable::container, &HostContainerOps::create, nullptr); }
HostContainer* ContainerCopy(const HostContainer* container) {
    return container ? Call(&HostTable::container, &HostContainerOps::copy, nullptr, container) : nullptr;
}
void ContainerFree(HostContainer* container) {
    if (container) CallVoid(&HostTable::container, &HostContainerOps::free, container);
}
bool ContainerHas(const HostContainer* container, int32_t id) {
    return container ? Call(&HostTable::container, &HostContainerOps::has, false, container, id) : false;
}
bool ContainerGetBool(const HostContainer* container, int32_t id, bool fallback) {
    return container
               ? Call(&HostTable::container, &HostContainerOps::get_bool, fallback, container, id, fallback)
               : fallback;
}
int32_t ContainerGetInt(const HostContainer* container, int32_t id, int32_t fallback) {
    return container
               ? Call(&HostTable::container, &HostContainerOps::get_int, fallback, container, id, fallback)
               : fallback;
}
float ContainerGetReal(const HostContainer* container, int32_t id, float fallback) {
    return container
               ? Call(&HostTable::container, &HostContainerOps::get_real, fallback, container, id, fallback)
               : fallback;
}
HostVector ContainerGetVector(const HostContainer* container, int32_t id, HostVector fallback) {
    return container ? Call(&HostTable::container, &HostContainerOps::get_vector, fallback, container,
                            id, fallback)
                     : fallback;
}
HostString* ContainerGetString(const HostContainer* container, int32_t id) {
    return container ? Call(&HostTable::container, &HostContainerOps::get_string, nullptr, container, id)
                     : nullptr;
}
HostFilename* ContainerGetFilename(const HostContainer* container, int32_t id) {
    return container
               ? Call(&HostTable::container, &HostContainerOps::get_filename, nullptr, container, id)
               : nullptr;
}
HostNode* ContainerGetLink(const HostContainer* container, int32_t id, HostDocument* document,
                           int32_t filter) {
    return container ? Call(&HostTable::container, &HostContainerOps::get_link, nullptr, container, id,
                            document, filter)
                     : nullptr;
}
void ContainerSetBool(HostContainer* container, int32_t id, bool value) {
    if (container) CallVoid(&HostTable::container, &HostContainerOps::set_bool, container, id, value);
}
void ContainerSetInt(HostContainer* container, int32_t id, int32_t value) {
    if (container) CallVoid(&HostTable::container, &HostContainerOps::set_int, container, id, value);
}
void ContainerSetReal(HostContainer* container, int32_t id, float value) {
    if (container) CallVoid(&HostTable::container, &HostContainerOps::set_real, container, id, value);
}
void ContainerSetVector(HostContainer* container, int32_t id, HostVector value) {
    if (container) CallVoid(&HostTable::container, &HostContainerOps::set_vector, container, id, value);
}
void ContainerSetString(HostContainer* container, int32_t id, const HostString* value) {
    if (container) CallVoid(&HostTable::container, &HostContainerOps::set_string, container, id, value);
}
void ContainerSetFilename(HostContainer* container, int32_t id, const HostFilename* value) {
    if (container)
        CallVoid(&HostTable::container, &HostContainerOps::set_filename, container, id, value);
}
void ContainerSetLink(HostContainer* container, int32_t id, const HostNode* value) {
    if (container) CallVoid(&HostTable::container, &HostContainerOps::set_link, container, id, value);
}
void ContainerRemove(HostContainer* container, int32_t id) {
    if (container) CallVoid(&HostTable::container, &HostContainerOps::remove, container, id);
}

// Materials
HostMaterial* TextureTagMaterial(const HostTag* textureTag) {
    return textureTag
               ? Call(&HostTable::material, &HostMaterialOps::texture_material, nullptr, textureTag)
               : nullptr;
}
void SetTextureTagMaterial(HostTag* textureTag, const HostMaterial* material) {
    if (textureTag)
        CallVoid(&HostTable::material, &HostMaterialOps::set_texture_material, textureTag, material);
}
