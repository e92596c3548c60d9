#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "frontend/PlayerSettings.h"

// The settings file's text: a comment line, then one "name = value" a line (circuit, laps,
// computer-drivers, pace, display, volume, sound). Read with the distrust of any outside file.
class SettingsText {
public:
    static constexpr size_t largestText = 4096;  // bytes; a longer file is none of ours

    // The settings the text gives, the defaults for names it lacks; names it does not know are
    // passed over, as a newer game may write more. Empty, with `problem` saying why, for text that
    // is not such a file: too long, a line without "=", a value out of its range.
    static std::optional<PlayerSettings> read(const std::string& text, std::string& problem);
    static std::string write(const PlayerSettings& settings);
};
