// Parameter containers: typed values by integer ID, as every node, the plug-in settings and
// the description entries keep them. Elements are kept in ascending ID order, so walking a
// container (and everything written from it) is deterministic. Copies are deep.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "host_types.h"

namespace host {

/// A file name held by a container (distinct from a text of the same characters).
struct FileValue {
    std::string path;
    bool operator==(const FileValue& other) const { return path == other.path; }
};

/// A link held by a container: the token of the linked node (0 = empty link).
struct LinkValue {
    uint64_t token = 0;
    bool operator==(const LinkValue& other) const { return token == other.token; }
};

/// Owns a sub-container and copies it deeply.
class SubContainer {
public:
    SubContainer();
    explicit SubContainer(const HostContainer& value);
    SubContainer(const SubContainer& other);
    SubContainer& operator=(const SubContainer& other);
    SubContainer(SubContainer&&) noexcept = default;
    SubContainer& operator=(SubContainer&&) noexcept = default;
    ~SubContainer();

    HostContainer& get() { return *value_; }
    const HostContainer& get() const { return *value_; }
    bool operator==(const SubContainer& other) const;

private:
    std::unique_ptr<HostContainer> value_;
};

/// One element's value. A real is a 32-bit value, as the host's reals are.
using Value = std::variant<bool, int32_t, float, HostVector, std::string, FileValue, LinkValue,
                           SubContainer>;

/// The HostValueType of a value (a sub-container answers HOST_VALUE_NONE).
int32_t valueType(const Value& value);

} // namespace host

/// Component-wise equality of host vectors.
bool operator==(const HostVector& a, const HostVector& b);
inline bool operator!=(const HostVector& a, const HostVector& b) { return !(a == b); }

/// A parameter container.
///
/// Typed reads answer the fallback when the ID is absent or holds a value of another kind,
/// except that booleans, integers and reals read as one another (a boolean reads as 0 or 1,
/// an integer as a boolean when it is not 0, a real as an integer by truncation).
struct HostContainer {
    std::map<int32_t, host::Value> elements;

    bool has(int32_t id) const { return elements.count(id) != 0; }
    const host::Value* find(int32_t id) const;
    host::Value* find(int32_t id);
    void set(int32_t id, host::Value value) { elements.insert_or_assign(id, std::move(value)); }
    void remove(int32_t id) { elements.erase(id); }
    bool empty() const { return elements.empty(); }
    std::size_t size() const { return elements.size(); }

    bool getBool(int32_t id, bool fallback = false) const;
    int32_t getInt(int32_t id, int32_t fallback = 0) const;
    float getReal(int32_t id, float fallback = 0.0f) const;
    HostVector getVector(int32_t id, HostVector fallback = {0, 0, 0}) const;
    /// The text of a text element, else "".
    std::string getString(int32_t id) const;
    /// The path of a file-name element, else "".
    std::string getFilename(int32_t id) const;
    /// The token of a link element, else 0.
    uint64_t getLinkToken(int32_t id) const;
    /// The sub-container of an ID, or nullptr.
    const HostContainer* getContainer(int32_t id) const;
    HostContainer* getContainer(int32_t id);

    void setBool(int32_t id, bool value) { set(id, value); }
    void setInt(int32_t id, int32_t value) { set(id, value); }
    void setReal(int32_t id, float value) { set(id, value); }
    void setVector(int32_t id, HostVector value) { set(id, value); }
    void setString(int32_t id, std::string value) { set(id, std::move(value)); }
    void setFilename(int32_t id, std::string path) { set(id, host::FileValue{std::move(path)}); }
    /// Links to a node by its token; nullptr empties the link.
    void setLink(int32_t id, const HostNode* node);
    void setLinkToken(int32_t id, uint64_t token) { set(id, host::LinkValue{token}); }
    void setContainer(int32_t id, const HostContainer& value) { set(id, host::SubContainer(value)); }

    /// Copies every element of `other` over this one's, keeping the elements `other` lacks.
    void merge(const HostContainer& other);

    bool operator==(const HostContainer& other) const;
};
