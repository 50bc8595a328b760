#include "host/documents/document_parser.h"

#include <exception>
#include <iterator>
#include <optional>

#include "host/documents/document_error.h"
#include "host/documents/json_tree.h"
#include "host/documents/object_reader.h"

namespace host {

namespace {

using namespace docfile;

/// Reads each object into its record as soon as its text is read, deepest first, and hands it
/// on, so that a large document is never held as a tree or as records whole. The first fault is
/// kept and thrown where a reading of the whole tree would meet it: an object's own before its
/// children's, an earlier child's before a later one's, a top-level object's after the document's
/// own keys are checked, and only if no syntax error comes later in the text.
class ObjectStream final : public ObjectSink {
public:
    ObjectStream(ObjectReader& parser, const ObjectReceiver& receiver) : parser_(parser), receiver_(receiver) {}

    void openObject(std::size_t i) override {
        Level level;
        level.index = i;
        level.sequence = sequence_++;
        if (open_.empty()) {
            level.place = index(parser_.objectsPlace(), i);
            level.skip = static_cast<bool>(fault_); // only its syntax matters now
        } else {
            Level& parent = open_.back();
            if (!parent.childrenPlace) parent.childrenPlace = member(parent.place, "children");
            level.place = index(*parent.childrenPlace, i);
            // Entries before it that began no object are not objects: they fail at their place.
            if (!parent.firstUnheard && i > parent.nextChild) parent.firstUnheard = parent.nextChild;
            parent.nextChild = i + 1;
            level.skip = parent.skip || parent.fault || parent.firstUnheard; // an earlier fault comes first
        }
        open_.push_back(std::move(level));
    }

    void closeObject(JsonTree& node, std::vector<PackedList>& lists, std::size_t base) override {
        Level level = std::move(open_.back());
        open_.pop_back();
        if (level.skip) return;
        std::exception_ptr fault;
        try {
            parser_.useLists(lists, base);
            ReadObject read;
            JsonTree children = parser_.readOwnKeys(read.object, node, level.place);
            const std::size_t count = children.is_array() ? children.size() : 0;
            if (!level.firstUnheard && level.nextChild < count) level.firstUnheard = level.nextChild;
            if (level.firstUnheard && (!level.fault || *level.firstUnheard < level.faultAt)) {
                Object unused; // it is no object: reading it fails as in a reading of the whole tree
                parser_.readObject(unused, children[*level.firstUnheard],
                                   index(member(level.place, "children"), *level.firstUnheard));
            }
            if (!level.fault) {
                read.children = level.taken;
                read.sequence = level.sequence;
                read.top = open_.empty();
                receiver_.take(std::move(read));
            }
        } catch (...) {
            fault = std::current_exception();
        }
        if (!fault) fault = level.fault;
        if (open_.empty()) {
            if (fault) {
                fault_ = fault;
                faultAt_ = level.index;
            } else {
                if (taken_.size() <= level.index) taken_.resize(level.index + 1, false);
                taken_[level.index] = true;
            }
        } else if (fault) {
            open_.back().fault = fault;
            open_.back().faultAt = level.index;
        } else {
            ++open_.back().taken;
        }
    }

    void restart() override {
        open_.clear();
        taken_.clear();
        fault_ = nullptr;
        sequence_ = 0;
        receiver_.restart();
    }

    /// The entry `i` of "objects" once the whole text is read, in order: one already taken is
    /// passed, the kept fault is thrown at its place, and anything else is read now.
    void atEnd(JsonTree& node, std::size_t i) {
        if (i < taken_.size() && taken_[i]) return;
        if (fault_ && i == faultAt_) std::rethrow_exception(fault_);
        ReadObject read;
        read.object = parser_.object(node, index(parser_.objectsPlace(), i));
        read.sequence = sequence_++;
        read.top = true;
        receiver_.take(std::move(read));
    }

private:
    /// An object whose text has begun and not ended.
    struct Level {
        std::size_t index = 0;    // in its list
        std::size_t sequence = 0; // among the file's objects
        JsonPlace place;
        std::optional<JsonPlace> childrenPlace; // shared by the places of its children
        bool skip = false;        // not read: a fault before it comes first
        std::size_t taken = 0;    // children handed on
        std::size_t nextChild = 0; // the index after the last child begun
        std::optional<std::size_t> firstUnheard; // the first entry of its children that began no object
        std::exception_ptr fault; // the first fault in its children
        std::size_t faultAt = 0;  // the child that has it
    };
    ObjectReader& parser_;
    const ObjectReceiver& receiver_;
    std::vector<Level> open_;
    std::size_t sequence_ = 0;
    std::vector<bool> taken_;
    std::exception_ptr fault_;
    std::size_t faultAt_ = 0;
};

/// Reads the document out of the tree, which gives back each top-level object once it is read.
/// With a stream, the objects have gone to it as they were read (see ObjectStream).
Document readDocument(ObjectReader& reader, JsonTree& root, ObjectStream* stream = nullptr) {
    Document doc;
    doc.file = reader.file();
    reader.requireObject(root, "", "the document");
    reader.allowKeys(root, "", {"objects", "materials", "view", "document", "comment"});
    if (root.contains("objects")) {
        reader.listOf(root["objects"], "objects");
        auto& list = root["objects"];
        if (!stream) doc.objects.reserve(list.size());
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (stream) stream->atEnd(list[i], i);
            else doc.objects.push_back(reader.object(list[i], index(reader.objectsPlace(), i)));
            list[i] = nullptr;
        }
    }
    if (root.contains("materials")) {
        const auto& list = reader.listOf(root["materials"], "materials");
        for (std::size_t i = 0; i < list.size(); ++i)
            doc.materials.push_back(reader.material(list[i], index("materials", i)));
    }
    if (root.contains("view")) doc.view = reader.view(root["view"], "view");
    if (root.contains("document")) doc.settings = reader.settings(root["document"], "document");
    if (root.contains("comment")) reader.text(root["comment"], "comment");
    return doc;
}

} // namespace

docfile::Document parseDocumentText(const std::string& text, const std::string& file) {
    JsonDocument json = parseJsonTree(text, file);
    ObjectReader reader(file);
    reader.useLists(json.lists, json.listBase);
    return readDocument(reader, json.root);
}

docfile::Document readDocumentFile(const std::filesystem::path& file) {
    std::vector<docfile::Object> objects, waiting; // waiting: objects whose parent is still being read
    auto take = [&](ReadObject&& read) {
        const auto children = waiting.end() - static_cast<std::ptrdiff_t>(read.children);
        std::move(children, waiting.end(), std::back_inserter(read.object.children));
        waiting.erase(children, waiting.end());
        (read.top ? objects : waiting).push_back(std::move(read.object));
    };
    docfile::Document document = readDocumentFile(file, {take, [&] {
                                                             objects.clear();
                                                             waiting.clear();
                                                         }});
    document.objects = std::move(objects);
    return document;
}

docfile::Document readDocumentFile(const std::filesystem::path& file, const ObjectReceiver& receiver) {
    std::error_code error;
    if (std::filesystem::is_directory(file, error)) throw DocumentError(file.string(), "", "is a folder, not a document file");
    ObjectReader reader(file.string());
    ObjectStream stream(reader, receiver);
    JsonDocument json;
    {
        DocumentText text(file);
        json = parseJsonText(text, file.string(), &stream);
    }
    reader.useLists(json.lists, json.listBase);
    return readDocument(reader, json.root, &stream);
}

} // namespace host
