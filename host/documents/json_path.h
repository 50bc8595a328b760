// JSON paths as document errors show them: objects[2].tags[0].params.LCFG_WIDTH
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace host::jsonpath {

/// "parent.key", or "parent[\"key\"]" when the key is not a plain word.
std::string member(const std::string& parent, const std::string& key);
/// "parent[i]"
std::string index(const std::string& parent, std::size_t i);

} // namespace host::jsonpath

namespace host {

/// A place in a document file, made into its text only when a message needs it. A place below
/// another shares it, so the places of a deep hierarchy cost what those of a flat one cost.
class JsonPlace {
public:
    JsonPlace() = default; // the top of the document: ""
    JsonPlace(const char* whole) : JsonPlace(std::string(whole)) {}
    JsonPlace(std::string whole);

    JsonPlace member(std::string key) const;
    JsonPlace index(std::size_t i) const;

    /// The path's text: "objects[2].tags[0]".
    std::string text() const;
    operator std::string() const { return text(); }

private:
    struct Step {
        std::shared_ptr<const Step> parent;
        std::string key;       // a member's key, or the whole text of the first step
        std::size_t index = 0; // a list's index
        enum class Kind { Whole, Member, Index } kind = Kind::Whole;
    };
    std::shared_ptr<const Step> last_;
    explicit JsonPlace(std::shared_ptr<const Step> last) : last_(std::move(last)) {}
};

} // namespace host
