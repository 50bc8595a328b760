#include "host/report/scene_scan.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "host/plugins/host_error.h"
#include "host/report/scene_events.h"

namespace host {
namespace {

constexpr std::size_t refused = std::string_view::npos;
constexpr std::size_t chunkBytes = std::size_t(1) << 18;
// A single mark longer than this (a comment of megabytes, say) goes to the parser, which reads it
// in one pass where this would look at it again with every chunk.
constexpr std::size_t longestMark = std::size_t(1) << 22;

bool isSpace(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }

/// What a byte may be in a name the module writes: every name of a scene file is looked at a
/// byte at a time.
enum : unsigned char { inName = 1, startsName = 2 };
constexpr struct NameBytes {
    unsigned char of[256] = {};
    constexpr NameBytes() {
        for (int c = 0; c < 256; ++c) {
            const bool start = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':';
            const bool within = start || (c >= '0' && c <= '9') || c == '.' || c == '-';
            of[c] = static_cast<unsigned char>((start ? startsName : 0) | (within ? inName : 0));
        }
    }
} nameBytes;

bool isNameStart(char c) { return nameBytes.of[static_cast<unsigned char>(c)] & startsName; }
bool isNameChar(char c) { return nameBytes.of[static_cast<unsigned char>(c)] & inName; }

/// Control characters other than tab, line feed and carriage return are not XML anywhere. Every
/// byte of the file passes here, sixteen at a time where the processor can.
bool hasForbiddenBytes(std::string_view text) {
    std::size_t at = 0;
#ifdef __SSE2__
    const __m128i highestControl = _mm_set1_epi8(0x1F), tab = _mm_set1_epi8('\t'), lineFeed = _mm_set1_epi8('\n'),
                  carriageReturn = _mm_set1_epi8('\r');
    for (; at + 16 <= text.size(); at += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
        const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(bytes, highestControl), bytes);
        const __m128i allowed = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, tab), _mm_cmpeq_epi8(bytes, lineFeed)),
                                             _mm_cmpeq_epi8(bytes, carriageReturn));
        if (_mm_movemask_epi8(_mm_andnot_si128(allowed, control)) != 0) return true;
    }
#endif
    for (; at < text.size(); ++at) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') return true;
    }
    return false;
}

/// Whether "]]>", which text may not hold, starts in `text` before `end`.
bool closesSection(std::string_view text, std::size_t end) {
    for (const char* at = static_cast<const char*>(std::memchr(text.data(), ']', end)); at;
         at = static_cast<const char*>(std::memchr(at + 1, ']', text.data() + end - at - 1))) {
        if (text.substr(static_cast<std::size_t>(at - text.data()), 3) == "]]>") return true;
    }
    return false;
}

/// Every `&` of `text` that starts before `end` begins one of the five predefined references.
bool referencesArePlain(std::string_view text, std::size_t end) {
    const std::string_view within = text.substr(0, end);
    for (std::size_t at = within.find('&'); at != std::string_view::npos; at = within.find('&', at + 1)) {
        const std::string_view rest = text.substr(at + 1);
        bool plain = false;
        for (const char* name : {"amp;", "lt;", "gt;", "quot;", "apos;"})
            plain = plain || rest.substr(0, std::strlen(name)) == name;
        if (!plain) return false;
    }
    return true;
}

/// Where the name that starts at `at` ends; `at` itself when no name starts there.
std::size_t nameEnd(std::string_view text, std::size_t at) {
    if (at >= text.size() || !isNameStart(text[at])) return at;
    while (at < text.size() && isNameChar(text[at])) ++at;
    return at;
}

std::size_t skipSpace(std::string_view text, std::size_t at) {
    while (at < text.size() && isSpace(text[at])) ++at;
    return at;
}

bool isGoodDeclared(std::size_t which, std::string_view value) {
    if (which == 0)
        return value.size() > 2 && value.substr(0, 2) == "1." &&
               value.find_first_not_of("0123456789", 2) == std::string_view::npos;
    if (which == 2) return value == "yes" || value == "no";
    return !value.empty() && ((value[0] >= 'a' && value[0] <= 'z') || (value[0] >= 'A' && value[0] <= 'Z')) &&
           value.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789._-") ==
               std::string_view::npos;
}

