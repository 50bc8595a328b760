// The quick way through a document file's text: one pass that hands the same parse events as
// the JSON library to the same receiver, several times faster, for text that is plainly valid.
// It never decides that text is wrong. At the first thing it is not sure of (a syntax error, a
// number out of range, an escape it does not take, a byte order mark) it stops and says so, and
// the caller reads the text again with the library, which names the problem in its own words.
#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/documents/json_tree_type.h"

namespace host {

enum class QuickScan {
    Finished, // the whole text was read and every event handed over
    Stopped,  // the receiver refused an event (it keeps why)
    Unsure,   // the library must read the text: nothing the receiver was given counts
};

namespace quickjson {

inline bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
inline bool isDigit(char c) { return c >= '0' && c <= '9'; }
inline bool inRange(unsigned char c, unsigned char low, unsigned char high) { return c >= low && c <= high; }

/// The four hex digits of a \u escape at `at`, or -1.
inline long hexAt(std::string_view text, std::size_t at) {
    if (at + 6 > text.size() || text[at] != '\\' || text[at + 1] != 'u') return -1;
    long value = 0;
    for (std::size_t k = at + 2; k < at + 6; ++k) {
        const char h = text[k];
        const int digit = isDigit(h) ? h - '0' : h >= 'a' && h <= 'f' ? h - 'a' + 10 : h >= 'A' && h <= 'F' ? h - 'A' + 10 : -1;
        if (digit < 0) return -1;
        value = value * 16 + digit;
    }
    return value;
}

/// A \u escape at `at` (a surrogate pair takes two) as UTF-8 onto `out`; answers the place after
/// it, or npos for a lone surrogate or bad digits.
inline std::size_t readEscapedCharacter(std::string_view text, std::size_t at, std::string& out) {
    long code = hexAt(text, at);
    if (code < 0 || (code >= 0xDC00 && code <= 0xDFFF)) return std::string_view::npos;
    at += 6;
    if (code >= 0xD800 && code <= 0xDBFF) {
        const long low = hexAt(text, at);
        if (low < 0xDC00 || low > 0xDFFF) return std::string_view::npos;
        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        at += 6;
    }
    if (code < 0x80) {
        out.push_back(char(code));
    } else if (code < 0x800) {
        out.push_back(char(0xC0 | (code >> 6)));
        out.push_back(char(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(char(0xE0 | (code >> 12)));
        out.push_back(char(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(char(0x80 | (code & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (code >> 18)));
        out.push_back(char(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(char(0x80 | (code & 0x3F)));
    }
    return at;
}

/// Reads a string's text after its opening quote into `out`; answers the place after the closing
/// quote, or npos when unsure. UTF-8 is taken only where it is well formed.
inline std::size_t readString(std::string_view text, std::size_t at, std::string& out) {
    out.clear();
    const std::size_t npos = std::string_view::npos;
    std::size_t run = at; // start of the bytes not yet copied
    while (at < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[at]);
        if (c == '"') {
            out.append(text.data() + run, at - run);
            return at + 1;
        }
        if (c < 0x20 || c == '\\') {
            if (c < 0x20) return npos;
            out.append(text.data() + run, at - run);
            if (at + 1 >= text.size()) return npos;
            const char e = text[at + 1];
            static constexpr std::string_view from = "\"\\/bfnrt", to = "\"\\/\b\f\n\r\t";
            if (e == 'u') {
                at = readEscapedCharacter(text, at, out);
                if (at == npos) return npos;
                run = at;
                continue;
            }
            const std::size_t k = from.find(e);
            if (k == npos) return npos;
            out.push_back(to[k]);
            at += 2;
            run = at;
            continue;
        }
        if (c < 0x80) {
            ++at;
            continue;
        }
        // The well-formed sequences: a lead byte and its 1 to 3 continuation bytes.
        auto next = [&](std::size_t k, unsigned char low, unsigned char high) {
            return at + k < text.size() && inRange(static_cast<unsigned char>(text[at + k]), low, high);
        };
        std::size_t length = 0;
        if (inRange(c, 0xC2, 0xDF)) length = next(1, 0x80, 0xBF) ? 2 : 0;
        else if (c == 0xE0) length = next(1, 0xA0, 0xBF) && next(2, 0x80, 0xBF) ? 3 : 0;
        else if (inRange(c, 0xE1, 0xEC) || c == 0xEE || c == 0xEF) length = next(1, 0x80, 0xBF) && next(2, 0x80, 0xBF) ? 3 : 0;
        else if (c == 0xED) length = next(1, 0x80, 0x9F) && next(2, 0x80, 0xBF) ? 3 : 0;
        else if (c == 0xF0) length = next(1, 0x90, 0xBF) && next(2, 0x80, 0xBF) && next(3, 0x80, 0xBF) ? 4 : 0;
        else if (inRange(c, 0xF1, 0xF3)) length = next(1, 0x80, 0xBF) && next(2, 0x80, 0xBF) && next(3, 0x80, 0xBF) ? 4 : 0;
        else if (c == 0xF4) length = next(1, 0x80, 0x8F) && next(2, 0x80, 0xBF) && next(3, 0x80, 0xBF) ? 4 : 0;
        if (length == 0) return npos;
        at += length;
    }
    return npos;
}

/// Reads a number as the library does: an integer without sign that fits 64 bits is unsigned,
/// one with a sign that fits is signed, everything else a real. Answers the place after it, or
/// npos when unsure (a malformed number, or a real the library would refuse or round elsewhere).
template <typename Sax>
std::size_t readNumber(std::string_view text, std::size_t at, Sax& sax, std::string& token, bool& accepted) {
    const std::size_t npos = std::string_view::npos, begin = at;
    const bool negative = text[at] == '-';
    if (negative) ++at;
    if (at >= text.size() || !isDigit(text[at])) return npos;
    // The integer part's value is gathered on the way: most numbers of a document are short
    // integers, and reading them again with from_chars cost more than finding them.
    const std::size_t digitsBegin = at;
    std::uint64_t digits = 0;
    if (text[at] == '0') ++at;
    else
        for (; at < text.size() && isDigit(text[at]); ++at) digits = digits * 10 + std::uint64_t(text[at] - '0');
    bool integer = true;
    if (at < text.size() && text[at] == '.') {
        integer = false;
        if (++at >= text.size() || !isDigit(text[at])) return npos;
        while (at < text.size() && isDigit(text[at])) ++at;
    }
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        integer = false;
        if (++at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
        if (at >= text.size() || !isDigit(text[at])) return npos;
        while (at < text.size() && isDigit(text[at])) ++at;
    }
    const char* first = text.data() + begin;
    const char* last = text.data() + at;
    constexpr std::size_t surelyExact = 18; // this many digits fit either kind of integer
    if (integer && at - digitsBegin <= surelyExact) {
        accepted = negative ? sax.number_integer(-static_cast<std::int64_t>(digits)) : sax.number_unsigned(digits);
        return at;
    }
    if (integer) {
        if (negative) {
            std::int64_t value = 0;
            if (std::from_chars(first, last, value).ec == std::errc{}) {
                accepted = sax.number_integer(value);
                return at;
            }
        } else {
            std::uint64_t value = 0;
            if (std::from_chars(first, last, value).ec == std::errc{}) {
                accepted = sax.number_unsigned(value);
                return at;
            }
        }
    }
    double value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc{} || end != last) return npos; // out of range, under or over
    token.assign(first, last);
    accepted = sax.number_float(value, token);
    return at;
}

} // namespace quickjson

/// Hands the events of `text` to `sax` as the library's parse would, or stops early; see QuickScan.
/// Now and then `passed(offset)` tells that the bytes before `offset` will not be looked at again.
template <typename Sax, typename Passed>
QuickScan scanPlainJson(std::string_view text, Sax& sax, Passed&& passed) {
    using namespace quickjson;
    const std::size_t npos = std::string_view::npos;
    std::vector<char> open; // '{' or '[' for each container entered
    std::string string, token;
    std::size_t at = 0;
    if (!text.empty() && static_cast<unsigned char>(text[0]) == 0xEF) return QuickScan::Unsure;
    auto skipSpace = [&] {
        while (at < text.size() && isSpace(text[at])) ++at;
    };
    auto key = [&]() -> int { // 1 read and taken, 0 refused, -1 unsure
        skipSpace();
        if (at >= text.size() || text[at] != '"') return -1;
        at = readString(text, at + 1, string);
        if (at == npos) return -1;
        if (!sax.key(string)) return 0;
        skipSpace();
        if (at >= text.size() || text[at] != ':') return -1;
        ++at;
        return 1;
    };
    constexpr std::size_t passStep = std::size_t(1) << 20;
    std::size_t nextPass = passStep;
    for (;;) {
        // A value.
        if (at >= nextPass) {
            passed(at);
            nextPass = at + passStep;
        }
        skipSpace();
        if (at >= text.size()) return QuickScan::Unsure;
        bool accepted = true;
        const char c = text[at];
        if (c == '{' || c == '[') {
            ++at;
            if (!(c == '{' ? sax.start_object(std::size_t(-1)) : sax.start_array(std::size_t(-1)))) return QuickScan::Stopped;
            skipSpace();
            const char close = c == '{' ? '}' : ']';
            if (at < text.size() && text[at] == close) {
                ++at;
                if (!(c == '{' ? sax.end_object() : sax.end_array())) return QuickScan::Stopped;
            } else {
                open.push_back(c);
                if (c == '{') {
                    const int taken = key();
                    if (taken <= 0) return taken == 0 ? QuickScan::Stopped : QuickScan::Unsure;
                }
                continue;
            }
        } else if (c == '"') {
            at = readString(text, at + 1, string);
            if (at == npos) return QuickScan::Unsure;
            accepted = sax.string(string);
        } else if (c == '-' || isDigit(c)) {
            at = readNumber(text, at, sax, token, accepted);
            if (at == npos) return QuickScan::Unsure;
        } else if (text.compare(at, 4, "true") == 0) {
            at += 4;
            accepted = sax.boolean(true);
        } else if (text.compare(at, 5, "false") == 0) {
            at += 5;
            accepted = sax.boolean(false);
        } else if (text.compare(at, 4, "null") == 0) {
            at += 4;
            accepted = sax.null();
        } else {
            return QuickScan::Unsure;
        }
        if (!accepted) return QuickScan::Stopped;
        // After a value: the next member or entry, or the ends of containers.
        for (;;) {
            skipSpace();
            if (open.empty()) return at == text.size() ? QuickScan::Finished : QuickScan::Unsure;
            if (at >= text.size()) return QuickScan::Unsure;
            const char inside = open.back();
            const char next = text[at++];
            if (next == ',') {
                if (inside == '{') {
                    const int taken = key();
                    if (taken <= 0) return taken == 0 ? QuickScan::Stopped : QuickScan::Unsure;
                }
                break;
            }
            if (next != (inside == '{' ? '}' : ']')) return QuickScan::Unsure;
            open.pop_back();
            if (!(inside == '{' ? sax.end_object() : sax.end_array())) return QuickScan::Stopped;
        }
    }
}

template <typename Sax>
QuickScan scanPlainJson(std::string_view text, Sax& sax) {
    return scanPlainJson(text, sax, [](std::size_t) {});
}

} // namespace host
