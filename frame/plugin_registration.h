// Registration of the module's plug-ins with the host. Each answers true on success.
#pragma once

#include <cstdint>

#include "host_types.h"
#include "plugin_bases.h"

/// Makes a new plug-in instance in host memory, or none.
using PluginAllocator = void* (*)();

/// Registers a tag (kind 10) with its icon from the module folder's "res" and its description
/// resource. A missing or unreadable icon fails the registration.
bool AddTagPlugin(int32_t id, const HostString* name, int32_t flags, PluginAllocator allocator,
                  const char* description, const char* iconFile, int32_t trailing);

/// Registers a scene saver (kind 25) with its description resource and file suffix.
bool AddSaverPlugin(int32_t id, const HostString* name, int32_t flags, PluginAllocator allocator,
                    const char* description, const char* suffix, int32_t trailing);

/// Registers a command (kind 7) with its icon from "res". The command takes over `instance`:
/// when the registration fails, the instance is destroyed here.
bool AddCommandPlugin(int32_t id, const HostString* name, int32_t flags, const char* iconFile,
                      const HostString* help, CommandData* instance);

/// Registers a tag or the saver only when its name is in the module's strings: a missing name
/// skips the plug-in and counts as success. `add` receives the name.
bool RegisterNamed(int32_t nameId, bool (*add)(const HostString* name));
