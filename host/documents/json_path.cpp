#include "host/documents/json_path.h"

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

} // namespace

std::string member(const std::string& parent, const std::string& key) {
    if (!isPlainWord(key)) return parent + "[" + quoted(key) + "]";
    return parent.empty() ? key : parent + "." + key;
}

std::string index(const std::string& parent, std::size_t i) {
    return parent + "[" + std::to_string(i) + "]";
}

} // namespace host::jsonpath

namespace host {

JsonPlace::JsonPlace(std::string whole) {
    if (whole.empty()) return;
    auto step = std::make_shared<Step>();
    step->key = std::move(whole);
    last_ = std::move(step);
}

JsonPlace JsonPlace::member(std::string key) const {
    auto step = std::make_shared<Step>();
    step->parent = last_;
    step->key = std::move(key);
    step->kind = Step::Kind::Member;
    return JsonPlace(std::move(step));
}

JsonPlace JsonPlace::index(std::size_t i) const {
    auto step = std::make_shared<Step>();
    step->parent = last_;
    step->index = i;
    step->kind = Step::Kind::Index;
    return JsonPlace(std::move(step));
}

std::string JsonPlace::text() const {
    std::vector<const Step*> steps;
    for (const Step* step = last_.get(); step; step = step->parent.get()) steps.push_back(step);
    std::string out;
    for (auto it = steps.rbegin(); it != steps.rend(); ++it) {
        const Step& step = **it;
        switch (step.kind) {
        case Step::Kind::Whole: out += step.key; break;
        case Step::Kind::Member: out = jsonpath::member(out, step.key); break;
        case Step::Kind::Index: out = jsonpath::index(out, step.index); break;
        }
    }
    return out;
}

} // namespace host
