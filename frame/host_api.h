// The module's only way to the host: one small function per operation of the host's function
// table. Each calls through the table that c4d_main stored at initialise; before that (or after
// the last end) every function answers its neutral value (none, false, 0, the zero vector).
// Ownership follows the table: a HostString* or HostFilename* answered here belongs to the
// caller (free it, or hold it in a HostText / HostFile guard); containers, nodes and views that
// are answered are lent by the host.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host_constants.h"
#include "host_table.h"

/// Stores the host's function table (or clears it with nullptr).
void SetHostTable(const HostTable* table);
/// The stored table, or nullptr.
const HostTable* GetHostTable();

// Memory
void* HostAlloc(size_t size);
void HostFree(void* block);

// Texts
HostString* TextFromCString(const char* text);
HostString* TextCopy(const HostString* text);
int32_t TextLength(const HostString* text);
int32_t TextToCString(const HostString* text, char* buffer, int32_t size);
void TextFree(HostString* text);

// File names
HostFilename* FilenameCreate();
HostFilename* FilenameFromText(const HostString* text);
HostFilename* FilenameCopy(const HostFilename* name);
void FilenameSetText(HostFilename* name, const HostString* text);
HostFilename* FilenameNamePart(const HostFilename* name);
HostFilename* FilenameFolderPart(const HostFilename* name);
HostFilename* FilenameJoin(const HostFilename* folder, const HostString* part);
HostString* FilenameToText(const HostFilename* name);
bool FilenameIsEmpty(const HostFilename* name);
bool FilenameDialog(HostFilename* name, int32_t kind, int32_t mode, const HostString* title);
void FilenameFree(HostFilename* name);

// Resources and descriptions
HostResource* ResourceLoadStrings(const HostFilename* folder);
HostString* ResourceString(const HostResource* resource, int32_t id);
void ResourceRelease(HostResource* resource);
bool ResourceRegisterDescription(int32_t pluginId, const char* name, const HostResource* strings);
bool DescriptionLoad(HostDescription* description, int32_t id);
HostContainer* DescriptionEntry(HostDescription* description, int32_t parameterId);

// Registration and icons
bool RegisterPlugin(int32_t kind, int32_t id, const HostString* name, const void* record);
HostImage* ImageNew();
int32_t ImageLoad(HostImage* image, const HostFilename* file);
void ImageFree(HostImage* image);

// Plug-in settings, user texts, command-state scratch
HostContainer* PluginSettings(int32_t pluginId);
bool StorePluginSettings(int32_t pluginId, const HostContainer* settings, int32_t flags);
const HostContainer* PluginTextContainer(HostDocument* document, int32_t pluginId);
void ShowText(const HostString* text);
HostScratch* ScratchAcquire();
void ScratchRelease(HostScratch* scratch);

// Nodes (documents, objects, tags, materials)
int32_t NodeType(const HostNode* node);
HostString* NodeName(const HostNode* node);
void NodeSetName(HostNode* node, const HostString* name);
HostNode* NodeNext(const HostNode* node);
HostNode* NodeFirstChild(const HostNode* node);
HostNode* NodeParent(const HostNode* node);
HostDocument* NodeDocument(const HostNode* node);
HostNode* NodeCopy(const HostNode* node, int32_t flags);
void NodeRemove(HostNode* node);
void NodeFree(HostNode* node);
bool NodeMessage(HostNode* node, int32_t id, void* data);
HostContainer* NodeContainer(HostNode* node);
/// Fills `out` (zeroed first, so a failed read leaves type none and integer 0).
bool NodeGetParameter(HostNode* node, int32_t id, HostValue* out);
HostNode* NodeResolveLink(uint64_t link, HostDocument* document, int32_t filter);

// Objects
HostTag* ObjectFirstTag(const HostObject* object);
void ObjectInsertTag(HostObject* object, HostTag* tag, HostTag* predecessor);
HostVector ObjectPosition(const HostObject* object);
HostMatrix ObjectLocalMatrix(const HostObject* object);
HostMatrix ObjectGlobalMatrix(const HostObject* object);
void ObjectSetMatrix(HostObject* object, const HostMatrix* matrix, int32_t flags);
HostVector ObjectScale(const HostObject* object);
HostVector ObjectBBoxCenter(HostObject* object);
HostVector ObjectBBoxRadius(HostObject* object);
const HostPolygon* ObjectPolygons(const HostObject* object);
int32_t ObjectPolygonCount(const HostObject* object);
float CameraFocus(const HostObject* camera);
float CameraFilmWidth(const HostObject* camera);

// Documents and views
HostDocument* DocumentCreate();
HostDocument* DocumentCopy(const HostDocument* document);
HostObject* DocumentFirstObject(const HostDocument* document);
HostMaterial* DocumentFirstMaterial(const HostDocument* document);
void DocumentInsertObject(HostDocument* document, HostObject* object, HostObject* parent,
                          HostObject* predecessor, int32_t flags);
void DocumentInsertMaterial(HostDocument* document, HostMaterial* material,
                            HostMaterial* predecessor, int32_t flags);
HostFilename* DocumentSettingFilename(const HostDocument* document, int32_t id);
HostView* DocumentActiveView(HostDocument* document);
HostObject* ViewCamera(HostView* view, HostDocument* document);
HostObject* ViewEditorCamera(HostView* view);
HostObject* DocumentModelingCommand(int32_t command, HostDocument* document, HostObject* object,
                                    int32_t mode, const HostContainer* options);
int32_t DocumentSave(HostDocument* document, const HostFilename* file, int32_t flags,
                     int32_t format);
void DocumentFree(HostDocument* document);

// Parameter containers
HostContainer* ContainerCreate();
HostContainer* ContainerCopy(const HostContainer* container);
void ContainerFree(HostContainer* container);
bool ContainerHas(const HostContainer* container, int32_t id);
bool ContainerGetBool(const HostContainer* container, int32_t id, bool fallback);
int32_t ContainerGetInt(const HostContainer* container, int32_t id, int32_t fallback);
float ContainerGetReal(const HostContainer* container, int32_t id, float fallback);
HostVector ContainerGetVector(const HostContainer* container, int32_t id, HostVector fallback);
HostString* ContainerGetString(const HostContainer* container, int32_t id);
HostFilename* ContainerGetFilename(const HostContainer* container, int32_t id);
HostNode* ContainerGetLink(const HostContainer* container, int32_t id, HostDocument* document,
                           int32_t filter);
void ContainerSetBool(HostContainer* container, int32_t id, bool value);
void ContainerSetInt(HostContainer* container, int32_t id, int32_t value);
void ContainerSetReal(HostContainer* container, int32_t id, float value);
void ContainerSetVector(HostContainer* container, int32_t id, HostVector value);
void ContainerSetString(HostContainer* container, int32_t id, const HostString* value);
void ContainerSetFilename(HostContainer* container, int32_t id, const HostFilename* value);
void ContainerSetLink(HostContainer* container, int32_t id, const HostNode* value);
void ContainerRemove(HostContainer* container, int32_t id);

// Materials
HostMaterial* TextureTagMaterial(const HostTag* textureTag);
void SetTextureTagMaterial(HostTag* textureTag, const HostMaterial* material);
