// The tokens shared by the resource formats: words (names and numbers), quoted UTF-8 strings
// with escapes, and the punctuation { } = , ;. "//" starts a comment to the end of the line.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace host::detail {

struct Token {
    enum class Kind { Word, String, Punct };
    Kind kind = Kind::Word;
    std::string text; // a string's text with its escapes resolved
    int line = 0;

    bool is(char punct) const { return kind == Kind::Punct && text.size() == 1 && text[0] == punct; }
    bool isWord(std::string_view word) const { return kind == Kind::Word && text == word; }
};

struct LexOptions {
    bool skipPreprocessorLines = false; // lines whose first character is '#' (symbol headers)
};

/// Reads and tokenizes a whole file. Throws ResourceError for a missing or unreadable file and
/// for a bad character, an unterminated string, a bad escape or invalid UTF-8 in a string.
std::vector<Token> tokenizeFile(const std::filesystem::path& file, LexOptions options = {});

/// The tokens grouped by the line they stand on, in file order; empty lines are dropped.
std::vector<std::vector<Token>> groupByLine(const std::vector<Token>& tokens);

/// A whole word as a 32-bit integer (decimal, optional sign), or nothing.
std::optional<int32_t> parseInt32(std::string_view word);
/// A whole word as a finite real, or nothing.
std::optional<double> parseReal(std::string_view word);
/// A C identifier: a letter or '_', then letters, digits and '_'.
bool isIdentifier(std::string_view word);
/// How a token reads in a message: 'word', "string", '{'.
std::string quoted(const Token& token);

} // namespace host::detail
