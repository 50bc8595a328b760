// Building documents in code, for the document loader and for tests:
//
//   auto doc = host::createDocument();
//   HostNode* cube = host::makeObject(*doc, TYPE_POLYGON_OBJECT, "Cube");
//   cube->points = {{0, 0, 0}, {100, 0, 0}, {100, 100, 0}};
//   cube->polygons = {{0, 1, 2, 2}};
//   HostNode* red = host::makeMaterial(*doc, "Red");
//   host::makeTextureTag(*cube, *red);
//   host::makeObject(*doc, TYPE_SPHERE, "Ball", cube);   // a child of the cube
//
// Plug-in tags are made by the session's registry (host/plugins/plugin_tags.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/model/node.h"

namespace host {

/// The application's UVW tag: texture coordinates per polygon corner (HostNode::uvws).
constexpr int32_t TYPE_UVW_TAG = 5671;

/// A new object of a type with the type's default parameters, in no document.
NodePtr newObject(int32_t type, std::string name = {});
/// A new material (type 5703), in no document.
NodePtr newMaterial(std::string name = {});
/// A new host tag of a type (texture 5616, camera target 5676, ...), on no object.
NodePtr newTag(int32_t type);

/// Makes an object and inserts it as the last child of `parent`, or last at the top level.
HostNode* makeObject(HostNode& document, int32_t type, std::string name, HostNode* parent = nullptr);
/// Makes a material and inserts it as the last of the document.
HostNode* makeMaterial(HostNode& document, std::string name);
/// Makes a host tag and puts it last on the object.
HostNode* makeTag(HostNode& object, int32_t type);
/// A texture tag on the object that links `material` (parameter 1010).
HostNode* makeTextureTag(HostNode& object, const HostNode& material);
/// A camera target tag on the object that links `target` (parameter 1001).
HostNode* makeCameraTargetTag(HostNode& object, const HostNode& target);
/// Puts a tag last on an object.
HostNode* appendTag(HostNode& object, NodePtr tag);

/// A UVW tag with these coordinates, put last on the object.
HostNode* makeUvwTag(HostNode& object, std::vector<UvwPolygon> uvws);
/// The object's first UVW tag, which is the one the application maps textures with, or nullptr.
const HostNode* findUvwTag(const HostNode& object);

/// A material's channel, made (switched off, empty data) when missing.
MaterialChannel& channel(HostNode& material, int32_t id);
/// A material's channel, or nullptr.
const MaterialChannel* findChannel(const HostNode& material, int32_t id);

/// The object named by a path of names ("Group/Cube") among the document's objects: at each
/// level the first object of that name. nullptr when there is none.
HostNode* findObjectByPath(const HostNode& document, const std::string& path);
/// The first material of that name, or nullptr.
HostNode* findMaterial(const HostNode& document, const std::string& name);

} // namespace host
