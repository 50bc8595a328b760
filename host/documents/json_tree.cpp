#include "host/documents/json_tree.h"

#include <cstdlib>
#include <sstream>
#include <functional>
#include <vector>

#include "host/documents/document_error.h"
#include "host/documents/json_path.h"
#include "host/documents/quick_json.h"

namespace host {

namespace {

/// Builds the tree from parse events. It keeps only the key or index of each open container and
/// makes a JSON path when an error needs one.
class TreeBuilder final : public nlohmann::json_sax<JsonTree> {
public:
    explicit TreeBuilder(ObjectSink* sink = nullptr) : sink_(sink) {}

    JsonDocument result;
    std::string duplicatePath; // set when a key repeats
    std::string syntaxMessage; // set on a syntax error
    std::size_t syntaxPosition = 0; // bytes read when it was met
    bool tooDeep = false;      // set when lists and objects nest deeper than the limit
    std::string tooDeepPath;

    bool null() override { return add(nullptr); }
    bool boolean(bool value) override { return add(value); }
    bool number_integer(number_integer_t value) override { return addNumber(PackedNumber::of(int64_t{value})); }
    bool number_unsigned(number_unsigned_t value) override { return addNumber(PackedNumber::of(uint64_t{value})); }
    bool number_float(number_float_t value, const string_t&) override { return addNumber(PackedNumber::of(double{value})); }
    bool string(string_t& value) override { return add(std::move(value)); }
    bool binary(binary_t&) override { return false; } // never produced by text input

    bool start_object(std::size_t) override {
        if (packing_ && !unpack()) return false;
        return open(JsonTree::object());
    }
    bool start_array(std::size_t) override {
        if (packing_) {
            if (packer_.startArray() == ListPacker::Step::Taken) return true;
            if (!unpack()) return false;
        }
        if (startsPackedList()) return true;
        return open(JsonTree::array());
    }
    bool end_object() override { return close(); }
    bool end_array() override {
        if (packing_) {
            ListPacker::Step step = packer_.endArray();
            if (step == ListPacker::Step::Taken) return true;
            if (step == ListPacker::Step::Finished) {
                packing_ = false;
                std::uint64_t slot = result.listBase + result.lists.size();
                result.lists.push_back(packer_.take());
                place(JsonTree::binary(std::vector<std::uint8_t>{}, slot));
                return true;
            }
            if (!unpack()) return false;
        }
        return close();
    }

    bool key(string_t& name) override {
        Frame& top = stack_.back();
        if (field(*top.node, name)) {
            duplicatePath = jsonpath::member(pathOf(stack_.size()), name);
            return false;
        }
        top.key = std::move(name);
        return true;
    }

    bool parse_error(std::size_t position, const std::string& token,
                     const nlohmann::detail::exception& error) override {
        syntaxMessage = error.what();
        syntaxPosition = position;
        // A number too large for a 64-bit real comes without its place and in the library's words.
        if (error.id == numberOverflowId)
            syntaxMessage = "syntax error while parsing value - the number " + token +
                            " is too large; expected a number of at most 1.7976931348623157e308 in size";
        return false;
    }

private:
    static constexpr int numberOverflowId = 406;
    static constexpr std::size_t deepFrames = 64;
    /// What an open container is to a document: its top, a list of objects, or an object record.
    enum class Role { Other, Top, ObjectList, ObjectRecord };
    struct Frame {
        JsonTree* node;
        Role role;
        std::size_t index; // place in the parent when that is a list
        std::string key;   // the key being filled when this is an object
        std::size_t firstList = 0; // an object record: the first of the geometry lists read in it
    };
    std::vector<Frame> stack_;
    ObjectSink* sink_;
    ListPacker packer_;
    bool packing_ = false;

    /// The JSON path of the container `depth` levels down (0 is the top value itself).
    std::string pathOf(std::size_t depth) const {
        std::string path;
        for (std::size_t i = 1; i < depth; ++i) {
            const Frame& parent = stack_[i - 1];
            path = parent.node->is_array() ? jsonpath::index(path, stack_[i].index) : jsonpath::member(path, parent.key);
        }
        return path;
    }

