/* The host's function table, handed to c4d_main at initialise. Its first field is the
 * interface version; the others point to groups of operations over opaque handles.
 *
 * Ownership: an operation named create/copy/new/from_* or returning a HostString* or
 * HostFilename* hands the caller a new object that the caller frees with the group's
 * free. An operation that answers a HostContainer*, HostNode* or HostView* lends it:
 * it belongs to the host (or to the node it was read from). */
#ifndef LUMENO_SDK_HOST_TABLE_H
#define LUMENO_SDK_HOST_TABLE_H

#include "host_types.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct HostMemoryOps {
    void* (*alloc)(size_t size); /* a zeroed block, or NULL when memory is short */
    void (*free)(void* block);   /* NULL is ignored */
} HostMemoryOps;

typedef struct HostTextOps {
    HostString* (*from_cstring)(const char* text); /* text is taken as UTF-8 */
    HostString* (*copy)(const HostString* text);
    int32_t (*length)(const HostString* text); /* in characters; 0 = empty */
    /* Writes at most size-1 bytes and a zero; cuts at a character boundary.
     * Answers the number of bytes written without the zero. */
    int32_t (*to_cstring)(const HostString* text, char* buffer, int32_t size);
    void (*free)(HostString* text);
} HostTextOps;

typedef struct HostFilenameOps {
    HostFilename* (*create)(void); /* an empty file name */
    HostFilename* (*from_text)(const HostString* text);
    HostFilename* (*copy)(const HostFilename* name);
    void (*set_text)(HostFilename* name, const HostString* text);
    HostFilename* (*name_part)(const HostFilename* name);   /* "a.xml" of "/d/a.xml" */
    HostFilename* (*folder_part)(const HostFilename* name); /* "/d" of "/d/a.xml" */
    HostFilename* (*join)(const HostFilename* folder, const HostString* part);
    HostString* (*to_text)(const HostFilename* name);
    bool (*is_empty)(const HostFilename* name);
    /* Asks the user for a file; name holds the default in and the choice out.
     * Answers true when a file was chosen. */
    bool (*dialog)(HostFilename* name, int32_t kind, int32_t mode, const HostString* title);
    void (*free)(HostFilename* name);
} HostFilenameOps;

typedef struct HostResourceOps {
    /* Loads the string tables of a module folder; NULL when there are none. */
    HostResource* (*load_strings)(const HostFilename* folder);
    HostString* (*string)(const HostResource* resource, int32_t id); /* empty when absent */
    void (*release)(HostResource* resource);
    /* Registers the description resource `name` of the module folder under a plug-in ID. */
    bool (*register_description)(int32_t plugin_id, const char* name, const HostResource* strings);
    /* Loads the description registered under `id` into `description`. */
    bool (*load_description)(HostDescription* description, int32_t id);
    /* The property container of a parameter's entry, or NULL when the description lacks it.
     * Property 14 is the choice list (a sub-container), property 15 the hidden flag. */
    HostContainer* (*description_entry)(HostDescription* description, int32_t parameter_id);
} HostResourceOps;

typedef struct HostRegistryOps {
    /* record points to a SaverRecord, TagRecord or CommandRecord (plugin_records.h)
     * according to kind; the host copies what it keeps, icons included. */
    bool (*register_plugin)(int32_t kind, int32_t id, const HostString* name, const void* record);
    HostImage* (*image_new)(void);
    int32_t (*image_load)(HostImage* image, const HostFilename* file); /* 1 = success */
    void (*image_free)(HostImage* image);
} HostRegistryOps;

typedef struct HostSettingsOps {
    HostContainer* (*plugin_settings)(int32_t plugin_id); /* NULL when none is stored */
    bool (*store_plugin_settings)(int32_t plugin_id, const HostContainer* settings, int32_t flags);
    /* The host's texts for a plug-in in a document's context, or NULL. */
    const HostContainer* (*text_container)(HostDocument* document, int32_t plugin_id);
    void (*show_text)(const HostString* text);
    HostScratch* (*scratch_acquire)(void);
    void (*scratch_release)(HostScratch* scratch);
} HostSettingsOps;