/// The XML declaration `text` ("<?xml ... ?>") as the grammar has it: the version first, then
/// the encoding and standalone if given, in that order.
bool isPlainDeclaration(std::string_view text) {
    const char* const names[] = {"version", "encoding", "standalone"};
    for (std::size_t at = 5, next = 0;;) {
        const std::size_t spaced = skipSpace(text, at);
        if (text.substr(spaced) == "?>") return next > 0;
        if (spaced == at) return false;
        const std::size_t end = nameEnd(text, spaced);
        const std::string_view name = text.substr(spaced, end - spaced);
        std::size_t which = next;
        while (which < 3 && name != names[which]) ++which;
        if (which == 3 || (next == 0 && which != 0)) return false;
        at = skipSpace(text, end);
        if (at >= text.size() || text[at] != '=') return false;
        at = skipSpace(text, at + 1);
        if (at >= text.size() || (text[at] != '"' && text[at] != '\'')) return false;
        const std::size_t close = text.find(text[at], at + 1);
        if (close == std::string_view::npos || !isGoodDeclared(which, text.substr(at + 1, close - at - 1))) return false;
        next = which + 1;
        at = close + 1;
    }
}

/// Reads the marks of a scene file, chunk after chunk, and hands them to the scene's events.
class Scanner {
public:
    explicit Scanner(SceneEvents& events) : events_(events) {}

    /// Takes the whole parts at the start of `text`: how many bytes it took, or `refused`.
    /// `last`: nothing follows `text`.
    std::size_t scan(std::string_view text, bool last) {
        std::size_t at = 0;
        while (at < text.size()) {
            if (text[at] != '<') {
                const std::size_t taken = takeText(text, at, last);
                if (taken == refused || taken == at) return taken;
                at = taken;
                continue;
            }
            const std::size_t length = mark(text.substr(at));
            if (length == refused) return refused;
            if (length == 0) return last ? refused : at; // the mark goes on in the next chunk
            at += length;
            started_ = true;
        }
        return at;
    }

    bool finished() const { return rootSeen_ && open_.empty(); }

private:
    SceneEvents& events_;
    std::vector<std::string> open_; // the names of the open elements, outermost first
    bool rootSeen_ = false;
    bool started_ = false; // something was read: no declaration may follow

    /// The text from `at` to the next mark, or the part of it that is surely whole; returns where
    /// it stopped.
    std::size_t takeText(std::string_view text, std::size_t at, bool last) {
        const std::size_t lt = text.find('<', at);
        // A run that goes on past the chunk is taken but for a few bytes, which a reference or a
        // "]]>" may need.
        const std::size_t end = lt != std::string_view::npos ? lt
                                : last || text.size() < at + 8 ? (last ? text.size() : at)
                                                               : text.size() - 8;
        if (end == at) return at;
        const std::string_view run = text.substr(at, end - at);
        started_ = true;
        if (open_.empty()) return run.find_first_not_of(" \t\r\n") == std::string_view::npos ? end : refused;
        const std::string_view rest = text.substr(at);
        // Most runs are a line's indent or a number: only a run with a "&" or a "]" needs a look.
        const bool plain = std::none_of(run.begin(), run.end(), [](char c) { return c == '&' || c == ']'; });
        if (!plain && (closesSection(rest, run.size()) || !referencesArePlain(rest, run.size()))) return refused;
        if (events_.wantsText()) {
            // Text the report keeps is kept as the parser would hand it over, references resolved:
            // those few files go to the parser.
            if (run.find('&') != std::string_view::npos) return refused;
            events_.characters(run.data(), run.size());
        }
        return end;
    }

    /// The length of the mark at the start of `text`; 0 when it goes on past `text`.
    std::size_t mark(std::string_view text) {
        if (text.size() < 2) return 0;
        if (text[1] == '?') {
            const std::size_t end = text.find("?>");
            if (end == std::string_view::npos) return 0;
            if (started_ || text.substr(0, 5) != "<?xml" || !isSpace(text[5]) ||
                !isPlainDeclaration(text.substr(0, end + 2)))
                return refused;
            return end + 2;
        }
        if (text[1] == '!') return comment(text);
        if (text[1] == '/') return endTag(text);
        return startTag(text);
    }

