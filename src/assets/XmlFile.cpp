#include "assets/XmlFile.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>

#include <tinyxml.h>

namespace {

const char byteOrderMark[] = "\xEF\xBB\xBF";

bool isSpace(char c) { return std::isspace(static_cast<unsigned char>(c)); }

// Whether `text` holds `prefix` at `at`; with `ignoreCase`, `prefix` is written in lower case.
bool startsWith(const std::string& text, size_t at, const char* prefix, bool ignoreCase = false) {
    for (; *prefix; ++prefix, ++at) {
        if (at >= text.size()) return false;
        const int c = static_cast<unsigned char>(text[at]);
        if ((ignoreCase ? std::tolower(c) : c) != *prefix) return false;
    }
    return true;
}

// Just past the first `terminator` from `from` on, or the end.
size_t skipPast(const std::string& text, size_t from, const char* terminator) {
    const size_t found = text.find(terminator, from);
    return found == std::string::npos ? text.size() : found + std::strlen(terminator);
}

// A character reference ("&#...;") makes the parser jump to the next ';' whatever lies between, so
// one that could jump over a tag or a closing quote would hide markup from the nesting scan.
bool referencesHideMarkup(const std::string& text) {
    const char markup[] = "<\"'";
    for (size_t at = text.find("&#"); at != std::string::npos;) {
        const size_t end = text.find(';', at);
        if (end == std::string::npos) return false;
        const auto last = text.begin() + end;
        if (std::find_first_of(text.begin() + at, last, markup, markup + 3) != last) return true;
        at = text.find("&#", end);  // a reference inside this one ends at the same ';'
    }
    return false;
}

// From after "<?xml" to past its '>'. Quoted values count there only after these three names; the
// parser reads over anything else up to white space or '>'.
size_t skipDeclaration(const std::string& text, size_t i) {
    while (i < text.size() && text[i] != '>') {
        if (startsWith(text, i, "version", true) || startsWith(text, i, "encoding", true) ||
            startsWith(text, i, "standalone", true)) {
            i = text.find('=', i);
            if (i == std::string::npos) return text.size();
            for (++i; i < text.size() && isSpace(text[i]); ++i) {}
            if (i < text.size() && (text[i] == '"' || text[i] == '\'')) {
                i = skipPast(text, i + 1, text[i] == '"' ? "\"" : "'");
                continue;
            }
        }
        while (i < text.size() && text[i] != '>' && !isSpace(text[i])) ++i;
        while (i < text.size() && isSpace(text[i])) ++i;
    }
    return i + 1;
}

// Follows the markup as the parser reads it byte by byte, to tell before it runs whether its
// elements, which it reads by recursion, nest deeper than `limit`. The parser gives up wholly at its
// first error, so the scan need only agree with it up to there.
bool nestsWithin(const std::string& text, int limit) {
    int depth = 0;
    for (size_t i = text.find('<'); i < text.size(); i = text.find('<', i)) {
        const unsigned char next = i + 1 < text.size() ? text[i + 1] : 0;
        if (startsWith(text, i, "<?xml", true)) {
            i = skipDeclaration(text, i + 5);
        } else if (startsWith(text, i, "<!--")) {
            i = skipPast(text, i + 4, "-->");
        } else if (startsWith(text, i, "<![CDATA[")) {
            i = skipPast(text, i + 9, "]]>");
        } else if (next >= 127 || std::isalpha(next) || next == '_') {
            if (++depth > limit) return false;
            // To the first '>' outside quoted values; "/>" ends the element there.
            for (++i; i < text.size() && text[i] != '>'; ++i) {
                if (text[i] == '"' || text[i] == '\'') i = std::min(text.find(text[i], i + 1), text.size() - 1);
            }
            if (i < text.size() && text[i - 1] == '/') --depth;
        } else {
            // An end tag, which outside every element is read over like any other markup here.
            if (next == '/' && depth > 0) --depth;
            i = skipPast(text, i + 1, ">");
        }
    }
    return true;
}

}  // namespace

bool parseXmlText(TiXmlDocument& document, const std::string& text) {
    std::string bounded = text.substr(0, text.find('\0'));  // all the parser sees
    if (bounded.compare(0, 3, byteOrderMark) == 0) bounded.erase(0, 3);  // else read as text below
    if (referencesHideMarkup(bounded) || !nestsWithin(bounded, maxXmlNesting)) return false;
    // Byte by byte, which keeps text as it is (a character reference gives one byte): read as UTF-8,
    // a lead byte would make the parser skip the bytes after it, over quotes, tags and the end.
    document.Parse(bounded.c_str(), nullptr, TIXML_ENCODING_LEGACY);
    return !document.Error();
}

bool loadXmlFile(TiXmlDocument& document, const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return parseXmlText(document, text);
}
