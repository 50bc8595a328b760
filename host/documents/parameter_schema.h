// The parameters a document file may name for one node: the symbolic names and types that a
// plug-in tag's description resource declares, or the host's own names for its object and tag
// types. Numeric IDs that a schema does not know are taken as given, with the type of their value.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/resources/description_resource.h"

namespace host {

struct SchemaParameter {
    int32_t id = 0;
    std::string symbol;
    ParameterType type = ParameterType::Bool;
    std::vector<Choice> choices; // Choice only
};

class ParameterSchema {
public:
    ParameterSchema() = default;
    /// The parameters a description resource declares.
    static ParameterSchema fromDescription(const DescriptionResource& description);
    /// The host's named parameters of an object or host tag type (none for most types).
    static ParameterSchema forHostType(int32_t type);

    const SchemaParameter* find(int32_t id) const;
    const SchemaParameter* find(const std::string& symbol) const;
    bool empty() const { return parameters_.empty(); }
    const std::vector<SchemaParameter>& parameters() const { return parameters_; }

private:
    std::vector<SchemaParameter> parameters_;
};

} // namespace host
