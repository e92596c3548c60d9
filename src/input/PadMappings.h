#pragma once

#include <string>

// Game controller mappings from outside the game, in SDL's text format (a GUID, a name, then fields
// such as a:b0 or leftx:a0), for GLFW to add to its own: those of gamecontrollerdb.txt in the
// player's settings folder and of the SDL_GAMECONTROLLERCONFIG variable. GLFW takes any text and says
// it succeeded, reads past the end of a line that ends in a hat without its numbers, and looks
// through all its mappings for each line it adds; so only whole mappings for this system whose every
// button and axis reads as GLFW reads it go on to GLFW, and no more than maxMappings of them.
class PadMappings {
public:
    static constexpr const char* fileName = "gamecontrollerdb.txt";
    static constexpr const char* variableName = "SDL_GAMECONTROLLERCONFIG";
    static constexpr size_t maxBytes = 1 << 20;   // of the file: a longer one is not read
    static constexpr size_t maxLineBytes = 1023;  // GLFW skips longer lines
    static constexpr int maxMappings = 2048;      // SDL's collection holds some hundreds for Linux

    // Adds the mappings of `text` for this system or for any; returns how many lines it left out,
    // besides blank lines, comments and mappings for other systems.
    int add(const std::string& text);
    // Adds the file's mappings from `folder` ("" for none), then the variable's, which override the
    // file's for the same pad. One console line for a source that could not be read or had lines
    // left out.
    void addPlayers(const std::string& folder);

    // The mappings kept, one a line.
    const std::string& text() const { return kept; }
    int count() const { return mappings; }

private:
    std::string kept;
    int mappings = 0;
};
