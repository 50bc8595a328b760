#include "host/resources/description_resource.h"

#include <array>
#include <unordered_map>
#include <utility>

#include "host/resources/resource_error.h"
#include "host/resources/resource_layout.h"
#include "host/resources/resource_lexer.h"
#include "host/resources/string_table.h"

namespace host {

using detail::Token;
using Line = std::vector<Token>;

namespace {

constexpr std::array<std::pair<ParameterType, const char*>, 7> kTypeNames{{
    {ParameterType::Bool, "BOOL"},
    {ParameterType::Long, "LONG"},
    {ParameterType::Real, "REAL"},
    {ParameterType::Vector, "VECTOR"},
    {ParameterType::Filename, "FILENAME"},
    {ParameterType::Link, "LINK"},
    {ParameterType::Choice, "CHOICE"},
}};

} // namespace

const char* parameterTypeName(ParameterType type) {
    for (const auto& [value, name] : kTypeNames)
        if (value == type) return name;
    return "?";
}

std::optional<ParameterType> parameterTypeFromName(std::string_view keyword) {
    for (const auto& [value, name] : kTypeNames)
        if (keyword == name) return value;
    return std::nullopt;
}

DescriptionResource::DescriptionResource(std::string name, int32_t id, SymbolHeader symbols,
                                         std::vector<DescriptionGroup> groups,
                                         std::vector<DescriptionParameter> parameters)
    : name_(std::move(name)), id_(id), symbols_(std::move(symbols)), groups_(std::move(groups)),
      parameters_(std::move(parameters)) {
    for (std::size_t i = 0; i < parameters_.size(); ++i) index_.emplace(parameters_[i].id, i);
}

std::optional<int32_t> DescriptionResource::findSymbol(std::string_view symbol) const {
    return symbols_.find(symbol);
}

const DescriptionParameter* DescriptionResource::find(int32_t id) const {
    const auto it = index_.find(id);
    return it == index_.end() ? nullptr : &parameters_[it->second];
}

const DescriptionParameter* DescriptionResource::findParameter(std::string_view symbol) const {
    const auto id = symbols_.find(symbol);
    return id ? find(*id) : nullptr;
}

namespace {

// Parses the .res file line by line; labels are filled in afterwards, so that a missing label
// can be reported at the line that uses the symbol.
class DescriptionParser {
public:
    DescriptionParser(const std::filesystem::path& file, const std::string& name,
                      const SymbolHeader& symbols)
        : file_(file), name_(name), symbols_(symbols) {}

    void run(std::vector<Line> lines) {
        lines_ = std::move(lines);
        if (lines_.empty()) fail(0, "holds no description (expected 'DESCRIPTION " + name_ + "')");
        const Line& head = next();
        if (!head[0].isWord("DESCRIPTION"))
            fail(head[0].line, "expected 'DESCRIPTION " + name_ + "', found " + detail::quoted(head[0]));
        const bool braceOnLine = head.back().is('{');
        const std::size_t words = head.size() - (braceOnLine ? 1 : 0);
        if (words < 2) fail(head[0].line, "missing the name after DESCRIPTION");
        if (words > 2) fail(head[0].line, "unexpected " + detail::quoted(head[2]) + " after the description's name");
        if (head[1].text != name_)
            fail(head[0].line, "description is named " + head[1].text + ", expected " + name_);
        openBlock(head, braceOnLine);
        readBlock(head[0].line, "DESCRIPTION " + name_, "");
        if (pos_ < lines_.size())
            fail(lines_[pos_][0].line, "unexpected " + detail::quoted(lines_[pos_][0]) +
                                           " after the end of the description");
    }

    std::vector<DescriptionGroup> groups;
    std::vector<DescriptionParameter> parameters;
    // Every symbol that needs a label, with the line that uses it.
    std::vector<std::pair<int32_t, int>> labelled;

private:
    [[noreturn]] void fail(int line, const std::string& problem) const {
        throw ResourceError(file_, line, problem);
    }

    const Line& next() { return lines_[pos_++]; }

