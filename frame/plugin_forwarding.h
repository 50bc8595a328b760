// The fixed forwarding entries of the registration records: each turns the host's untyped
// instance back into the plug-in object and calls the matching operation. An instance handed to
// the host is always its BaseData address (AsInstance), and lives in host memory.
#pragma once

#include <cstdint>

#include "host_types.h"
#include "plugin_bases.h"

inline void* AsInstance(BaseData* object) { return object; }

// Every kind
void ForwardDestroy(void* instance);
bool ForwardInit(void* instance, HostNode* node);

// Tags
bool ForwardTagMessage(void* instance, HostNode* node, int32_t type, void* data);
bool ForwardTagDescribe(void* instance, HostNode* node, HostDescription* description,
                        int32_t* flags);
bool ForwardTagIsEnabled(void* instance, HostNode* node, int32_t parameterId, const HostValue* data,
                         int32_t flags, const HostContainer* itemDescription);
int32_t ForwardTagExecute(void* instance, HostTag* tag, HostDocument* document, HostObject* object,
                          int32_t priority, int32_t flags);
bool ForwardTagDraw(void* instance, HostTag* tag, HostSurface* surface);

// Savers
int32_t ForwardSaverSave(void* instance, HostNode* node, const HostFilename* file,
                         HostDocument* document, int32_t flags);

// Commands
bool ForwardCommandExecute(void* instance, HostDocument* document);
int32_t ForwardCommandState(void* instance, HostDocument* document);
bool ForwardCommandRestoreLayout(void* instance, void* data);
HostString* ForwardCommandScriptName(void* instance);
void ForwardCommandReserved(void* instance);
