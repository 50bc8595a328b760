#include "host/resources/string_table.h"

#include <functional>
#include <unordered_map>

#include "host/resources/resource_error.h"
#include "host/resources/resource_layout.h"
#include "host/resources/resource_lexer.h"
#include "host/resources/symbol_header.h"

namespace host {

using detail::Token;

std::optional<std::string> StringTable::find(int32_t id) const {
    const auto it = texts_.find(id);
    if (it == texts_.end()) return std::nullopt;
    return it->second;
}

std::string StringTable::text(int32_t id) const {
    const auto it = texts_.find(id);
    return it == texts_.end() ? std::string() : it->second;
}

bool StringTable::add(int32_t id, std::string text) {
    return texts_.emplace(id, std::move(text)).second;
}

namespace {

// Answers the ID a key stands for, or throws naming the key's line.
using KeyResolver = std::function<int32_t(const Token& key)>;

StringTable parseStringTable(const std::filesystem::path& file, const std::string& name,
                             const KeyResolver& resolve) {
    const auto tokens = detail::tokenizeFile(file);
    const auto fail = [&](int line, const std::string& problem) -> void {
        throw ResourceError(file, line, problem);
    };
    const std::string expected = name.empty() ? "STRINGTABLE" : "STRINGTABLE " + name;
    if (tokens.empty()) fail(0, "holds no string table (expected '" + expected + "')");

    std::size_t pos = 0;
    const auto peek = [&]() -> const Token* { return pos < tokens.size() ? &tokens[pos] : nullptr; };
    const Token& head = tokens[pos++];
    if (!head.isWord("STRINGTABLE"))
        fail(head.line, "expected '" + expected + "', found " + detail::quoted(head));
    if (!name.empty()) {
        if (!peek() || peek()->kind != Token::Kind::Word || peek()->line != head.line)
            fail(head.line, "missing the name after STRINGTABLE (expected '" + expected + "')");
        if (peek()->text != name)
            fail(head.line, "string table is named " + peek()->text + ", expected " + name);
        ++pos;
    } else if (peek() && peek()->kind == Token::Kind::Word && peek()->line == head.line) {
        fail(peek()->line, "unexpected name " + peek()->text + " after STRINGTABLE");
    }
    if (!peek() || !peek()->is('{')) fail(head.line, "missing '{' after " + expected);
    ++pos;

    StringTable table;
    std::unordered_map<int32_t, int> firstLine;
    while (true) {
        const Token* key = peek();
        if (!key) fail(head.line, "missing '}' to close the STRINGTABLE opened here");
        ++pos;
        if (key->is('}')) break;
        if (key->kind != Token::Kind::Word)
            fail(key->line, "expected a string ID, found " + detail::quoted(*key));
        const int32_t id = resolve(*key);
        const Token* text = peek();
        if (!text || text->line != key->line || text->kind != Token::Kind::String)
            fail(key->line, "missing the quoted text of " + key->text);
        ++pos;
        if (const auto seen = firstLine.find(id); seen != firstLine.end())
            fail(key->line, "duplicate ID " + key->text + " (first at line " +
                                std::to_string(seen->second) + ")");
        firstLine.emplace(id, key->line);
        table.add(id, text->text);
        if (peek() && peek()->line == key->line && !peek()->is('}'))
            fail(key->line, "unexpected " + detail::quoted(*peek()) + " after the text of " + key->text);
    }
    if (const Token* extra = peek())
        fail(extra->line, "unexpected " + detail::quoted(*extra) + " after the end of the string table");
    return table;
}

} // namespace

StringTable loadStringFile(const std::filesystem::path& file, const std::string& name) {
    return parseStringTable(file, name, [&](const Token& key) {
        const auto id = detail::parseInt32(key.text);
        if (!id) throw ResourceError(file, key.line, "expected a numeric string ID, found '" + key.text + "'");
        return *id;
    });
}

StringTable loadLabelFile(const std::filesystem::path& file, const std::string& name,
                          const SymbolHeader& symbols) {
    return parseStringTable(file, name, [&](const Token& key) {
        const auto id = symbols.find(key.text);
        if (!id)
            throw ResourceError(file, key.line, "undefined symbol " + key.text + " (not declared in " +
                                                    symbols.file().filename().string() + ")");
        return *id;
    });
}

StringTable loadModuleStrings(const std::filesystem::path& moduleFolder) {
    return loadStringFile(moduleStringsFile(moduleFolder));
}

} // namespace host
