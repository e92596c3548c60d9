#include "assets/XmlFile.h"

#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>

#include <tinyxml.h>

namespace {

// The parser stops at the first NUL but, after an unterminated comment, section or quoted value,
// reads a few bytes past it; zeros there keep it inside the buffer.
const size_t terminatorPadding = 8;

bool isSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) || c == '\n' || c == '\r'; }
// The parser takes every byte from 127 up for a letter.
bool isNameStart(char c) {
    const unsigned char byte = static_cast<unsigned char>(c);
    return byte >= 127 || std::isalpha(byte) || c == '_';
}
bool isNameChar(char c) {
    const unsigned char byte = static_cast<unsigned char>(c);
    return byte >= 127 || std::isalnum(byte) || c == '_' || c == '-' || c == '.' || c == ':';
}

// Whether `text` holds `prefix` at `at`; with `ignoreCase`, `prefix` is written in lower case.
bool startsWithAt(const std::string& text, size_t at, const char* prefix, bool ignoreCase = false) {
    for (size_t k = 0; prefix[k]; ++k) {
        if (at + k >= text.size()) return false;
        const char c = text[at + k];
        if ((ignoreCase ? std::tolower(static_cast<unsigned char>(c)) : c) != prefix[k]) return false;
    }
    return true;
}

bool startsWithNoCase(const std::string& text, size_t at, const char* prefix) {
    return startsWithAt(text, at, prefix, true);
}

// Whether the declaration at `at` surely makes the parser read single bytes: it names an encoding
// other than UTF-8 (the last one it names counts). Followed as the parser reads it; anything it
// would read otherwise, or decode (character references), counts as UTF-8.
bool declaresSingleBytes(const std::string& text, size_t at) {
    std::string encoding;
    size_t i = at + 5;
    while (i < text.size() && text[i] != '>') {
        while (i < text.size() && isSpace(text[i])) ++i;
        const bool isEncoding = startsWithNoCase(text, i, "encoding");
        if (!isEncoding && !startsWithNoCase(text, i, "version") && !startsWithNoCase(text, i, "standalone")) {
            while (i < text.size() && text[i] != '>' && !isSpace(text[i])) ++i;
            continue;
        }
        while (i < text.size() && isNameChar(text[i])) ++i;
        while (i < text.size() && isSpace(text[i])) ++i;
        if (i >= text.size() || text[i] != '=') return false;
        ++i;
        while (i < text.size() && isSpace(text[i])) ++i;
        if (i >= text.size()) return false;
        const char quote = text[i];
        const bool quoted = quote == '"' || quote == '\'';
        const size_t begin = quoted ? i + 1 : i;
        size_t end = quoted ? text.find(quote, begin) : text.find_first_of(" \t\r\n/>", begin);
        if (end == std::string::npos) end = text.size();
        if (isEncoding) encoding = text.substr(begin, end - begin);
        i = quoted ? end + 1 : end;
    }
    const bool utf8 = encoding.empty() || encoding.find('&') != std::string::npos ||
                      startsWithNoCase(encoding, 0, "utf-8") || startsWithNoCase(encoding, 0, "utf8");
    return !utf8;
}

// Where the parser starts reading multi-byte characters: from the start after a byte-order mark,
// else from the first declaration on, unless the text opens with a declaration naming another
// encoding than UTF-8 (then every byte is a character of its own). Before any declaration it also
// reads single bytes. Anything less certain counts as multi-byte, the stricter reading.
size_t multiByteStart(const std::string& text) {
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) return 0;
    size_t first = 0;
    while (first < text.size() && isSpace(text[first])) ++first;
    if (startsWithNoCase(text, first, "<?xml")) return declaresSingleBytes(text, first) ? std::string::npos : first;
    for (size_t i = text.find("<?"); i != std::string::npos; i = text.find("<?", i + 1)) {
        if (startsWithNoCase(text, i, "<?xml")) return i;
    }
    return std::string::npos;
}

// Byte sequences the parser may read differently from the markup scan below: where it reads
// multi-byte characters, the bytes a lead byte makes it skip must hold no '<' or quote, and a
// byte-order mark (which it skips like white space) may only open the text.
bool readsAsScanned(const std::string& text) {
    for (size_t i = multiByteStart(text); i < text.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        const size_t length = byte >= 0xF5 ? 1 : byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC2 ? 2 : 1;
        for (size_t k = 1; k < length; ++k) {
            if (i + k >= text.size() || text[i + k] == '<' || text[i + k] == '"' || text[i + k] == '\'') return false;
        }
        if (i > 0 && byte == 0xEF && i + 2 < text.size()) {
            const unsigned char second = static_cast<unsigned char>(text[i + 1]);
            const unsigned char third = static_cast<unsigned char>(text[i + 2]);
            if ((second == 0xBB && third == 0xBF) || (second == 0xBF && (third == 0xBE || third == 0xBF))) return false;
        }
    }
    return true;
}