typedef struct HostNodeOps {
    int32_t (*type)(const HostNode* node);
    HostString* (*name)(const HostNode* node);
    void (*set_name)(HostNode* node, const HostString* name);
    HostNode* (*next)(const HostNode* node);
    HostNode* (*first_child)(const HostNode* node);
    HostNode* (*parent)(const HostNode* node);
    HostDocument* (*document)(const HostNode* node);
    /* Flags 0: the node with its children, tags and parameters, not yet inserted. */
    HostNode* (*copy)(const HostNode* node, int32_t flags);
    void (*remove)(HostNode* node); /* takes it out of its document or parent */
    void (*free)(HostNode* node);   /* removes it first; frees its children and tags */
    bool (*message)(HostNode* node, int32_t id, void* data);
    HostContainer* (*container)(HostNode* node);
    bool (*get_parameter)(HostNode* node, int32_t id, HostValue* out);
    /* The node a link token names, if it is in `document` and passes the filter. */
    HostNode* (*resolve_link)(uint64_t link, HostDocument* document, int32_t filter);
    /* The object the host generated for the node and keeps for it (flags 0), lent, or NULL
     * when it keeps none. Asked of an instance before its link is read. */
    HostNode* (*cache)(HostNode* node, int32_t flags);
} HostNodeOps;

typedef struct HostObjectOps {
    HostTag* (*first_tag)(const HostObject* object);
    void (*insert_tag)(HostObject* object, HostTag* tag, HostTag* predecessor);
    HostVector (*position)(const HostObject* object);
    HostMatrix (*local_matrix)(const HostObject* object);
    HostMatrix (*global_matrix)(const HostObject* object);
    void (*set_matrix)(HostObject* object, const HostMatrix* matrix, int32_t flags);
    HostVector (*scale)(const HostObject* object);
    HostVector (*bbox_center)(HostObject* object);
    HostVector (*bbox_radius)(HostObject* object);
    const HostPolygon* (*polygons)(const HostObject* object);
    int32_t (*polygon_count)(const HostObject* object);
    float (*camera_focus)(const HostObject* camera);
    float (*camera_film_width)(const HostObject* camera);
} HostObjectOps;

typedef struct HostDocumentOps {
    HostDocument* (*create)(void);
    HostDocument* (*copy)(const HostDocument* document);
    HostObject* (*first_object)(const HostDocument* document);
    HostMaterial* (*first_material)(const HostDocument* document);
    /* Inserts an object at the top level (parent NULL) or under parent, after pred. */
    void (*insert_object)(HostDocument* document, HostObject* object, HostObject* parent,
                          HostObject* predecessor, int32_t flags);
    void (*insert_material)(HostDocument* document, HostMaterial* material,
                            HostMaterial* predecessor, int32_t flags);
    HostFilename* (*setting_filename)(const HostDocument* document, int32_t id);
    HostView* (*active_view)(HostDocument* document);
    HostObject* (*view_camera)(HostView* view, HostDocument* document);
    HostObject* (*view_editor_camera)(HostView* view);
    /* Runs a modelling command on one object; answers the first object of the result
     * (a new node owned by the caller), or NULL when the command fails. */
    HostObject* (*modeling_command)(int32_t command, HostDocument* document, HostObject* object,
                                    int32_t mode, const HostContainer* options);
    /* Saves the document in a format; answers a file result. */
    int32_t (*save)(HostDocument* document, const HostFilename* file, int32_t flags, int32_t format);
    void (*free)(HostDocument* document);
} HostDocumentOps;

typedef struct HostContainerOps {
    HostContainer* (*create)(void);
    HostContainer* (*copy)(const HostContainer* container);
    void (*free)(HostContainer* container);
    bool (*has)(const HostContainer* container, int32_t id);
    bool (*get_bool)(const HostContainer* container, int32_t id, bool fallback);
    int32_t (*get_int)(const HostContainer* container, int32_t id, int32_t fallback);
    float (*get_real)(const HostContainer* container, int32_t id, float fallback);
    HostVector (*get_vector)(const HostContainer* container, int32_t id, HostVector fallback);
    HostString* (*get_string)(const HostContainer* container, int32_t id); /* empty when absent */
    HostFilename* (*get_filename)(const HostContainer* container, int32_t id); /* empty when absent */
    /* The linked node if it is in `document` and passes the filter, else NULL. */
    HostNode* (*get_link)(const HostContainer* container, int32_t id, HostDocument* document,
                          int32_t filter);
    void (*set_bool)(HostContainer* container, int32_t id, bool value);
    void (*set_int)(HostContainer* container, int32_t id, int32_t value);
    void (*set_real)(HostContainer* container, int32_t id, float value);
    void (*set_vector)(HostContainer* container, int32_t id, HostVector value);
    void (*set_string)(HostContainer* container, int32_t id, const HostString* value);
    void (*set_filename)(HostContainer* container, int32_t id, const HostFilename* value);
    void (*set_link)(HostContainer* container, int32_t id, const HostNode* value); /* NULL empties */
    void (*remove)(HostContainer* container, int32_t id);
    /* The sub-container of an ID (a description entry's choice list, property 14), lent by the
     * container, or NULL when the ID holds none. */
    HostContainer* (*get_container)(HostContainer* container, int32_t id);
} HostContainerOps;

