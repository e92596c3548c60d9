#pragma once

#include <string>

class TiXmlDocument;

// Parses an XML file into `document`, byte by byte whatever encoding it declares. Text nested deeper
// than the parser's recursion can take is refused before parsing. Returns false when the file
// cannot be read or parsed.
bool loadXmlFile(TiXmlDocument& document, const std::string& path);
bool parseXmlText(TiXmlDocument& document, const std::string& text);

// Deepest element nesting the readers accept; real files stay far below it.
constexpr int maxXmlNesting = 200;
