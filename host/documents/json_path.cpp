#include "host/documents/json_path.h"

#include <atomic>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

namespace host::jsonpath {

namespace {

bool isPlainWord(const std::string& key) {
    if (key.empty()) return false;
    for (char c : key) {
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
        if (!plain) return false;
    }
    return true;
}

std::string quoted(const std::string& key) {
    std::string out = "\"";
    for (char c : key) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

/// Where each step of `path` begins: at its start, at a '.' and at a quoted key's '[' (a list's
/// index stays with the step it follows).
std::vector<std::size_t> stepStarts(const std::string& path) {
    std::vector<std::size_t> starts{0};
    for (std::size_t i = 0; i < path.size(); ++i) {
        const bool quotedKey = path[i] == '[' && i + 1 < path.size() && path[i + 1] == '"';
        if (i > 0 && (path[i] == '.' || quotedKey)) starts.push_back(i);
        if (!quotedKey) continue;
        for (i += 2; i < path.size() && path[i] != '"'; ++i)
            if (path[i] == '\\') ++i;
    }
    return starts;
}

} // namespace

std::string member(const std::string& parent, const std::string& key) {
    if (!isPlainWord(key)) return parent + "[" + quoted(key) + "]";
    return parent.empty() ? key : parent + "." + key;
}

std::string index(const std::string& parent, std::size_t i) {
    return parent + "[" + std::to_string(i) + "]";
}

std::string shown(const std::string& path) {
    constexpr std::size_t kept = 4;
    const std::vector<std::size_t> starts = stepStarts(path);
    if (starts.size() <= 3 * kept) return path;
    std::size_t tail = starts[starts.size() - kept];
    if (path[tail] == '.') ++tail;
    return path.substr(0, starts[kept]) + "...(" + std::to_string(starts.size() - 2 * kept) + " steps)..." +
           path.substr(tail);
}

} // namespace host::jsonpath

namespace host {

/// A step and, after it, the bytes of its key (a member's key, or the whole text of a first step).
struct JsonPlace::Step {
    enum Kind : uint32_t { Whole, Member, Index };
    Step* parent;
    std::atomic<uint32_t> holders; // places and steps below that hold this one
    Kind kind;
    std::size_t value; // a list's index, or the length of the key
    std::string_view key() const { return {reinterpret_cast<const char*>(this) + sizeof(Step), kind == Index ? 0 : value}; }
};

JsonPlace::Step* JsonPlace::make(Step* parent, int kind, std::size_t value, std::string_view key) {
    void* memory = ::operator new(sizeof(Step) + key.size());
    Step* step = new (memory) Step{parent, {1}, static_cast<Step::Kind>(kind), value};
    if (!key.empty()) std::memcpy(static_cast<char*>(memory) + sizeof(Step), key.data(), key.size());
    if (parent) parent->holders.fetch_add(1, std::memory_order_relaxed);
    return step;
}

// A chain is let go of from its end, one step at a time: a deep hierarchy's places never
// recurse.
void JsonPlace::release(Step* step) noexcept {
    while (step && step->holders.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        Step* parent = step->parent;
        step->~Step();
        ::operator delete(step);
        step = parent;
    }
}

JsonPlace::JsonPlace(std::string_view whole) {
    if (!whole.empty()) last_ = make(nullptr, Step::Whole, whole.size(), whole);
}

JsonPlace::JsonPlace(const JsonPlace& other) noexcept : last_(other.last_) {
    if (last_) last_->holders.fetch_add(1, std::memory_order_relaxed);
}

JsonPlace& JsonPlace::operator=(const JsonPlace& other) noexcept {
    if (other.last_) other.last_->holders.fetch_add(1, std::memory_order_relaxed);
    release(last_);
    last_ = other.last_;
    return *this;
}

JsonPlace& JsonPlace::operator=(JsonPlace&& other) noexcept {
    if (this != &other) {
        release(last_);
        last_ = other.last_;
        other.last_ = nullptr;
    }
    return *this;
}

JsonPlace::~JsonPlace() { release(last_); }

JsonPlace JsonPlace::member(std::string_view key) const {
    return JsonPlace(make(last_, Step::Member, key.size(), key));
}

JsonPlace JsonPlace::index(std::size_t i) const { return JsonPlace(make(last_, Step::Index, i, {})); }

std::string JsonPlace::text() const {
    std::vector<const Step*> steps;
    for (const Step* step = last_; step; step = step->parent) steps.push_back(step);
    std::string out;
    for (auto it = steps.rbegin(); it != steps.rend(); ++it) {
        const Step& step = **it;
        switch (step.kind) {
        case Step::Whole: out += step.key(); break;
        case Step::Member: out = jsonpath::member(out, std::string(step.key())); break;
        case Step::Index: out = jsonpath::index(out, step.value); break;
        }
    }
    return out;
}

} // namespace host
