#pragma once

#include <optional>
#include <string>

#include "frontend/PlayerSettings.h"

// The player's settings, kept in a file of their own from one start to the next. Never lost to a
// crash or a kill: a new file is written beside the old one and renamed over it. A file the game
// cannot read as settings is never overwritten: it is renamed aside for the player to look at.
class SettingsStore {
public:
    static constexpr const char* fileName = "settings";

    // Settings kept in `folder` (the player's config folder; "" keeps nothing).
    explicit SettingsStore(std::string folder) : folder(std::move(folder)) {}

    // The kept settings; the defaults when there are none. A file that cannot be read as settings
    // gives one console line and the defaults, and is renamed to settings.unreadable-N.
    PlayerSettings load();
    // Keeps `settings` unless the file holds them already: written to a temporary file in the same
    // folder, flushed to the disk and renamed over the file. False after one console line.
    bool save(const PlayerSettings& settings);

    std::string path() const { return folder + "/" + fileName; }

private:
    // Renames an unreadable file aside; false when it stays where it is.
    bool setAside(const std::string& why);

    std::string folder;
    std::optional<PlayerSettings> kept;  // what the file holds, as far as this game knows
    bool writable = true;                // false while an unreadable file could not be set aside
};
