#include "host/documents/json_tree.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "host/documents/document_error.h"
#include "host/documents/json_path.h"

namespace host {

namespace {

/// Builds the tree from parse events, tracking the JSON path of the container being filled.
class TreeBuilder final : public nlohmann::json_sax<JsonTree> {
public:
    JsonTree root;
    std::string duplicatePath; // set when a key repeats
    std::string syntaxMessage; // set on a syntax error
    std::size_t syntaxPosition = 0; // bytes read when it was met
    std::string tooDeepPath;   // set when lists and objects nest deeper than the limit

    bool null() override { return add(nullptr); }
    bool boolean(bool value) override { return add(value); }
    bool number_integer(number_integer_t value) override { return add(value); }
    bool number_unsigned(number_unsigned_t value) override { return add(value); }
    bool number_float(number_float_t value, const string_t&) override { return add(value); }
    bool string(string_t& value) override { return add(value); }
    bool binary(binary_t&) override { return false; } // never produced by text input

    bool start_object(std::size_t) override { return open(JsonTree::object()); }
    bool start_array(std::size_t) override { return open(JsonTree::array()); }
    bool end_object() override { return close(); }
    bool end_array() override { return close(); }

    bool key(string_t& name) override {
        Frame& top = stack_.back();
        if (top.node->contains(name)) {
            duplicatePath = jsonpath::member(top.path, name);
            return false;
        }
        top.key = name;
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
    struct Frame {
        JsonTree* node;
        std::string path;
        std::string key;
    };
    std::vector<Frame> stack_;

    /// Places a value in the current container; answers where it landed and its path.
    std::pair<JsonTree*, std::string> place(JsonTree value) {
        if (stack_.empty()) {
            root = std::move(value);
            return {&root, ""};
        }
        Frame& top = stack_.back();
        if (top.node->is_array()) {
            std::string path = jsonpath::index(top.path, top.node->size());
            top.node->push_back(std::move(value));
            return {&top.node->back(), path};
        }
        JsonTree& slot = (*top.node)[top.key];
        slot = std::move(value);
        return {&slot, jsonpath::member(top.path, top.key)};
    }

    bool add(JsonTree value) {
        place(std::move(value));
        return true;
    }

    bool open(JsonTree container) {
        if (stack_.size() >= maxJsonDepth) {
            tooDeepPath = stack_.back().path;
            return false;
        }
        auto [node, path] = place(std::move(container));
        stack_.push_back({node, path, {}});
        return true;
    }

    bool close() {
        stack_.pop_back();
        return true;
    }
};

/// nlohmann's text reads "[json.exception.parse_error.101] parse error at line 3, column 5: <problem>".
DocumentError syntaxError(const std::string& file, const std::string& text, const std::string& message,
                          std::size_t position) {
    const std::string lineMark = "line ", columnMark = ", column ";
    std::size_t line = message.find(lineMark);
    std::size_t column = line == std::string::npos ? line : message.find(columnMark, line);
    std::size_t problem = column == std::string::npos ? column : message.find(": ", column);
    if (problem == std::string::npos) {
        // No place in the text: count it from the bytes read, as the library counts lines and columns.
        position = std::min(position, text.size());
        int lineNumber = 1;
        std::size_t lineStart = 0;
        for (std::size_t i = 0; i < position; ++i)
            if (text[i] == '\n') {
                ++lineNumber;
                lineStart = i + 1;
            }
        return DocumentError(file, lineNumber, static_cast<int>(position - lineStart), message);
    }
    return DocumentError(file, std::atoi(message.c_str() + line + lineMark.size()),
                         std::atoi(message.c_str() + column + columnMark.size()), message.substr(problem + 2));
}

} // namespace

JsonTree parseJsonTree(const std::string& text, const std::string& file) {
    TreeBuilder builder;
    bool ok = JsonTree::sax_parse(text, &builder);
    if (!builder.duplicatePath.empty())
        throw DocumentError(file, builder.duplicatePath, "key given twice");
    if (!builder.tooDeepPath.empty() || (!ok && builder.syntaxMessage.empty()))
        throw DocumentError(file, builder.tooDeepPath,
                            "lists and objects nest deeper than " + std::to_string(maxJsonDepth) + " levels");
    if (!ok) throw syntaxError(file, text, builder.syntaxMessage, builder.syntaxPosition);
    return std::move(builder.root);
}

} // namespace host
