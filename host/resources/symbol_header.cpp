#include "host/resources/symbol_header.h"

#include "host/resources/resource_error.h"
#include "host/resources/resource_lexer.h"

namespace host {

using detail::Token;

SymbolHeader::SymbolHeader(std::filesystem::path file, std::vector<Symbol> symbols)
    : file_(std::move(file)), symbols_(std::move(symbols)) {
    for (std::size_t i = 0; i < symbols_.size(); ++i) {
        byName_.emplace(symbols_[i].name, i);
        byId_.emplace(symbols_[i].id, i);
    }
}

std::optional<int32_t> SymbolHeader::find(std::string_view name) const {
    const auto it = byName_.find(std::string(name));
    if (it == byName_.end()) return std::nullopt;
    return symbols_[it->second].id;
}

const Symbol* SymbolHeader::byId(int32_t id) const {
    const auto it = byId_.find(id);
    return it == byId_.end() ? nullptr : &symbols_[it->second];
}

namespace {

class HeaderParser {
public:
    HeaderParser(const std::filesystem::path& file, std::vector<Token> tokens)
        : file_(file), tokens_(std::move(tokens)) {}

    std::vector<Symbol> run() {
        bool sawEnum = false;
        while (pos_ < tokens_.size()) {
            const Token& token = tokens_[pos_];
            if (!token.isWord("enum"))
                fail(token.line, "unexpected " + detail::quoted(token) +
                                     " outside the enum (a symbol header holds one enum of IDs)");
            if (sawEnum) fail(token.line, "a second enum (a symbol header holds one enum of IDs)");
            sawEnum = true;
            readEnum();
        }
        if (!sawEnum) fail(0, "holds no enum of IDs");
        return std::move(symbols_);
    }

private:
    [[noreturn]] void fail(int line, const std::string& problem) const {
        throw ResourceError(file_, line, problem);
    }

    const Token* peek() const { return pos_ < tokens_.size() ? &tokens_[pos_] : nullptr; }

    void readEnum() {
        const int enumLine = tokens_[pos_].line;
        ++pos_;
        if (peek() && peek()->kind == Token::Kind::Word) ++pos_; // an optional enum name
        if (!peek() || !peek()->is('{')) fail(enumLine, "missing '{' after enum");
        ++pos_;
        while (true) {
            const Token* token = peek();
            if (!token) fail(enumLine, "missing '};' to close the enum opened here");
            if (token->is('}')) {
                ++pos_;
                if (!peek() || !peek()->is(';')) fail(token->line, "missing ';' after the enum's '}'");
                ++pos_;
                return;
            }
            readSymbol();
        }
    }

    void readSymbol() {
        const Token name = tokens_[pos_++];
        if (name.kind != Token::Kind::Word || !detail::isIdentifier(name.text))
            fail(name.line, "expected a symbol name, found " + detail::quoted(name));
        if (!peek() || !peek()->is('='))
            fail(name.line, "expected '=' and an ID after " + name.text);
        ++pos_;
        const Token* value = peek();
        if (!value || value->line != name.line)
            fail(name.line, "missing the ID of " + name.text);
        const auto id = value->kind == Token::Kind::Word ? detail::parseInt32(value->text) : std::nullopt;
        if (!id)
            fail(value->line, "the ID of " + name.text + " must be a decimal integer, found " +
                                  detail::quoted(*value));
        ++pos_;
        if (const auto seen = byName_.find(name.text); seen != byName_.end())
            fail(name.line, "duplicate symbol " + name.text + " (first at line " +
                                std::to_string(symbols_[seen->second].line) + ")");
        if (const auto seen = byId_.find(*id); seen != byId_.end())
            fail(name.line, "duplicate ID " + std::to_string(*id) + ": " + name.text + " and " +
                                symbols_[seen->second].name + " (line " +
                                std::to_string(symbols_[seen->second].line) + ")");
        byName_.emplace(name.text, symbols_.size());
        byId_.emplace(*id, symbols_.size());
        symbols_.push_back({name.text, *id, name.line});
        if (peek() && peek()->is(',')) { ++pos_; return; }
        if (peek() && peek()->is('}')) return;
        fail(name.line, "expected ',' after " + name.text + " = " + std::to_string(*id));
    }

    const std::filesystem::path& file_;
    std::vector<Token> tokens_;
    std::size_t pos_ = 0;
    std::vector<Symbol> symbols_;
    std::unordered_map<std::string, std::size_t> byName_;
    std::unordered_map<int32_t, std::size_t> byId_;
};

} // namespace

SymbolHeader loadSymbolHeader(const std::filesystem::path& file) {
    auto tokens = detail::tokenizeFile(file, {/*skipPreprocessorLines=*/true});
    auto symbols = HeaderParser(file, std::move(tokens)).run();
    return SymbolHeader(file, std::move(symbols));
}

} // namespace host