typedef struct HostMaterialOps {
    HostMaterial* (*texture_material)(const HostTag* texture_tag);
    void (*set_texture_material)(HostTag* texture_tag, const HostMaterial* material);
    /* Channels by their number (0 colour, 2 transparency, 3 reflection, 6 bump, 8, 9 specular,
     * ...). A material has every channel; its switch is off and its data empty until set. */
    bool (*channel_enabled)(const HostMaterial* material, int32_t channel);
    void (*set_channel_enabled)(HostMaterial* material, int32_t channel, bool enabled);
    /* The channel object, lent by the material; NULL for no material or a negative number. */
    HostChannel* (*channel)(HostMaterial* material, int32_t channel);
    /* The channel's data container (text 1002: its texture file name), lent by the channel. */
    HostContainer* (*channel_data)(HostChannel* channel);
    /* The object attached to the channel (its shader), lent, or NULL when it has none. */
    HostNode* (*channel_attached)(HostChannel* channel);
    bool (*channel_message)(HostChannel* channel, int32_t id, void* data);
    /* True when both materials have equal channels (switches and data) and equal parameters;
     * names are not compared, so a renamed copy equals its original. */
    bool (*compare)(const HostMaterial* a, const HostMaterial* b);
    /* Rebuilds what the application derives from the material (its preview among others). */
    void (*update)(HostMaterial* material, int32_t preview, int32_t render);
    /* The texture file search: an absolute name that exists answers itself; a relative one is
     * looked for in `document_folder`, then in its "tex" subfolder, and answers the full path
     * found; otherwise the name itself. `suggestion` may be NULL or empty. A new file name. */
    HostFilename* (*find_texture)(const HostFilename* document_folder, const HostFilename* name,
                                  const HostFilename* suggestion);
    /* The application's change notification (flags 0): views and panels redraw. */
    void (*notify_change)(int32_t flags);
} HostMaterialOps;

/* Images with pixels (24 bits: red, green, blue per pixel). */
typedef struct HostImageOps {
    HostImage* (*create)(void); /* an image without pixels */
    /* Gives the image width x height pixels of `depth` bits (only 24), all black;
     * answers false for another depth, a size below 1 or when memory is short. */
    bool (*init)(HostImage* image, int32_t width, int32_t height, int32_t depth);
    int32_t (*width)(const HostImage* image);  /* 0 without pixels */
    int32_t (*height)(const HostImage* image); /* 0 without pixels */
    /* Scales the whole of `source` into the whole of `dest` (both with pixels);
     * `quality` 256 is the usual smooth scaling. */
    void (*scale)(const HostImage* source, HostImage* dest, int32_t quality, int32_t flags,
                  int32_t reserved);
    /* A material's preview picture, lent by the host (it belongs to the material), or NULL. */
    const HostImage* (*material_preview)(HostMaterial* material, int32_t flags);
    void (*free)(HostImage* image);
} HostImageOps;

/* A drawing surface: what a tag's Draw paints on. Coordinates are pixels from the top left. */
typedef struct HostSurfaceOps {
    bool (*is_valid)(const HostSurface* surface);
    int32_t (*width)(const HostSurface* surface);
    int32_t (*height)(const HostSurface* surface);
    /* Copies the image onto the surface at its top left; `mode` is passed through (128 or 0). */
    void (*draw_image)(HostSurface* surface, const HostImage* image, int32_t mode);
    void (*begin)(HostSurface* surface); /* starts drawing with colour and shapes */
    /* The drawing colour, components in the order red, green, blue, alpha. */
    void (*set_colour)(HostSurface* surface, int32_t c1, int32_t c2, int32_t c3, int32_t c4);
    /* The outline of the rectangle from (x1, y1) to (x2, y2), both corners included. */
    void (*rectangle)(HostSurface* surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    void (*end)(HostSurface* surface);
} HostSurfaceOps;

typedef struct HostTable {
    int32_t version; /* first, always: the interface version */
    const HostMemoryOps* memory;
    const HostTextOps* text;
    const HostFilenameOps* filename;
    const HostResourceOps* resource;
    const HostRegistryOps* registry;
    const HostSettingsOps* settings;
    const HostNodeOps* node;
    const HostObjectOps* object;
    const HostDocumentOps* document;
    const HostContainerOps* container;
    const HostMaterialOps* material;
    const HostImageOps* image;
    const HostSurfaceOps* surface;
} HostTable;

#ifdef __cplusplus
}
#endif

#endif
