#include "host/model/document.h"

#include <stdexcept>

#include "host/geometry/matrix.h"
#include "host/model/build.h"
#include "host/model/links.h"
#include "host/model/object_params.h"
#include "host/model/placement.h"
#include "host_constants.h"

namespace host {
namespace {

HostNode& levelOwner(HostNode& document, HostNode* parent)
{
    if (!parent)
        return document;
    if (!parent->isObject() || parent->document() != &document)
        throw std::invalid_argument("the parent is not an object of this document");
    return *parent;
}

} // namespace

NodePtr createDocument()
{
    auto document = std::make_unique<HostNode>(NodeKind::Document, TYPE_DOCUMENT);
    HostMatrix placement = identityMatrix();
    placement.off = {0.0f, 0.0f, DEFAULT_EDITOR_CAMERA_Z};
    lookThroughEditorCamera(*document, placement, DEFAULT_FOCUS_DISTANCE, DEFAULT_FILM_WIDTH,
                            DEFAULT_FIELD_OF_VIEW);
    return document;
}

HostNode* firstObject(const HostNode& document)
{
    return document.children().first();
}

HostNode* firstMaterial(const HostNode& document)
{
    return document.documentData ? document.documentData->materials.first() : nullptr;
}

HostNode* insertObject(HostNode& document, NodePtr object, HostNode* parent, HostNode* predecessor)
{
    if (!object || !object->isObject())
        throw std::invalid_argument("only objects go into a document's object tree");
    HostNode& owner = levelOwner(document, parent);
    return owner.children().insertAfter(&owner, std::move(object), predecessor);
}

HostNode* appendObject(HostNode& document, NodePtr object, HostNode* parent)
{
    HostNode& owner = levelOwner(document, parent);
    return insertObject(document, std::move(object), parent, owner.children().last());
}

HostNode* insertMaterial(HostNode& document, NodePtr material, HostNode* predecessor)
{
    if (!document.documentData)
        throw std::invalid_argument("materials go into a document");
    if (!material || material->kind() != NodeKind::Material)
        throw std::invalid_argument("only materials go into a document's material list");
    return document.documentData->materials.insertAfter(&document, std::move(material), predecessor);
}

HostNode* appendMaterial(HostNode& document, NodePtr material)
{
    if (!document.documentData)
        throw std::invalid_argument("materials go into a document");
    return insertMaterial(document, std::move(material), document.documentData->materials.last());
}

std::string documentSetting(const HostNode& document, int32_t id)
{
    return document.params.getFilename(id);
}

void setDocumentSetting(HostNode& document, int32_t id, std::string path)
{
    document.params.setFilename(id, std::move(path));
}

HostView* activeView(HostNode& document)
{
    return document.documentData ? document.documentData->view.get() : nullptr;
}

HostNode* viewSceneCamera(const HostView& view, const HostNode& document)
{
    return resolveLink(view.sceneCamera, &document, LINK_FILTER_OBJECT);
}

HostNode* viewEditorCamera(const HostView& view)
{
    return view.editorCamera.get();
}

void lookThroughObject(HostNode& document, HostNode& camera)
{
    if (!camera.isObject() || camera.document() != &document)
        throw std::invalid_argument("the view's camera must be an object of its document");
    auto& view = document.documentData->view;
    if (!view)
        view = std::make_unique<HostView>();
    view->sceneCamera = camera.token();
}

HostNode& lookThroughEditorCamera(HostNode& document, const HostMatrix& matrix, float focusDistance,
                                  float filmWidth, float fieldOfView)
{
    auto& view = document.documentData->view;
    if (!view)
        view = std::make_unique<HostView>();
    view->sceneCamera = 0;
    view->editorCamera = newObject(TYPE_CAMERA, "Editor Camera");
    HostNode& camera = *view->editorCamera;
    setLocalMatrix(camera, matrix);
    camera.params.setReal(CAMERA_FOCUS_DISTANCE, focusDistance);
    camera.params.setReal(CAMERA_FILM_WIDTH, filmWidth);
    camera.params.setReal(CAMERA_FIELD_OF_VIEW, fieldOfView);
    return camera;
}

void removeView(HostNode& document)
{
    if (document.documentData)
        document.documentData->view.reset();
}

} // namespace host
