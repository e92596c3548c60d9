#include "frontend/SettingsText.h"

#include <sstream>

#include "Circuit.h"

namespace {

const char* const windowName = "window";
const char* const fullScreenName = "full-screen";

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// A whole number written in decimal digits only, within [lowest, highest].
std::optional<int> wholeNumber(const std::string& text, int lowest, int highest) {
    const size_t mostDigits = 6;  // every bound here has fewer, so no digit string can overflow
    if (text.empty() || text.size() > mostDigits || text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const int value = std::stoi(text);
    if (value < lowest || value > highest) return std::nullopt;
    return value;
}

std::optional<bool> either(const std::string& value, const char* yes, const char* no) {
    if (value == yes) return true;
    if (value == no) return false;
    return std::nullopt;
}

// Sets the setting `name` from `value`; false when the value is not one it takes.
bool apply(PlayerSettings& settings, const std::string& name, const std::string& value) {
    std::optional<int> number;
    std::optional<bool> flag;
    if (name == "circuit") {
        if (!(number = wholeNumber(value, 0, Circuit::largestNumber))) return false;
        settings.circuit = *number;
    } else if (name == "laps") {
        if (!(number = wholeNumber(value, 1, RaceSettings::maxLaps))) return false;
        settings.race.laps = *number;
    } else if (name == "computer-drivers") {
        if (!(number = wholeNumber(value, 0, RaceSettings::maxComputerDrivers))) return false;
        settings.race.computerDrivers = *number;
    } else if (name == "pace") {
        const std::optional<Pace> pace = paceNamed(value);
        if (!pace) return false;
        settings.race.pace = *pace;
    } else if (name == "display") {
        if (!(flag = either(value, fullScreenName, windowName))) return false;
        settings.fullScreen = *flag;
    } else if (name == "volume") {
        if (!(number = wholeNumber(value, 0, SoundLevel::maxVolume))) return false;
        settings.sound.volume = *number;
    } else if (name == "sound") {
        if (!(flag = either(value, "off", "on"))) return false;
        settings.sound.muted = *flag;
    }
    return true;
}

}  // namespace

std::optional<PlayerSettings> SettingsText::read(const std::string& text, std::string& problem) {
    if (text.size() > largestText) {
        problem = "longer than " + std::to_string(largestText) + " bytes";
        return std::nullopt;
    }
    PlayerSettings settings;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        const std::string content = trimmed(line);
        if (content.empty() || content[0] == '#') continue;
        const size_t equals = content.find('=');
        const std::string name = equals == std::string::npos ? "" : trimmed(content.substr(0, equals));
        if (name.empty() || !apply(settings, name, trimmed(content.substr(equals + 1)))) {
            problem = "line " + std::to_string(number) + " is not a setting";
            return std::nullopt;
        }
    }
    return settings;
}

std::string SettingsText::write(const PlayerSettings& settings) {
    std::ostringstream text;
    text << "# Vorbel Race settings, kept by the game\n"
         << "circuit = " << settings.circuit << "\n"
         << "laps = " << settings.race.laps << "\n"
         << "computer-drivers = " << settings.race.computerDrivers << "\n"
         << "pace = " << paceName(settings.race.pace) << "\n"
         << "display = " << (settings.fullScreen ? fullScreenName : windowName) << "\n"
         << "volume = " << settings.sound.volume << "\n"
         << "sound = " << (settings.sound.muted ? "off" : "on") << "\n";
    return text.str();
}
