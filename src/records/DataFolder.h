#pragma once

#include <string>

// The folder of what the player keeps: "$XDG_DATA_HOME/vorbel-race", or "~/.local/share/vorbel-race"
// when that is unset, empty or relative. Not created here.
std::string playerDataFolder();
