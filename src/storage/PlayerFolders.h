#pragma once

#include <string>

// The folders of what the player keeps, by the XDG base directories: "$XDG_CONFIG_HOME/vorbel-race"
// (settings, pad mappings) and "$XDG_DATA_HOME/vorbel-race" (records, replays), or under
// "~/.config" and "~/.local/share" when the variable is unset, empty or relative. "" when there is
// no absolute home either: then nothing is kept. Not created here.
std::string playerConfigFolder();
std::string playerDataFolder();