    std::size_t comment(std::string_view text) {
        if (text.size() < 4) return 0;
        if (text.substr(0, 4) != "<!--") return refused;
        const std::size_t end = text.find("-->", 4);
        if (end == std::string_view::npos) return 0;
        const std::string_view body = text.substr(4, end - 4);
        // The parser refuses "--" in a comment and hands over its line ends as line feeds.
        if (body.find("--") != std::string_view::npos || (!body.empty() && body.back() == '-') ||
            body.find('\r') != std::string_view::npos)
            return refused;
        events_.commented(body.data(), body.size());
        return end + 3;
    }

    std::size_t endTag(std::string_view text) {
        const std::size_t end = nameEnd(text, 2);
        if (end == text.size()) return 0;
        const std::size_t bracket = skipSpace(text, end);
        if (bracket == text.size()) return 0;
        if (end == 2 || text[bracket] != '>' || open_.empty() || text.substr(2, end - 2) != open_.back()) return refused;
        close();
        return bracket + 1;
    }

    std::size_t startTag(std::string_view text) {
        const std::size_t end = nameEnd(text, 1);
        if (end == text.size()) return 0;
        if (end == 1) return refused;
        std::string_view attributes[8];
        std::size_t count = 0;
        for (std::size_t at = end;;) {
            const std::size_t spaced = skipSpace(text, at);
            if (spaced == text.size()) return 0;
            if (text[spaced] == '>' || text[spaced] == '/') {
                if (text[spaced] == '/' && spaced + 1 == text.size()) return 0;
                if (text[spaced] == '/' && text[spaced + 1] != '>') return refused;
                if (!open(text.substr(1, end - 1))) return refused;
                if (text[spaced] == '/') close();
                return spaced + (text[spaced] == '/' ? 2 : 1);
            }
            const std::size_t nameStop = nameEnd(text, spaced);
            if (spaced == at || nameStop == spaced || count == 8) return refused;
            if (nameStop == text.size()) return 0;
            const std::string_view name = text.substr(spaced, nameStop - spaced);
            for (std::size_t i = 0; i < count; ++i)
                if (attributes[i] == name) return refused;
            attributes[count++] = name;
            std::size_t value = skipSpace(text, nameStop);
            if (value < text.size() && text[value] != '=') return refused;
            value = skipSpace(text, value + 1);
            if (value >= text.size()) return 0;
            if (text[value] != '"' && text[value] != '\'') return refused;
            const std::size_t quote = text.find(text[value], value + 1);
            if (quote == std::string_view::npos) return 0;
            const std::string_view content = text.substr(value + 1, quote - value - 1);
            if (content.find('<') != std::string_view::npos || !referencesArePlain(content, content.size()))
                return refused;
            at = quote + 1;
        }
    }

    bool open(std::string_view name) {
        if (open_.empty()) {
            if (rootSeen_ || name != "scene") return false;
            rootSeen_ = true;
        }
        open_.emplace_back(name);
        events_.opened(open_.back().c_str());
        return true;
    }

    void close() {
        open_.pop_back();
        events_.closed();
    }
};

} // namespace

std::optional<SceneContents> scanSceneContents(const std::filesystem::path& sceneFile) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(sceneFile.c_str(), "rb"), std::fclose);
    if (!file) throw HostError(sceneFile.string() + ": cannot be read back: " + std::strerror(errno));
    SceneEvents events;
    Scanner scanner(events);
    std::string pending;
    for (;;) {
        const std::size_t had = pending.size();
        pending.resize(had + chunkBytes);
        const std::size_t got = std::fread(pending.data() + had, 1, chunkBytes, file.get());
        if (std::ferror(file.get())) throw HostError(sceneFile.string() + ": cannot be read back: read error");
        pending.resize(had + got);
        const bool last = got < chunkBytes;
        if (hasForbiddenBytes(std::string_view(pending).substr(had))) return std::nullopt;
        const std::size_t taken = scanner.scan(pending, last);
        if (taken == refused) return std::nullopt;
        if (last) {
            if (taken != pending.size() || !scanner.finished()) return std::nullopt;
            return std::move(events.contents);
        }
        pending.erase(0, taken);
        if (pending.size() > longestMark) return std::nullopt;
    }
}

} // namespace host
