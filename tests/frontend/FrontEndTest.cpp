#include <string>

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include "frontend/FrontEnd.h"
#include "frontend/MenuKeys.h"

namespace {

using Screen = FrontEnd::Screen;
using Request = FrontEnd::Request;

// Plays a script of actions, one character each: digits, < > ^ v for the arrows, E Enter, X Escape,
// B Backspace, ? random. Returns the request of the last action.
Request play(FrontEnd& frontEnd, const std::string& script) {
    Request request = Request::none;
    for (char c : script) {
        MenuAction action{MenuAction::digit, c - '0'};
        const std::string symbols = "<>^vEXB?";
        const MenuAction::Kind kinds[] = {MenuAction::left,   MenuAction::right, MenuAction::up,
                                          MenuAction::down,   MenuAction::choose, MenuAction::back,
                                          MenuAction::backspace, MenuAction::random};
        if (symbols.find(c) != std::string::npos) action.kind = kinds[symbols.find(c)];
        request = frontEnd.handle(action);
    }
    return request;
}

struct Script {
    const char* keys;
    Screen screen;
    int row;
    const char* field;  // the circuit field's digits
    int circuit;
    int laps, drivers;
    Pace pace;
    Request request;
};

// From the defaults, with circuit 42 shown at the start.
TEST(FrontEnd, ScriptedActionsGiveTheScreenRowAndChoices) {
    const Pace normal = Pace::normal;
    const Script scripts[] = {
        // Typing replaces the number shown, then adds to it; a sixth digit does not fit.
        {"7", Screen::circuit, 0, "7", 7, 5, 7, normal, Request::none},
        {"1234567", Screen::circuit, 0, "12345", 12345, 5, 7, normal, Request::none},
        {"99B", Screen::circuit, 0, "9", 9, 5, 7, normal, Request::none},
        // An empty field keeps the last circuit and cannot be chosen; the next number starts from 0.
        {"BBE", Screen::circuit, 0, "", 4, 5, 7, normal, Request::none},
        {"BB>", Screen::circuit, 0, "0", 0, 5, 7, normal, Request::none},
        // Previous and next wrap round the whole range; a digit then replaces the number again.
        {"5<<", Screen::circuit, 0, "3", 3, 5, 7, normal, Request::none},
        {"0<", Screen::circuit, 0, "99999", 99999, 5, 7, normal, Request::none},
        {"0<>>3", Screen::circuit, 0, "3", 3, 5, 7, normal, Request::none},
        {"v", Screen::circuit, 1, "42", 42, 5, 7, normal, Request::none},
        {"v7", Screen::circuit, 0, "7", 7, 5, 7, normal, Request::none},
        {"X", Screen::circuit, 0, "42", 42, 5, 7, normal, Request::quit},
        // Enter goes on to the race on the start row; the values stop at their ends.
        {"E", Screen::race, 3, "42", 42, 5, 7, normal, Request::none},
        {"E^^<<<<^<<<<<<", Screen::race, 0, "42", 42, 1, 3, normal, Request::none},
        {"E^^^>>>>>v<<<<<<<<", Screen::race, 1, "42", 42, 9, 0, normal, Request::none},
        {"E^<<<", Screen::race, 2, "42", 42, 5, 7, Pace::relaxed, Request::none},
        {"E^>>>", Screen::race, 2, "42", 42, 5, 7, Pace::fast, Request::none},
        {"E^^<E", Screen::race, 1, "42", 42, 5, 6, normal, Request::startRace},
        {"E^^<X", Screen::circuit, 0, "42", 42, 5, 6, normal, Request::none},
        {"E^^<B", Screen::circuit, 0, "42", 42, 5, 6, normal, Request::none},
        // Settings and keys lead back to where they were entered from.
        {"vEX", Screen::circuit, 1, "42", 42, 5, 7, normal, Request::none},
        {"vE^E", Screen::keys, 0, "42", 42, 5, 7, normal, Request::none},
        {"vE^EE", Screen::settings, 3, "42", 42, 5, 7, normal, Request::none},
    };
    for (const Script& script : scripts) {
        PlayerSettings settings;
        settings.circuit = 42;
        FrontEnd frontEnd(settings, 1);
        const Request request = play(frontEnd, script.keys);
        const RaceSettings& race = frontEnd.settings().race;
        SCOPED_TRACE(script.keys);
        EXPECT_EQ(frontEnd.screen(), script.screen);
        EXPECT_EQ(frontEnd.row(), script.row);
        EXPECT_EQ(frontEnd.circuitText(), script.field);
        EXPECT_EQ(frontEnd.settings().circuit, script.circuit);
        EXPECT_EQ(race.laps, script.laps);
        EXPECT_EQ(race.computerDrivers, script.drivers);
        EXPECT_EQ(race.pace, script.pace);
        EXPECT_EQ(request, script.request);
    }
}

TEST(FrontEnd, SettingsScreenChangesDisplayVolumeAndSound) {
    FrontEnd frontEnd(PlayerSettings(), 1);
    play(frontEnd, "vE>v>>>>v<");
    EXPECT_FALSE(frontEnd.settings().fullScreen);
    EXPECT_EQ(frontEnd.settings().sound.volume, 100);
    EXPECT_TRUE(frontEnd.settings().sound.muted);
    play(frontEnd, "^<<<<<<<<<<<v>");
    EXPECT_EQ(frontEnd.settings().sound.volume, 0);
    EXPECT_FALSE(frontEnd.settings().sound.muted);
}

TEST(FrontEnd, RandomCircuitsAndTheReturnFromARace) {
    FrontEnd frontEnd(PlayerSettings(), 7);
    play(frontEnd, "?");
    const int first = frontEnd.settings().circuit;
    play(frontEnd, "?");
    EXPECT_NE(frontEnd.settings().circuit, first);
    EXPECT_EQ(frontEnd.circuitText(), std::to_string(frontEnd.settings().circuit));
    // After a race the circuit screen is back, and a digit starts a new number.
    play(frontEnd, "E^<E");
    frontEnd.returnFromRace();
    EXPECT_EQ(frontEnd.screen(), Screen::circuit);
    play(frontEnd, "8");
    EXPECT_EQ(frontEnd.circuitText(), "8");
}

TEST(MenuKeys, HeldKeysRepeatMovesButNotChoices) {
    struct Case {
        int key, action;
        std::optional<MenuAction::Kind> kind;
    } cases[] = {{GLFW_KEY_KP_7, GLFW_PRESS, MenuAction::digit}, {GLFW_KEY_RIGHT, GLFW_REPEAT, MenuAction::right},
                 {GLFW_KEY_ENTER, GLFW_PRESS, MenuAction::choose}, {GLFW_KEY_ENTER, GLFW_REPEAT, std::nullopt},
                 {GLFW_KEY_ESCAPE, GLFW_REPEAT, std::nullopt},      {GLFW_KEY_UP, GLFW_RELEASE, std::nullopt},
                 {'R', GLFW_PRESS, MenuAction::random},              {'Q', GLFW_PRESS, std::nullopt}};
    for (const Case& c : cases) {
        const std::optional<MenuAction> action = MenuKeys::action(c.key, c.action);
        EXPECT_EQ(action.has_value(), c.kind.has_value()) << c.key;
        if (action && c.kind) {
            EXPECT_EQ(action->kind, *c.kind) << c.key;
        }
    }
    EXPECT_EQ(MenuKeys::action(GLFW_KEY_KP_7, GLFW_PRESS)->number, 7);
}

}  // namespace