    JsonTree* place(JsonTree value) {
        if (stack_.empty()) {
            result.root = std::move(value);
            return &result.root;
        }
        Frame& top = stack_.back();
        if (top.node->is_array()) {
            top.node->push_back(std::move(value));
            return &top.node->back();
        }
        // The key is new to the object: key() refused it otherwise. The frame keeps its copy for
        // the paths of messages.
        auto& members = top.node->get_ref<JsonTree::object_t&>();
        members.emplace_back(top.key, std::move(value));
        return &members.back().second;
    }

    bool add(JsonTree value) {
        if (packing_ && !unpack()) return false;
        place(std::move(value));
        return true;
    }

    bool addNumber(const PackedNumber& value) {
        if (packing_) {
            if (packer_.number(value) == ListPacker::Step::Taken) return true;
            if (!unpack()) return false;
        }
        place(value.tree());
        return true;
    }

    Role roleOf(bool isObject) const {
        if (stack_.empty()) return isObject ? Role::Top : Role::Other;
        const Frame& top = stack_.back();
        if (isObject) return top.role == Role::ObjectList ? Role::ObjectRecord : Role::Other;
        if ((top.role == Role::Top && top.key == "objects") || (top.role == Role::ObjectRecord && top.key == "children"))
            return Role::ObjectList;
        return Role::Other;
    }

    bool open(JsonTree container) {
        if (stack_.size() >= maxJsonDepth) {
            tooDeep = true;
            tooDeepPath = pathOf(stack_.size());
            return false;
        }
        Role role = roleOf(container.is_object());
        std::size_t index = stack_.empty() ? 0 : stack_.back().node->size();
        JsonTree* node = place(std::move(container));
        // An object's members are kept in order in a list: room for the usual ones at once.
        if (node->is_object()) node->get_ref<JsonTree::object_t&>().reserve(role == Role::ObjectRecord ? 8 : 4);
        stack_.push_back({node, role, index, {}, result.lists.size()});
        if (sink_ && role == Role::ObjectRecord) sink_->openObject(index);
        return true;
    }

    bool close() {
        // An object record goes to the sink with its lists (those of its children have gone with
        // them), and its part of the tree and its lists go back.
        if (sink_ && stack_.back().role == Role::ObjectRecord) {
            const bool top = stack_.size() == 3; // the top, its "objects", the object
            // What a deep object needed to be read goes back before the sink builds it.
            if (top && stack_.capacity() > deepFrames) stack_.shrink_to_fit();
            const Frame& object = stack_.back();
            sink_->closeObject(*object.node, result.lists, result.listBase);
            *object.node = nullptr;
            if (top) {
                result.listBase += result.lists.size();
                result.lists.clear();
            } else {
                result.lists.resize(object.firstList);
            }
        }
        stack_.pop_back();
        return true;
    }

    /// A polygon object's points, polygons or uvs begin: read them as records. Not near the
    /// nesting limit, so that the limit is met where the tree would meet it.
    bool startsPackedList() {
        if (stack_.empty() || stack_.back().role != Role::ObjectRecord || stack_.size() + 3 >= maxJsonDepth) return false;
        const std::string& key = stack_.back().key;
        if (key == "points") packer_.begin(PackedKind::Points);
        else if (key == "polygons") packer_.begin(PackedKind::Polygons);
        else if (key == "uvs") packer_.begin(PackedKind::Uvs);
        else return false;
        packing_ = true;
        return true;
    }

