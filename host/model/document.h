// Documents: a tree of objects, a list of materials, settings and an active view.
#pragma once

#include <cstdint>
#include <string>

#include "host/model/node.h"

namespace host {

/// A new, empty document with an active view that looks through the default editor camera
/// (see object_params.h), as the application opens one.
NodePtr createDocument();

/// The first top-level object / the first material, or nullptr.
HostNode* firstObject(const HostNode& document);
HostNode* firstMaterial(const HostNode& document);

/// Inserts an object at the top level (parent null) or under `parent`, after `predecessor`
/// (null: as the first). Answers the object, which the document now owns.
HostNode* insertObject(HostNode& document, NodePtr object, HostNode* parent = nullptr,
                       HostNode* predecessor = nullptr);
/// Inserts an object as the last child of `parent` (or last at the top level).
HostNode* appendObject(HostNode& document, NodePtr object, HostNode* parent = nullptr);
/// Inserts a material after `predecessor` (null: as the first).
HostNode* insertMaterial(HostNode& document, NodePtr material, HostNode* predecessor = nullptr);
/// Inserts a material as the last.
HostNode* appendMaterial(HostNode& document, NodePtr material);

/// The document's file-name setting (DOCUMENT_PATH 1012, DOCUMENT_FILE_NAME 1013), "" when unset.
std::string documentSetting(const HostNode& document, int32_t id);
void setDocumentSetting(HostNode& document, int32_t id, std::string path);

/// The active view, or nullptr when the document has none.
HostView* activeView(HostNode& document);
/// The object of `document` the view looks through, or nullptr.
HostNode* viewSceneCamera(const HostView& view, const HostNode& document);
/// The view's own editor camera, or nullptr.
HostNode* viewEditorCamera(const HostView& view);

/// The view looks through a camera object of the document (which must be in it).
void lookThroughObject(HostNode& document, HostNode& camera);
/// The view looks through its own editor camera, placed by `matrix` (global), with the given
/// focus distance, film width (mm) and field of view (radians).
HostNode& lookThroughEditorCamera(HostNode& document, const HostMatrix& matrix,
                                  float focusDistance, float filmWidth, float fieldOfView);
/// The document has no active view at all.
void removeView(HostNode& document);

/// Calls `visit` for every object of the document in depth-first pre-order.
template <typename Visit> void forEachObject(const HostNode& document, Visit visit);

} // namespace host

template <typename Visit> void host::forEachObject(const HostNode& document, Visit visit)
{
    HostNode* node = document.children().first();
    while (node) {
        visit(*node);
        if (HostNode* child = node->children().first()) {
            node = child;
            continue;
        }
        while (node && !node->next()) {
            HostNode* up = node->owner();
            node = (up && up->isObject()) ? up : nullptr;
        }
        if (node)
            node = node->next();
    }
}
