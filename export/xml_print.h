// The scene's elements printed into memory, byte for byte as TinyXML prints them into a file,
// without a formatted write for every name, attribute and text.
#pragma once

#include <string>

#include <tinyxml.h>

/// Appends `node` printed at `depth` (four spaces a level) to `out`. Throws std::bad_alloc when
/// memory runs out.
void PrintXml(const TiXmlNode& node, int depth, std::string& out);
