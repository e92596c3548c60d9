#include "input/PadMappings.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <string_view>

#include "storage/PlayerFile.h"

namespace {

enum class Line { mapping, elsewhere, nothing, unusable };

const size_t guidLength = 32;
const size_t maxNameBytes = 127;  // GLFW's limit
const size_t maxIndexDigits = 3;  // an axis or a button up to 999; a hat up to 99, its bit up to 99

// The fields GLFW reads as an input of the joystick: the others it steps over.
const std::string_view elementFields[] = {
    "a", "b", "x", "y", "back", "start", "guide", "leftshoulder", "rightshoulder", "leftstick", "rightstick",
    "dpup", "dpright", "dpdown", "dpleft", "lefttrigger", "righttrigger", "leftx", "lefty", "rightx", "righty"};

bool isNumber(std::string_view text, size_t maxDigits) {
    return !text.empty() && text.size() <= maxDigits &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// An input of the joystick as GLFW reads it: an optional half (+ or -), then an axis (a0, inverted
// with a trailing ~), a button (b0) or a hat's bit (h0.1).
bool isElement(std::string_view value) {
    if (!value.empty() && (value[0] == '+' || value[0] == '-')) value.remove_prefix(1);
    if (value.size() < 2) return false;
    const char kind = value[0];
    value.remove_prefix(1);
    if (kind == 'a' && value.back() == '~') value.remove_suffix(1);
    if (kind == 'a' || kind == 'b') return isNumber(value, maxIndexDigits);
    const size_t dot = value.find('.');
    return kind == 'h' && dot != std::string_view::npos && isNumber(value.substr(0, dot), 2) &&
           isNumber(value.substr(dot + 1), 2);
}

Line classify(std::string_view line) {
    if (line.find_first_not_of(" \t") == std::string_view::npos || line[0] == '#') return Line::nothing;
    // A control character (a NUL above all) would end or split the line where GLFW reads it.
    if (line.size() > PadMappings::maxLineBytes ||
        std::any_of(line.begin(), line.end(), [](char c) { return (c >= 0 && c < ' ') || c == 127; })) {
        return Line::unusable;
    }
    const size_t guidEnd = line.find(',');
    if (guidEnd != guidLength || !std::all_of(line.begin(), line.begin() + guidLength, [](char c) {
            return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        })) {
        return Line::unusable;
    }
    const size_t nameEnd = line.find(',', guidEnd + 1);
    if (nameEnd == std::string_view::npos || nameEnd - guidEnd - 1 > maxNameBytes) return Line::unusable;
    Line kind = Line::mapping;
    for (size_t start = nameEnd + 1; start < line.size();) {
        const size_t end = std::min(line.find(',', start), line.size());
        const std::string_view field = line.substr(start, end - start);
        start = end + 1;
        if (field.empty()) continue;
        const size_t colon = field.find(':');
        // GLFW gives up on a line with output halves (+leftx:) and on a field without a value.
        if (colon == std::string_view::npos || colon == 0 || field[0] == '+' || field[0] == '-') return Line::unusable;
        const std::string_view key = field.substr(0, colon), value = field.substr(colon + 1);
        if (key == "platform") {
            if (value != "Linux") kind = Line::elsewhere;
        } else if (std::find(std::begin(elementFields), std::end(elementFields), key) != std::end(elementFields) &&
                   !isElement(value)) {
            return Line::unusable;
        }
    }
    return kind;
}

void report(const std::string& origin, int leftOut) {
    if (leftOut > 0) {
        std::cerr << "gamepad mappings: " << origin << ": " << leftOut << (leftOut == 1 ? " line" : " lines")
                  << " left out (not mappings GLFW reads safely, or beyond the first "
                  << PadMappings::maxMappings << ")" << std::endl;
    }
}

}  // namespace

int PadMappings::add(const std::string& text) {
    int leftOut = 0;
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line(text.data() + start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const Line kind = classify(line);
        if (kind == Line::unusable || (kind == Line::mapping && mappings == maxMappings)) {
            ++leftOut;
        } else if (kind == Line::mapping) {
            kept.append(line).push_back('\n');
            ++mappings;
        }
    }
    return leftOut;
}

void PadMappings::addPlayers(const std::string& folder) {
    if (!folder.empty()) {
        const PlayerFile file(folder + "/" + fileName);
        std::string error;  // none when there is no file, the usual case
        if (const std::optional<std::string> text = file.read(maxBytes, error)) {
            report(file.path(), add(*text));
        } else if (!error.empty()) {
            std::cerr << "gamepad mappings: " << file.path() << ": not read (" << error << ")" << std::endl;
        }
    }
    // The kernel passes no variable longer than 128 KiB to a program.
    if (const char* variable = std::getenv(variableName)) report(variableName, add(variable));
}
