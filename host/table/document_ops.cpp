#include <mutex>
#include <stdexcept>
#include <unordered_set>

#include "host/model/copy.h"
#include "host/model/document.h"
#include "host/table/document_commands.h"
#include "host/table/handle_counts.h"
#include "host/table/handle_factory.h"
#include "host/table/host_table_impl.h"
#include "host/table/save_trace.h"
#include "host/table/table_guard.h"

namespace host {
namespace {

std::unordered_set<const HostNode*>& handedOut()
{
    static std::unordered_set<const HostNode*> documents;
    return documents;
}

} // namespace

void noteDocumentHandedOut(const HostNode* document)
{
    if (handedOut().insert(document).second)
        ++handleCounts().documents;
}

void noteNodeFreed(const HostNode* node)
{
    if (node && handedOut().erase(node))
        --handleCounts().documents;
}

namespace {

constexpr HostDocument* none = nullptr;

HostDocument* create()
{
    return guarded("document.create", none, [] {
        HostNode* document = createDocument().release();
        noteDocumentHandedOut(document);
        return document;
    });
}

HostDocument* copy(const HostDocument* document)
{
    return guarded("document.copy", none, [&] {
        if (!document || !document->isDocument())
            return none;
        HostNode* result = copyDocument(*document).release();
        if (result)
            noteDocumentHandedOut(result);
        return result;
    });
}

HostObject* firstObjectOf(const HostDocument* document)
{
    HostObject* found = document ? firstObject(*document) : nullptr;
    traceWalk(found);
    return found;
}

HostMaterial* firstMaterialOf(const HostDocument* document)
{
    return document ? firstMaterial(*document) : nullptr;
}

void insertObjectInto(HostDocument* document, HostObject* object, HostObject* parent,
                      HostObject* predecessor, int32_t /*flags*/)
{
    guardedVoid("document.insert_object", [&] {
        if (!document || !document->isDocument() || !object || !object->isObject())
            throw std::invalid_argument("an object goes into a document");
        if (object->inList())
            throw std::invalid_argument("the object is already in a document or under a parent");
        if (parent && (!parent->isObject() || parent->document() != document))
            throw std::invalid_argument("the parent is not an object of this document");
        const HostNode* level = parent ? parent : document;
        if (predecessor && (!predecessor->isObject() || predecessor->owner() != level))
            throw std::invalid_argument("the predecessor is not on the same level");
        insertObject(*document, NodePtr(object), parent, predecessor);
    });
}

void insertMaterialInto(HostDocument* document, HostMaterial* material, HostMaterial* predecessor,
                        int32_t /*flags*/)
{
    guardedVoid("document.insert_material", [&] {
        if (!document || !document->isDocument() || !material ||
            material->kind() != NodeKind::Material)
            throw std::invalid_argument("a material goes into a document");
        if (material->inList())
            throw std::invalid_argument("the material is already in a document");
        if (predecessor &&
            (predecessor->kind() != NodeKind::Material || predecessor->owner() != document))
            throw std::invalid_argument("the predecessor is not a material of this document");
        insertMaterial(*document, NodePtr(material), predecessor);
    });
}

HostFilename* settingFilename(const HostDocument* document, int32_t id)
{
    return guarded("document.setting_filename", static_cast<HostFilename*>(nullptr), [&] {
        return newFilename(document ? documentSetting(*document, id) : "");
    });
}

HostView* active(HostDocument* document)
{
    return document ? activeView(*document) : nullptr;
}

HostObject* viewCamera(HostView* view, HostDocument* document)
{
    HostObject* camera = (view && document) ? viewSceneCamera(*view, *document) : nullptr;
    traceCamera(camera);
    return camera;
}

HostObject* editorCamera(HostView* view)
{
    return view ? viewEditorCamera(*view) : nullptr;
}

void release(HostDocument* document)
{
    guardedVoid("document.free", [&] {
        noteNodeFreed(document);
        freeNode(document);
    });
}

} // namespace

const HostDocumentOps& documentOps()
{
    static const HostDocumentOps ops = {create,          copy,          firstObjectOf,
                                        firstMaterialOf, insertObjectInto, insertMaterialInto,
                                        settingFilename, active,        viewCamera,
                                        editorCamera,    runModelingCommand, saveDocument,
                                        release};
    return ops;
}

} // namespace host