// Follows the markup the way the parser reads it, to find how deep its elements nest before the
// parser (which recurses per element) is run. Text inside comments, sections, declarations and
// quoted values opens and closes nothing. Where the parser would give up, the scan ends too.
class NestingScan {
public:
    explicit NestingScan(const std::string& text) : text(text) {}

    bool within(int limit) {
        if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) i = 3;
        int depth = 0;
        for (;;) {
            skipSpace();
            if (i >= text.size()) return true;
            if (text[i] != '<') {
                if (depth == 0) return true;  // the parser ends the document at text outside elements
                i = text.find('<', i);
                if (i == std::string::npos) return true;
            } else if (depth > 0 && startsWith("</")) {
                skipPast(i + 2, ">");
                --depth;
            } else if (startsWith("<?xml", true)) {
                if (!readDeclaration()) return true;
            } else if (startsWith("<!--")) {
                skipPast(i + 4, "-->");
            } else if (startsWith("<![CDATA[")) {
                skipPast(i + 9, "]]>");
            } else if (!startsWith("<!") && isNameStart(at(i + 1))) {
                if (depth + 1 > limit) return false;
                bool empty = false;
                if (!readStartTag(empty)) return true;
                if (!empty) ++depth;
            } else {
                skipPast(i + 1, ">");
            }
        }
    }

private:
    char at(size_t k) const { return k < text.size() ? text[k] : '\0'; }
    void skipSpace() {
        while (i < text.size() && isSpace(text[i])) ++i;
    }
    // Moves past the first `terminator` found from `from` on, or to the end.
    void skipPast(size_t from, const char* terminator) {
        const size_t found = text.find(terminator, from);
        i = found == std::string::npos ? text.size() : found + std::strlen(terminator);
    }
    bool startsWith(const char* prefix, bool ignoreCase = false) const {
        return startsWithAt(text, i, prefix, ignoreCase);
    }
    // name = value, the value quoted or not; false where the parser gives up.
    bool readAttribute() {
        if (!isNameStart(at(i))) return false;
        while (i < text.size() && isNameChar(text[i])) ++i;
        skipSpace();
        if (at(i) != '=') return false;
        ++i;
        skipSpace();
        const char quote = at(i);
        if (quote == '"' || quote == '\'') {
            const size_t close = text.find(quote, i + 1);
            if (close == std::string::npos) return false;
            i = close + 1;
        } else {
            for (; i < text.size() && !isSpace(text[i]) && text[i] != '/' && text[i] != '>'; ++i) {
                if (text[i] == '"' || text[i] == '\'') return false;
            }
        }
        return i < text.size();
    }
    // From '<' to the '>' of a start tag; `empty` tells "/>".
    bool readStartTag(bool& empty) {
        ++i;
        while (i < text.size() && isNameChar(text[i])) ++i;
        for (;;) {
            skipSpace();
            if (i >= text.size()) return false;
            if (text[i] == '/') {
                if (at(i + 1) != '>') return false;
                i += 2;
                empty = true;
                return true;
            }
            if (text[i] == '>') {
                ++i;
                return true;
            }
            if (!readAttribute()) return false;
        }
    }
    // Only the version, encoding and standalone values are read as quoted values there.
    bool readDeclaration() {
        i += 5;
        while (i < text.size()) {
            if (text[i] == '>') {
                ++i;
                return true;
            }
            skipSpace();
            if (i >= text.size()) return false;
            if (startsWith("version", true) || startsWith("encoding", true) || startsWith("standalone", true)) {
                if (!readAttribute()) return false;
            } else {
                while (i < text.size() && text[i] != '>' && !isSpace(text[i])) ++i;
            }
        }
        return false;
    }

    const std::string& text;
    size_t i = 0;
};

}  // namespace

bool parseXmlText(TiXmlDocument& document, const std::string& text) {
    std::string bounded = text.substr(0, text.find('\0'));  // all the parser sees
    if (!readsAsScanned(bounded) || !NestingScan(bounded).within(maxXmlNesting)) return false;
    bounded.append(terminatorPadding, '\0');
    document.Parse(bounded.c_str());
    return !document.Error();
}

bool loadXmlFile(TiXmlDocument& document, const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return parseXmlText(document, text);
}
