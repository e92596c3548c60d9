#include "storage/PlayerFolders.h"

#include <cstdlib>

namespace {

std::string folderOf(const char* variable, const char* underHome) {
    const char* base = std::getenv(variable);
    if (base && base[0] == '/') return std::string(base) + "/vorbel-race";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return std::string(home) + underHome + "/vorbel-race";
    return "";
}

}  // namespace

std::string playerConfigFolder() { return folderOf("XDG_CONFIG_HOME", "/.config"); }

std::string playerDataFolder() { return folderOf("XDG_DATA_HOME", "/.local/share"); }
