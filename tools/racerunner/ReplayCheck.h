#pragma once

#include <string>

// Runs a replay file's race again without a window and says whether it comes out as recorded.
class ReplayCheck {
public:
    // `mediaPrefix`: the folder holding the replay's circuit; "" generates the circuit for the check.
    ReplayCheck(std::string path, std::string mediaPrefix) : path(std::move(path)), mediaPrefix(std::move(mediaPrefix)) {}

    // Prints every kart's standing and time and the verdict; 0 when every check value matched and the
    // player's times are those recorded, 1 otherwise, or when the file cannot be checked at all.
    int run() const;

private:
    std::string path;
    std::string mediaPrefix;
};
