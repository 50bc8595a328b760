#include "host/resources/resource_lexer.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>

#include "host/resources/resource_error.h"

namespace host::detail {
namespace {

bool isWordChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '.' || c == '+' || c == '-';
}

void appendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

/// Length of the well-formed UTF-8 sequence at s[i], or 0 when it is not one.
std::size_t utf8SequenceLength(std::string_view s, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = byte(i);
    if (c < 0x80) return 1;
    std::size_t n = 0;
    uint32_t cp = 0;
    if (c >= 0xC2 && c <= 0xDF) { n = 2; cp = c & 0x1F; }
    else if (c >= 0xE0 && c <= 0xEF) { n = 3; cp = c & 0x0F; }
    else if (c >= 0xF0 && c <= 0xF4) { n = 4; cp = c & 0x07; }
    else return 0;
    if (i + n > s.size()) return 0;
    for (std::size_t k = 1; k < n; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not text.
    if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}

class LineLexer {
public:
    LineLexer(const std::filesystem::path& file, int line, std::string_view text,
              std::vector<Token>& out)
        : file_(file), line_(line), text_(text), out_(out) {}

    void run() {
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == ' ' || c == '\t' || c == '\r') { ++pos_; continue; }
            if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') return;
            if (c == '"') { readString(); continue; }
            if (c == '{' || c == '}' || c == '=' || c == ',' || c == ';') {
                out_.push_back({Token::Kind::Punct, std::string(1, c), line_});
                ++pos_;
                continue;
            }
            if (isWordChar(c)) { readWord(); continue; }
            fail(describeChar(c));
        }
    }

private:
    [[noreturn]] void fail(const std::string& problem) const {
        throw ResourceError(file_, line_, problem);
    }

    static std::string describeChar(char c) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x21 && u < 0x7F) return std::string("unexpected character '") + c + "'";
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02X", u);
        return std::string("unexpected byte ") + hex + " outside a string";
    }

    void readWord() {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && isWordChar(text_[pos_])) ++pos_;
        out_.push_back({Token::Kind::Word, std::string(text_.substr(start, pos_ - start)), line_});
    }

    void readString() {
        std::string value;
        ++pos_; // the opening quote
        while (true) {
            if (pos_ >= text_.size()) fail("unterminated string (missing closing '\"')");
            const char c = text_[pos_];
            if (c == '"') { ++pos_; break; }
            if (c == '\\') { readEscape(value); continue; }
            const std::size_t n = utf8SequenceLength(text_, pos_);
            if (n == 0) fail("invalid UTF-8 in string");
            if (n == 1 && static_cast<unsigned char>(c) < 0x20 && c != '\t')
                fail("control character in string (write it as an escape)");
            value.append(text_.substr(pos_, n));
            pos_ += n;
        }
        out_.push_back({Token::Kind::String, std::move(value), line_});
    }

    void readEscape(std::string& value) {
        if (pos_ + 1 >= text_.size()) fail("unterminated string (missing closing '\"')");
        const char e = text_[pos_ + 1];
        pos_ += 2;
        switch (e) {
        case '"': value += '"'; return;
        case '\\': value += '\\'; return;
        case 'n': value += '\n'; return;
        case 't': value += '\t'; return;
        case 'u': break;
        default: {
            std::string shown = "\\";
            if (static_cast<unsigned char>(e) >= 0x20 && static_cast<unsigned char>(e) < 0x7F) shown += e;
            fail("bad escape '" + shown + "' in string (use \\\" \\\\ \\n \\t or \\uXXXX)");
        }
        }
        uint32_t cp = 0;
        for (int k = 0; k < 4; ++k, ++pos_) {
            const char h = pos_ < text_.size() ? text_[pos_] : '\0';
            int digit = -1;
            if (h >= '0' && h <= '9') digit = h - '0';
            else if (h >= 'a' && h <= 'f') digit = h - 'a' + 10;
            else if (h >= 'A' && h <= 'F') digit = h - 'A' + 10;
            if (digit < 0) fail("bad escape: \\u needs four hexadecimal digits");
            cp = cp * 16 + static_cast<uint32_t>(digit);
        }
        if (cp == 0) fail("bad escape: \\u0000 is not allowed in a text");
        if (cp >= 0xD800 && cp <= 0xDFFF) fail("bad escape: \\u" + hex4(cp) + " is a surrogate");
        appendUtf8(value, cp);
    }

    static std::string hex4(uint32_t cp) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "%04X", cp);
        return buf;
    }

    const std::filesystem::path& file_;
    int line_;
    std::string_view text_;
    std::vector<Token>& out_;
    std::size_t pos_ = 0;
};

} // namespace

std::vector<Token> tokenizeFile(const std::filesystem::path& file, LexOptions options) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) throw ResourceError(file, 0, "file not found");
    if (std::filesystem::is_directory(file, ec)) throw ResourceError(file, 0, "is a folder, not a file");
    std::ifstream in(file, std::ios::binary);
    if (!in) throw ResourceError(file, 0, "cannot be opened for reading");

    std::vector<Token> tokens;
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        std::string_view view(text);
        if (number == 1 && view.substr(0, 3) == "\xEF\xBB\xBF") view.remove_prefix(3);
        if (options.skipPreprocessorLines) {
            const auto first = view.find_first_not_of(" \t");
            if (first != std::string_view::npos && view[first] == '#') continue;
        }
        LineLexer(file, number, view, tokens).run();
    }
    if (in.bad()) throw ResourceError(file, number, "read error");
    return tokens;
}

std::vector<std::vector<Token>> groupByLine(const std::vector<Token>& tokens) {
    std::vector<std::vector<Token>> lines;
    for (const Token& token : tokens) {
        if (lines.empty() || lines.back().front().line != token.line) lines.emplace_back();
        lines.back().push_back(token);
    }
    return lines;
}

std::optional<int32_t> parseInt32(std::string_view word) {
    if (!word.empty() && word.front() == '+') word.remove_prefix(1);
    int32_t value = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (word.empty() || ec != std::errc() || end != word.data() + word.size()) return std::nullopt;
    return value;
}

std::optional<double> parseReal(std::string_view word) {
    // from_chars reads the "C" number format whatever the process's locale.
    if (!word.empty() && word.front() == '+') word.remove_prefix(1);
    double value = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (word.empty() || ec != std::errc() || end != word.data() + word.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool isIdentifier(std::string_view word) {
    if (word.empty()) return false;
    const char first = word.front();
    if (!((first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z') || first == '_')) return false;
    for (char c : word)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'))
            return false;
    return true;
}

std::string quoted(const Token& token) {
    if (token.kind == Token::Kind::String) return "\"" + token.text + "\"";
    return "'" + token.text + "'";
}

} // namespace host::detail
