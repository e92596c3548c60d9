#include "records/DataFolder.h"

#include <cstdlib>

std::string playerDataFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/') return std::string(data) + "/vorbel-race";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.local/share/vorbel-race";
}