    /// The list is not of the usual shape: continue it as a tree from where it stands.
    bool unpack() {
        packing_ = false;
        std::size_t levels = 0;
        JsonTree list = packer_.openTree(levels);
        std::size_t index = stack_.back().node->size();
        JsonTree* node = place(std::move(list));
        stack_.push_back({node, Role::Other, index, {}});
        for (std::size_t level = 1; level < levels; ++level) {
            JsonTree* inner = &stack_.back().node->back();
            stack_.push_back({inner, Role::Other, stack_.back().node->size() - 1, {}});
        }
        return true;
    }
};

/// nlohmann's text reads "[json.exception.parse_error.101] parse error at line 3, column 5: <problem>".
/// `lineAndColumn` counts the place of a message that has none from the bytes read.
DocumentError syntaxError(const std::string& file, const std::string& message, std::size_t position,
                          const std::function<std::pair<int, int>(std::size_t)>& lineAndColumn) {
    const std::string lineMark = "line ", columnMark = ", column ";
    std::size_t line = message.find(lineMark);
    std::size_t column = line == std::string::npos ? line : message.find(columnMark, line);
    std::size_t problem = column == std::string::npos ? column : message.find(": ", column);
    if (problem == std::string::npos) {
        auto [lineNumber, columnNumber] = lineAndColumn(position);
        return DocumentError(file, lineNumber, columnNumber, message);
    }
    return DocumentError(file, std::atoi(message.c_str() + line + lineMark.size()),
                         std::atoi(message.c_str() + column + columnMark.size()), message.substr(problem + 2));
}

/// Counts lines and columns as the library does, over the first `position` bytes of `in`.
std::pair<int, int> placeIn(std::istream& in, std::size_t position) {
    int line = 1;
    std::size_t lineStart = 0, i = 0;
    for (char c; i < position && in.get(c); ++i)
        if (c == '\n') {
            ++line;
            lineStart = i + 1;
        }
    return {line, static_cast<int>(i - lineStart)};
}

/// The document the builder holds, or the error that stopped it.
JsonDocument finish(TreeBuilder& builder, bool ok, const std::string& file,
                    const std::function<std::pair<int, int>(std::size_t)>& lineAndColumn) {
    if (!builder.duplicatePath.empty())
        throw DocumentError(file, builder.duplicatePath, "key given twice");
    if (builder.tooDeep || (!ok && builder.syntaxMessage.empty()))
        throw DocumentError(file, builder.tooDeepPath,
                            "lists and objects nest deeper than " + std::to_string(maxJsonDepth) + " levels");
    if (!ok) throw syntaxError(file, builder.syntaxMessage, builder.syntaxPosition, lineAndColumn);
    return std::move(builder.result);
}

template <typename Input>
JsonDocument parse(Input&& input, const std::string& file, ObjectSink* sink,
                   const std::function<std::pair<int, int>(std::size_t)>& lineAndColumn) {
    TreeBuilder builder(sink);
    const bool ok = JsonTree::sax_parse(std::forward<Input>(input), &builder);
    return finish(builder, ok, file, lineAndColumn);
}

/// The quick way first; the library when the quick way is unsure. `passed` hears what the quick
/// way has gone past, and `again` gives the whole text back for the library.
template <typename Passed, typename Again>
JsonDocument read(std::string_view text, const std::string& file, ObjectSink* sink, Passed&& passed,
                  Again&& again) {
    {
        TreeBuilder builder(sink);
        const QuickScan scan = scanPlainJson(text, builder, passed);
        // The quick way ends in no syntax error, so no place needs counting.
        if (scan != QuickScan::Unsure)
            return finish(builder, scan == QuickScan::Finished, file, [](std::size_t) { return std::pair<int, int>(0, 0); });
    }
    const std::string_view whole = again();
    if (sink) sink->restart();
    return parse(whole, file, sink, [whole](std::size_t position) {
        std::istringstream in{std::string(whole)};
        return placeIn(in, position);
    });
}

} // namespace

void freeTree(JsonTree& node) {
    // Nesting is bounded by the parser's depth limit, so the recursion is too.
    if (node.is_array()) {
        auto& items = node.get_ref<JsonTree::array_t&>();
        for (auto& item : items)
            if (item.is_structured()) freeTree(item);
        items.clear();
    } else if (node.is_object()) {
        auto& members = node.get_ref<JsonTree::object_t&>();
        for (auto& member : members)
            if (member.second.is_structured()) freeTree(member.second);
        members.clear();
    }
    node = nullptr;
}

const JsonTree* field(const JsonTree& node, std::string_view key) {
    if (!node.is_object()) return nullptr;
    for (const auto& [name, value] : node.get_ref<const JsonTree::object_t&>())
        if (name == key) return &value; // lengths first, then the bytes
    return nullptr;
}

JsonDocument parseJsonTree(const std::string& text, const std::string& file) {
    const std::string_view view(text);
    return read(view, file, nullptr, [](std::size_t) {}, [view] { return view; });
}

JsonDocument parseJsonText(DocumentText& text, const std::string& file, ObjectSink* sink) {
    return read(text.text(), file, sink, [&text](std::size_t offset) { text.release(offset); }, [&text] {
        text.reload();
        return text.text();
    });
}

} // namespace host
