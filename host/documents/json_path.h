// JSON paths as document errors show them: objects[2].tags[0].params.LCFG_WIDTH
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace host::jsonpath {

/// "parent.key", or "parent[\"key\"]" when the key is not a plain word.
std::string member(const std::string& parent, const std::string& key);
/// "parent[i]"
std::string index(const std::string& parent, std::size_t i);
/// The path as a message shows it: one of more than 12 steps ("objects[0]", ".children[3]",
/// "[\"a key\"]") keeps its first and last 4 and says how many stand between, "...(992 steps)...".
std::string shown(const std::string& path);

} // namespace host::jsonpath

namespace host {

/// A place in a document file, made into its text only when a message needs it. A place below
/// another shares it, so the places of a deep hierarchy cost what those of a flat one cost. Each
/// step is one small block that counts who holds it: a document keeps a place for every link
/// until the links are resolved.
class JsonPlace {
public:
    JsonPlace() = default; // the top of the document: ""
    JsonPlace(const char* whole) : JsonPlace(std::string_view(whole)) {}
    JsonPlace(const std::string& whole) : JsonPlace(std::string_view(whole)) {}
    explicit JsonPlace(std::string_view whole);
    JsonPlace(const JsonPlace& other) noexcept;
    JsonPlace(JsonPlace&& other) noexcept : last_(other.last_) { other.last_ = nullptr; }
    JsonPlace& operator=(const JsonPlace& other) noexcept;
    JsonPlace& operator=(JsonPlace&& other) noexcept;
    ~JsonPlace();

    JsonPlace member(std::string_view key) const;
    JsonPlace index(std::size_t i) const;
    /// The path's text: "objects[2].tags[0]".
    std::string text() const;
    operator std::string() const { return text(); }

private:
    struct Step;
    Step* last_ = nullptr;

    explicit JsonPlace(Step* last) : last_(last) {}
    static Step* make(Step* parent, int kind, std::size_t value, std::string_view key);
    static void release(Step* step) noexcept;
};

} // namespace host
