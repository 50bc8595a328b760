// How deep a scene file's elements nest, found before TinyXML parses it: TinyXML goes down one
// call per level, so a file of a few hundred kilobytes that nests 100,000 deep would overflow the
// stack.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace host {

/// Scene files nest a few levels; this many is refused.
constexpr std::size_t maxElementDepth = 1000;

/// Throws HostError "FILE: line L: elements nest deeper than 1000 levels" naming the line of the
/// first element below the limit. Comments, CDATA sections, declarations and quoted attribute
/// values are passed over; text that is not XML is left to the parser to refuse.
void checkElementNesting(const std::string& text, const std::filesystem::path& file);

} // namespace host
