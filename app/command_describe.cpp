#include "app/command_describe.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/common_options.h"
#include "app/tag_lookup.h"
#include "host/documents/document_loader.h"
#include "host/documents/document_writer.h"
#include "host/documents/name_suggestion.h"
#include "host/documents/object_paths.h"
#include "host/model/links.h"
#include "host/plugins/attribute_panel.h"
#include "host/plugins/parameter_edit.h"
#include "host/plugins/registry.h"
#include "host/plugins/tag_draw.h"
#include "host_constants.h"

namespace app {

namespace {

struct DescribeOptions {
    CommonOptions common;
    std::string document;
    std::string object;
    std::string tag;
    std::vector<std::string> edits;
    std::string output;
};

/// One --set, read against the tag's description.
struct Edit {
    std::string given;
    int32_t id = 0;
    host::Value value;
};

std::optional<int32_t> wholeNumber(const std::string& text) {
    int32_t number = 0;
    const char* end = text.data() + text.size();
    auto [ptr, error] = std::from_chars(text.data(), end, number);
    if (text.empty() || error != std::errc() || ptr != end) return std::nullopt;
    return number;
}

// ---- Reading --set values ------------------------------------------------------------------

std::optional<float> realNumber(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(value) ||
        std::fabs(value) > std::numeric_limits<float>::max())
        return std::nullopt;
    return static_cast<float>(value);
}

std::optional<HostVector> vectorValue(std::string text) {
    for (char& c : text)
        if (c == ',') c = ' ';
    std::vector<float> parts;
    size_t at = 0;
    while (at < text.size()) {
        size_t start = text.find_first_not_of(' ', at);
        if (start == std::string::npos) break;
        size_t end = text.find(' ', start);
        if (end == std::string::npos) end = text.size();
        std::optional<float> part = realNumber(text.substr(start, end - start));
        if (!part) return std::nullopt;
        parts.push_back(*part);
        at = end;
    }
    if (parts.size() != 3) return std::nullopt;
    return HostVector{parts[0], parts[1], parts[2]};
}

[[noreturn]] void refuseValue(const std::string& given, const std::string& expected) {
    throw CommandFailure("--set " + given + ": expected " + expected);
}

host::Value readValue(const host::DescriptionParameter& parameter, const std::string& text, const std::string& given,
                      const HostNode& document) {
    using host::ParameterType;
    switch (parameter.type) {
    case ParameterType::Bool:
        if (text == "true" || text == "on" || text == "1") return true;
        if (text == "false" || text == "off" || text == "0") return false;
        refuseValue(given, "true or false");
    case ParameterType::Long:
        if (std::optional<int32_t> number = wholeNumber(text)) return *number;
        refuseValue(given, "a 32-bit integer");
    case ParameterType::Real:
        if (std::optional<float> number = realNumber(text)) return *number;
        refuseValue(given, "a number");
    case ParameterType::Vector:
        if (std::optional<HostVector> vector = vectorValue(text)) return *vector;
        refuseValue(given, "three numbers, such as 0,0.2,0.2");
    case ParameterType::Choice: {
        if (std::optional<int32_t> code = wholeNumber(text)) return *code;
        std::vector<std::string> names;
        for (const host::Choice& choice : parameter.choices) {
            if (choice.symbol == text) return choice.code;
            names.push_back(choice.symbol);
        }
        std::string expected = "a choice code or one of";
        for (const std::string& name : names) expected += " " + name;
        refuseValue(given, expected);
    }
    case ParameterType::Filename: return host::FileValue{text};
    case ParameterType::Link: {
        if (text.empty()) return host::LinkValue{};
        host::ObjectPathIndex index(document);
        const std::vector<HostNode*>& found = index.find(host::splitObjectPath(text));
        if (found.size() != 1)
            refuseValue(given, found.empty() ? "the path of an object (there is no object at \"" + text + "\")"
                                             : "the path of one object (several share \"" + text + "\")");
        return host::LinkValue{found.front()->token()};
    }
    }
    refuseValue(given, "a value");
}

Edit readEdit(const std::string& given, const host::DescriptionResource& description, const HostNode& document) {
    size_t equals = given.find('=');
    if (equals == std::string::npos || equals == 0) throw CommandFailure("--set " + given + ": expected KEY=VALUE");
    std::string key = given.substr(0, equals);
    const host::DescriptionParameter* parameter = nullptr;
    if (std::optional<int32_t> id = wholeNumber(key))
        parameter = description.find(*id);
    else
        parameter = description.findParameter(key);
    if (!parameter) {
        std::vector<std::string> names;
        for (const host::DescriptionParameter& p : description.parameters()) names.push_back(p.symbol);
        std::optional<std::string> suggestion = host::closestName(key, names);
        throw CommandFailure("--set " + given + ": the tag declares no parameter \"" + key + "\"" +
                             (suggestion ? " (did you mean " + *suggestion + "?)" : ""));
    }
    return Edit{given, parameter->id, readValue(*parameter, given.substr(equals + 1), given, document)};
}

// ---- Showing the panel ---------------------------------------------------------------------

std::string realText(float value) {
    char text[32];
    auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string linkText(uint64_t token, const HostNode& document) {
    HostNode* node = token ? host::resolveLink(token, &document, LINK_FILTER_ANY) : nullptr;
    if (!node) return "(empty)";
    if (node->kind() == host::NodeKind::Material) return "material \"" + node->name + "\"";
    if (!node->isObject()) return "\"" + node->name + "\" (" + std::to_string(node->type()) + ")";
    return host::objectPathText(host::ObjectPathIndex(document).pathOf(node));
}

std::string valueText(const host::PanelRow& row, const HostNode& document) {
    if (!row.value) return "(not set)";
    const host::Value& value = *row.value;
    if (const bool* b = std::get_if<bool>(&value)) return *b ? "true" : "false";
    if (const int32_t* i = std::get_if<int32_t>(&value)) {
        if (row.type != "CHOICE") return std::to_string(*i);
        for (const auto& [code, label] : row.choices)
            if (code == *i) return label + " (" + std::to_string(code) + ")";
        return std::to_string(*i) + " (not one of the choices)";
    }
    if (const float* r = std::get_if<float>(&value)) return realText(*r);
    if (const HostVector* v = std::get_if<HostVector>(&value))
        return realText(v->x) + " " + realText(v->y) + " " + realText(v->z);
    if (const std::string* s = std::get_if<std::string>(&value)) return "\"" + *s + "\"";
    if (const host::FileValue* f = std::get_if<host::FileValue>(&value)) return f->path.empty() ? "(none)" : f->path;
    if (const host::LinkValue* l = std::get_if<host::LinkValue>(&value)) return linkText(l->token, document);
    return "(container)";
}

void printPanel(const host::AttributePanel& panel, const HostNode& tag, const HostNode& object,
                const HostNode& document) {
    size_t labelWidth = 0, symbolWidth = 0;
    for (const host::PanelRow& row : panel.rows) {
        labelWidth = std::max(labelWidth, row.label.size());
        symbolWidth = std::max(symbolWidth, row.symbol.size());
    }
    std::printf("Tag \"%s\" (type %d) on object \"%s\"\n", tag.name.c_str(), tag.type(), object.name.c_str());
    std::optional<std::string> group;
    for (const host::PanelRow& row : panel.rows) {
        if (!group || *group != row.group) {
            group = row.group;
            std::printf("\n%s\n", row.group.empty() ? "(no group)" : row.group.c_str());
        }
        std::string value = valueText(row, document);
        std::printf("  %-*s  %-*s  %s%s\n", static_cast<int>(labelWidth), row.label.c_str(),
                    static_cast<int>(symbolWidth), row.symbol.c_str(), value.c_str(),
                    row.enabled ? "" : "  [disabled]");
    }
}

void runDescribe(const DescribeOptions& options) {
    host::Session session(sessionOptions(options.common));
    startModule(session, options.common);
    // Declared after the session, so that its plug-in tags go before the module does.
    host::NodePtr document = host::loadDocumentFile(options.document, session.registry());
    HostNode& object = findObject(*document, options.object, options.document);
    HostNode& tag = findTag(object, options.tag, session.registry());
    const host::DescriptionResource* description = session.registry().description(tag.type());
    if (!description)
        throw CommandFailure("the tag " + tagTitle(tag) + " has no description to show");

    // Every edit is read before any is made, so a refused one leaves the document as it was.
    std::vector<Edit> edits;
    for (const std::string& given : options.edits) edits.push_back(readEdit(given, *description, *document));
    // The application draws a tag whenever it shows it: before the user can edit it, so a tag
    // that mirrors what it shows (the material helper) has done so when the edits arrive, and
    // again after them. The panel is text here: the tag gets a surface without pixels, which it
    // cannot paint on.
    HostSurface textPanel;
    host::drawTag(tag, textPanel);
    for (const Edit& edit : edits) host::editParameter(tag, edit.id, edit.value);
    if (!edits.empty()) host::drawTag(tag, textPanel);

    host::AttributePanel panel = host::attributePanel(tag, session.registry());
    if (!panel.described)
        throw CommandFailure("the tag " + tagTitle(tag) + " refused to describe itself" + diagnosticLines(session));
    if (!options.output.empty()) host::saveDocumentFile(*document, session.registry(), options.output);
    printPanel(panel, tag, object, *document);
    printWarnings(session);
}

} // namespace

void addDescribeCommand(CLI::App& cli) {
    auto options = std::make_shared<DescribeOptions>();
    CLI::App* command = cli.add_subcommand(
        "describe", "Show a tag's parameters as the application's attribute panel does, optionally after edits");
    command->add_option("DOCUMENT", options->document, "Document file (JSON) that holds the tag")->required();
    command->add_option("--object", options->object, "The object that carries the tag, by path (\"Studio/Ball\")")
        ->required()
        ->type_name("PATH");
    command->add_option("--tag", options->tag,
                        "The tag: its name, its plug-in's name, its description name or its type ID; the first "
                        "that matches")
        ->required()
        ->type_name("NAME|ID");
    command->add_option("--set", options->edits,
                        "Edit a parameter (symbolic name or ID) as the panel does; may be repeated, applied in order")
        ->type_name("KEY=VALUE")
        ->allow_extra_args(false);
    command->add_option("-o,--output", options->output, "Save the edited document to this document file")
        ->type_name("SAVED.json");
    addCommonOptions(*command, options->common);
    command->callback([options] { runDescribe(*options); });
}

} // namespace app
