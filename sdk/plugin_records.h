/* Registration records for savers, tags and commands. A module fills one and hands it
 * to the registry's register_plugin; the host copies it. Instances are opaque to the
 * host: it makes them with `allocate` and reaches them only through the forwarding
 * entries, which call the instance's operations. */
#ifndef LUMENO_SDK_PLUGIN_RECORDS_H
#define LUMENO_SDK_PLUGIN_RECORDS_H

#include "host_types.h"

#ifdef __cplusplus
extern "C" {
#endif

/** Saver (kind 25). */
typedef struct SaverRecord {
    int32_t flags;
    void* (*allocate)(void);
    int32_t trailing;
    const char* suffix;
    void (*destroy)(void* instance);
    bool (*init)(void* instance, HostNode* node);
    /* Answers a file result. */
    int32_t (*save)(void* instance, HostNode* node, const HostFilename* file, HostDocument* document,
                    int32_t flags);
} SaverRecord;

/** Tag (kind 10). */
typedef struct TagRecord {
    int32_t flags;
    void* (*allocate)(void);
    const char* description;
    HostImage* icon;
    int32_t trailing;
    void (*destroy)(void* instance);
    bool (*init)(void* instance, HostNode* node);
    bool (*message)(void* instance, HostNode* node, int32_t type, void* data);
    bool (*describe)(void* instance, HostNode* node, HostDescription* description, int32_t* flags);
    bool (*is_enabled)(void* instance, HostNode* node, int32_t parameter_id, const HostValue* data,
                       int32_t flags, const HostContainer* item_description);
    /* The six-argument processing operation. */
    int32_t (*execute)(void* instance, HostTag* tag, HostDocument* document, HostObject* object,
                       int32_t priority, int32_t flags);
    /* Draws the tag onto a surface; answers true when it drew. */
    bool (*draw)(void* instance, HostTag* tag, HostSurface* surface);
} TagRecord;

/** Command (kind 7). The instance is the module's; the host calls destroy at the end. */
typedef struct CommandRecord {
    const HostString* help;
    HostImage* icon;
    int32_t flags;
    void* instance;
    void (*destroy)(void* instance);
    bool (*execute)(void* instance, HostDocument* document);
    int32_t (*state)(void* instance, HostDocument* document);
    bool (*restore_layout)(void* instance, void* data);
    HostString* (*script_name)(void* instance);
    void (*reserved)(void* instance);
} CommandRecord;

/** The module's single exported entry. */
typedef int32_t (*C4dMainFunction)(int32_t action, void* p1, void* p2, void* p3);
#define C4D_MAIN_SYMBOL "c4d_main"

#ifdef __cplusplus
}
#endif

#endif