    // The '{' of a block: at the end of the opening line, or alone on the next line.
    void openBlock(const Line& opener, bool braceOnLine) {
        if (braceOnLine) return;
        if (pos_ < lines_.size() && lines_[pos_].size() == 1 && lines_[pos_][0].is('{')) {
            ++pos_;
            return;
        }
        fail(opener[0].line, "missing '{' after " + opener[0].text + " " +
                                 (opener.size() > 1 ? opener[1].text : std::string()));
    }

    // Reads lines up to the matching '}' line.
    void readBlock(int openLine, const std::string& what, const std::string& group) {
        while (true) {
            if (pos_ >= lines_.size())
                fail(openLine, "missing '}' to close " + what + " opened here");
            const Line& line = next();
            const Token& first = line[0];
            if (first.is('}')) {
                if (line.size() > 1) fail(first.line, "unexpected " + detail::quoted(line[1]) + " after '}'");
                return;
            }
            if (first.isWord("GROUP")) {
                readGroup(line, group);
                continue;
            }
            if (first.kind != Token::Kind::Word)
                fail(first.line, "expected a parameter type or GROUP, found " + detail::quoted(first));
            const auto type = parameterTypeFromName(first.text);
            if (!type)
                fail(first.line, "unknown parameter type '" + first.text +
                                     "' (expected BOOL, LONG, REAL, VECTOR, FILENAME, LINK, CHOICE or GROUP)");
            readParameter(line, *type, group);
        }
    }

    int32_t resolve(const Token& token, const char* role) {
        if (token.kind != Token::Kind::Word || !detail::isIdentifier(token.text))
            fail(token.line, std::string("expected the symbol of ") + role + ", found " + detail::quoted(token));
        const auto id = symbols_.find(token.text);
        if (!id)
            fail(token.line, "undefined symbol " + token.text + " (not declared in " +
                                 symbols_.file().filename().string() + ")");
        return *id;
    }

    // Groups and parameters share one space of entry IDs.
    void claimEntry(int32_t id, const Token& symbol) {
        const auto [it, fresh] = entryLines_.emplace(id, symbol.line);
        if (!fresh)
            fail(symbol.line, "duplicate ID " + std::to_string(id) + ": " + symbol.text +
                                  " is already declared at line " + std::to_string(it->second));
    }

    void readGroup(const Line& line, const std::string& parent) {
        const bool braceOnLine = line.back().is('{');
        const std::size_t words = line.size() - (braceOnLine ? 1 : 0);
        if (words < 2) fail(line[0].line, "missing the symbol after GROUP");
        if (words > 2) fail(line[0].line, "unexpected " + detail::quoted(line[2]) + " after GROUP " + line[1].text);
        const int32_t id = resolve(line[1], "a group");
        claimEntry(id, line[1]);
        groups.push_back({id, line[1].text, {}, parent});
        labelled.emplace_back(id, line[1].line);
        openBlock(line, braceOnLine);
        readBlock(line[0].line, "GROUP " + line[1].text, line[1].text);
    }

    void readParameter(const Line& line, ParameterType type, const std::string& group) {
        if (line.size() < 2) fail(line[0].line, std::string("missing the symbol after ") + line[0].text);
        DescriptionParameter parameter;
        parameter.type = type;
        parameter.id = resolve(line[1], "a parameter");
        parameter.symbol = line[1].text;
        parameter.group = group;
        parameter.line = line[0].line;
        claimEntry(parameter.id, line[1]);
        labelled.emplace_back(parameter.id, line[1].line);

        std::size_t end = line.size();
        const bool braceOnLine = type == ParameterType::Choice && line.back().is('{');
        if (braceOnLine) --end;
        readOptions(line, 2, end, parameter);
        if (type == ParameterType::Choice) {
            openBlock(line, braceOnLine);
            readChoices(line[0].line, parameter);
        }
        parameters.push_back(std::move(parameter));
    }

