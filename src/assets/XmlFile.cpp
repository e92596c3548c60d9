#include "assets/XmlFile.h"

#include <fstream>
#include <iterator>

#include <tinyxml.h>

namespace {

// Upper bound of the element nesting: every '<' that may open an element counts one level,
// every "</" and "/>" closes one. Overcounting only makes the check stricter.
bool nestingWithin(const std::string& text, int limit) {
    int depth = 0;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '<') {
            const char next = text[i + 1];
            if (next == '/') {
                --depth;
            } else if (next != '!' && next != '?') {
                if (++depth > limit) return false;
            }
        } else if (text[i] == '/' && text[i + 1] == '>') {
            --depth;
        }
        if (depth < 0) depth = 0;
    }
    return true;
}

}  // namespace

bool parseXmlText(TiXmlDocument& document, const std::string& text) {
    if (!nestingWithin(text, maxXmlNesting)) return false;
    document.Parse(text.c_str());
    return !document.Error();
}

bool loadXmlFile(TiXmlDocument& document, const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return parseXmlText(document, text);
}
