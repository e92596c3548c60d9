#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "storage/PlayerFolders.h"

namespace {

void setOrUnset(const char* name, const char* value) { value ? setenv(name, value, 1) : unsetenv(name); }

// A relative XDG folder would put the player's files wherever the game was started; without an
// absolute home there is nowhere to keep them (not the root folder).
TEST(PlayerFolders, FollowTheXdgVariablesOnlyWhenAbsolute) {
    const struct {
        const char* xdg;
        const char* home;
        const char* config;
        const char* data;
    } cases[] = {{"/x", "/home/a", "/x/vorbel-race", "/x/vorbel-race"},
                 {"relative", "/home/a", "/home/a/.config/vorbel-race", "/home/a/.local/share/vorbel-race"},
                 {"", "/home/a", "/home/a/.config/vorbel-race", "/home/a/.local/share/vorbel-race"},
                 {nullptr, "/home/a", "/home/a/.config/vorbel-race", "/home/a/.local/share/vorbel-race"},
                 {nullptr, "home", "", ""},
                 {nullptr, nullptr, "", ""}};
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    for (const auto& c : cases) {
        setOrUnset("XDG_CONFIG_HOME", c.xdg);
        setOrUnset("XDG_DATA_HOME", c.xdg);
        setOrUnset("HOME", c.home);
        EXPECT_EQ(playerConfigFolder(), c.config);
        EXPECT_EQ(playerDataFolder(), c.data);
    }
    setenv("HOME", savedHome.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("XDG_DATA_HOME");
}

}  // namespace