    void readOptions(const Line& line, std::size_t from, std::size_t to, DescriptionParameter& parameter) {
        const bool numeric = parameter.type == ParameterType::Long || parameter.type == ParameterType::Real;
        for (std::size_t i = from; i < to; i += 2) {
            const Token& option = line[i];
            const bool isMin = option.isWord("MIN");
            if (!isMin && !option.isWord("MAX"))
                fail(option.line, "unknown option " + detail::quoted(option) + " of " + parameter.symbol +
                                      (numeric ? " (expected MIN or MAX)" : " (it takes no options)"));
            if (!numeric)
                fail(option.line, option.text + " is allowed only on LONG and REAL, not on " +
                                      parameterTypeName(parameter.type));
            if (i + 1 >= to) fail(option.line, option.text + " of " + parameter.symbol + " needs a number");
            const Token& value = line[i + 1];
            std::optional<double> number;
            if (value.kind == Token::Kind::Word && parameter.type == ParameterType::Long) {
                if (const auto integer = detail::parseInt32(value.text)) number = *integer;
            } else if (value.kind == Token::Kind::Word) {
                number = detail::parseReal(value.text);
            }
            if (!number)
                fail(value.line, option.text + " of " + parameter.symbol + " must be " +
                                     (parameter.type == ParameterType::Long ? "an integer" : "a number") +
                                     ", found " + detail::quoted(value));
            auto& slot = isMin ? parameter.min : parameter.max;
            if (slot) fail(option.line, option.text + " of " + parameter.symbol + " is given twice");
            slot = number;
        }
        if (parameter.min && parameter.max && *parameter.min > *parameter.max)
            fail(line[0].line, "MIN of " + parameter.symbol + " is greater than its MAX");
    }

    void readChoices(int openLine, DescriptionParameter& parameter) {
        std::unordered_map<int32_t, int> codeLines;
        while (true) {
            if (pos_ >= lines_.size())
                fail(openLine, "missing '}' to close CHOICE " + parameter.symbol + " opened here");
            const Line& line = next();
            if (line[0].is('}')) {
                if (line.size() > 1) fail(line[0].line, "unexpected " + detail::quoted(line[1]) + " after '}'");
                break;
            }
            if (line.size() > 1)
                fail(line[0].line, "unexpected " + detail::quoted(line[1]) + " after the choice " + line[0].text +
                                       " (one choice per line)");
            const int32_t code = resolve(line[0], "a choice");
            if (const auto [it, fresh] = codeLines.emplace(code, line[0].line); !fresh)
                fail(line[0].line, "duplicate choice code " + std::to_string(code) + " in " + parameter.symbol +
                                       " (first at line " + std::to_string(it->second) + ")");
            parameter.choices.push_back({code, line[0].text, {}});
            labelled.emplace_back(code, line[0].line);
        }
        if (parameter.choices.empty()) fail(openLine, "CHOICE " + parameter.symbol + " lists no choices");
    }

    const std::filesystem::path& file_;
    const std::string& name_;
    const SymbolHeader& symbols_;
    std::vector<Line> lines_;
    std::size_t pos_ = 0;
    std::unordered_map<int32_t, int> entryLines_;
};

} // namespace

DescriptionResource loadDescription(const std::filesystem::path& moduleFolder, const std::string& name) {
    SymbolHeader symbols = loadSymbolHeader(symbolHeaderFile(moduleFolder, name));
    const auto ownId = symbols.find(name);
    if (!ownId) throw ResourceError(symbols.file(), 0, "does not declare the description's own ID " + name);

    const auto resFile = descriptionFile(moduleFolder, name);
    DescriptionParser parser(resFile, name, symbols);
    parser.run(detail::groupByLine(detail::tokenizeFile(resFile)));

    const auto strFile = labelFile(moduleFolder, name);
    const StringTable labels = loadLabelFile(strFile, name, symbols);
    for (const auto& [id, line] : parser.labelled)
        if (!labels.contains(id))
            throw ResourceError(resFile, line, symbols.byId(id)->name + " has no label in " +
                                                   strFile.filename().string());

    for (auto& group : parser.groups) group.label = labels.text(group.id);
    for (auto& parameter : parser.parameters) {
        parameter.label = labels.text(parameter.id);
        for (auto& choice : parameter.choices) choice.label = labels.text(choice.code);
    }
    return DescriptionResource(name, *ownId, std::move(symbols), std::move(parser.groups),
                               std::move(parser.parameters));
}

} // namespace host
