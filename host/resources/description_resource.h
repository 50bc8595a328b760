// Description resources: the parameters a plug-in shows, by type and in groups, with their
// IDs from the symbol header and their labels from the label file.
//
//   DESCRIPTION Tlumenoconfig
//   {
//       GROUP LCFG_GROUP_RENDERER
//       {
//           BOOL LCFG_RENDERER_SETTINGS
//           LONG LCFG_WIDTH MIN 1 MAX 100000
//           CHOICE LCFG_TONEMAPPING_TYPE
//           {
//               LCFG_TONEMAPPING_LINEAR
//               LCFG_TONEMAPPING_REINHARD
//           }
//       }
//   }
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/resources/symbol_header.h"

namespace host {

enum class ParameterType { Bool, Long, Real, Vector, Filename, Link, Choice };

/// The keyword of a type in a description resource: "BOOL", "LONG", "REAL", "VECTOR",
/// "FILENAME", "LINK", "CHOICE".
const char* parameterTypeName(ParameterType type);
/// The type of a keyword, or nothing for an unknown one.
std::optional<ParameterType> parameterTypeFromName(std::string_view keyword);

struct Choice {
    int32_t code = 0;
    std::string symbol;
    std::string label;
};

struct DescriptionGroup {
    int32_t id = 0;
    std::string symbol;
    std::string label;
    std::string parent; // symbol of the enclosing group, "" at the top level
};

struct DescriptionParameter {
    int32_t id = 0;
    std::string symbol;
    ParameterType type = ParameterType::Bool;
    std::string label;
    std::string group;            // symbol of the innermost enclosing group, "" at the top level
    std::vector<Choice> choices;  // CHOICE only, in resource order
    std::optional<double> min;    // LONG and REAL only: the range the interface offers
    std::optional<double> max;
    int line = 0;                 // where the resource declares it
};

class DescriptionResource {
public:
    DescriptionResource() = default;
    DescriptionResource(std::string name, int32_t id, SymbolHeader symbols,
                        std::vector<DescriptionGroup> groups,
                        std::vector<DescriptionParameter> parameters);

    /// The resource name, such as "Tlumenoconfig".
    const std::string& name() const { return name_; }
    /// The ID the header gives the resource name (the plug-in ID it describes).
    int32_t id() const { return id_; }
    const std::vector<DescriptionGroup>& groups() const { return groups_; }
    /// Parameters in resource order.
    const std::vector<DescriptionParameter>& parameters() const { return parameters_; }
    const SymbolHeader& symbols() const { return symbols_; }

    /// The ID of any symbol the header declares (parameter, group, choice code), or nothing.
    std::optional<int32_t> findSymbol(std::string_view symbol) const;
    /// The parameter of an ID, or nullptr.
    const DescriptionParameter* find(int32_t id) const;
    /// The parameter of a symbol, or nullptr.
    const DescriptionParameter* findParameter(std::string_view symbol) const;

private:
    std::string name_;
    int32_t id_ = 0;
    SymbolHeader symbols_;
    std::vector<DescriptionGroup> groups_;
    std::vector<DescriptionParameter> parameters_;
    std::unordered_map<int32_t, std::size_t> index_;
};

/// Loads res/description/<name>.h, res/description/<name>.res and res/strings/<name>.str of a
/// module folder. Throws ResourceError naming the file and line of the first problem.
DescriptionResource loadDescription(const std::filesystem::path& moduleFolder,
                                    const std::string& name);

} // namespace host
