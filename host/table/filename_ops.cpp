#include "host/table/handle_counts.h"
#include "host/table/handle_factory.h"
#include "host/table/host_table_impl.h"
#include "host/table/table_guard.h"
#include "host/text/host_text.h"

namespace host {

HostFilename* newFilename(std::string path)
{
    auto* name = new HostFilename{std::move(path)};
    ++handleCounts().filenames;
    return name;
}

namespace {

constexpr HostFilename* none = nullptr;

HostFilename* create()
{
    return guarded("filename.create", none, [] { return newFilename({}); });
}

HostFilename* fromText(const HostString* text)
{
    return guarded("filename.from_text", none, [&] { return newFilename(text ? text->utf8 : ""); });
}

HostFilename* copy(const HostFilename* name)
{
    return guarded("filename.copy", none, [&] { return newFilename(name ? name->path : ""); });
}

void setText(HostFilename* name, const HostString* text)
{
    guardedVoid("filename.set_text", [&] {
        if (name)
            name->path = text ? text->utf8 : "";
    });
}

HostFilename* namePart(const HostFilename* name)
{
    return guarded("filename.name_part", none,
                   [&] { return newFilename(name ? fileNamePart(name->path) : ""); });
}

HostFilename* folderPartOf(const HostFilename* name)
{
    return guarded("filename.folder_part", none,
                   [&] { return newFilename(name ? folderPart(name->path) : ""); });
}

HostFilename* join(const HostFilename* folder, const HostString* part)
{
    return guarded("filename.join", none, [&] {
        return newFilename(joinPath(folder ? folder->path : "", part ? part->utf8 : ""));
    });
}

HostString* toText(const HostFilename* name)
{
    return guarded("filename.to_text", static_cast<HostString*>(nullptr),
                   [&] { return newText(name ? name->path : ""); });
}

bool isEmpty(const HostFilename* name)
{
    return !name || name->path.empty();
}

bool dialog(HostFilename* name, int32_t kind, int32_t mode, const HostString* title)
{
    return guarded("filename.dialog", false, [&] {
        const FileDialog& answer = liveSession().fileDialog();
        if (!name || !answer)
            return false; // no one to ask: the dialog is cancelled
        std::string path = name->path;
        if (!answer(path, kind, mode, title ? title->utf8 : ""))
            return false;
        name->path = path;
        return true;
    });
}

void release(HostFilename* name)
{
    if (!name)
        return;
    delete name;
    --handleCounts().filenames;
}

} // namespace

const HostFilenameOps& filenameOps()
{
    static const HostFilenameOps ops = {create,  fromText, copy,   setText, namePart, folderPartOf,
                                        join,    toText,   isEmpty, dialog, release};
    return ops;
}

} // namespace host
