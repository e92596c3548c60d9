#include "frontend/FrontEnd.h"

#include <algorithm>

#include "Circuit.h"

namespace {

const size_t mostDigits = std::to_string(Circuit::largestNumber).size();

// `value` one step towards the side of `action` (Left lower, Right higher), kept within its bounds.
int stepped(int value, const MenuAction& action, int lowest, int highest, int step = 1) {
    const int next = value + (action.kind == MenuAction::left ? -step : step);
    return std::max(lowest, std::min(highest, next));
}

}  // namespace

FrontEnd::FrontEnd(const PlayerSettings& settings, uint32_t randomSeed)
    : choices(settings), randomDraws(randomSeed) {
    showCircuit(choices.circuit);
}

FrontEnd::Request FrontEnd::handle(const MenuAction& action) {
    const bool goesBack = action.kind == MenuAction::back || action.kind == MenuAction::backspace;
    switch (current) {
        case Screen::circuit:
            return handleCircuit(action);
        case Screen::race:
            if (!goesBack) return handleRace(action);
            enter(Screen::circuit);
            return Request::none;
        case Screen::settings:
            if (goesBack) {
                enter(Screen::circuit);
                selected = settingsRow;
            } else {
                handleSettings(action);
            }
            return Request::none;
        case Screen::keys:
            if (goesBack || action.kind == MenuAction::choose) {
                enter(Screen::settings);
                selected = keysRow;
            }
            return Request::none;
    }
    return Request::none;
}

void FrontEnd::returnFromRace() {
    enter(Screen::circuit);
    showCircuit(choices.circuit);
}

FrontEnd::Request FrontEnd::handleCircuit(const MenuAction& action) {
    const int number = choices.circuit;
    switch (action.kind) {
        case MenuAction::back:
            return Request::quit;
        case MenuAction::up:
        case MenuAction::down:
            moveRow(action, circuitRows);
            return Request::none;
        case MenuAction::choose:
            if (selected == settingsRow) {
                enter(Screen::settings);
            } else if (!digits.empty()) {
                enter(Screen::race);
                selected = startRow;
            }
            return Request::none;
        case MenuAction::left:
            showCircuit(digits.empty() ? 0 : (number + Circuit::largestNumber) % (Circuit::largestNumber + 1));
            break;
        case MenuAction::right:
            showCircuit(digits.empty() ? 0 : (number + 1) % (Circuit::largestNumber + 1));
            break;
        case MenuAction::random:
            showCircuit(std::uniform_int_distribution<int>(0, Circuit::largestNumber)(randomDraws));
            break;
        case MenuAction::digit:
            typeDigit(action.number);
            break;
        case MenuAction::backspace:
            if (!digits.empty()) digits.pop_back();
            if (!digits.empty()) choices.circuit = std::stoi(digits);
            fresh = false;
            break;
    }
    // Whatever edits the number brings its row into view.
    selected = numberRow;
    return Request::none;
}

FrontEnd::Request FrontEnd::handleRace(const MenuAction& action) {
    RaceSettings& race = choices.race;
    switch (action.kind) {
        case MenuAction::up:
        case MenuAction::down:
            moveRow(action, raceRows);
            break;
        case MenuAction::choose:
            return Request::startRace;
        case MenuAction::left:
        case MenuAction::right:
            if (selected == lapsRow) race.laps = stepped(race.laps, action, 1, RaceSettings::maxLaps);
            if (selected == driversRow) {
                race.computerDrivers = stepped(race.computerDrivers, action, 0, RaceSettings::maxComputerDrivers);
            }
            if (selected == paceRow) {
                race.pace = static_cast<Pace>(stepped(static_cast<int>(race.pace), action,
                                                      static_cast<int>(Pace::relaxed), static_cast<int>(Pace::fast)));
            }
            break;
        default:
            break;
    }
    return Request::none;
}

void FrontEnd::handleSettings(const MenuAction& action) {
    SoundLevel& sound = choices.sound;
    const bool changes = action.kind == MenuAction::left || action.kind == MenuAction::right ||
                         action.kind == MenuAction::choose;
    if (action.kind == MenuAction::up || action.kind == MenuAction::down) moveRow(action, settingsRows);
    if (!changes) return;
    switch (selected) {
        case displayRow:
            choices.fullScreen = !choices.fullScreen;
            break;
        case volumeRow:
            if (action.kind != MenuAction::choose) {
                sound.volume = stepped(sound.volume, action, 0, SoundLevel::maxVolume, SoundLevel::volumeStep);
            }
            break;
        case soundRow:
            sound.muted = !sound.muted;
            break;
        case keysRow:
            if (action.kind == MenuAction::choose) enter(Screen::keys);
            break;
    }
}

void FrontEnd::showCircuit(int number) {
    choices.circuit = number;
    digits = std::to_string(number);
    fresh = true;
}

void FrontEnd::typeDigit(int digit) {
    if (digit < 0 || digit > 9) return;
    if (fresh || digits == "0") digits.clear();
    fresh = false;
    const std::string longer = digits + static_cast<char>('0' + digit);
    if (longer.size() > mostDigits || std::stoi(longer) > Circuit::largestNumber) return;
    digits = longer;
    choices.circuit = std::stoi(digits);
}

void FrontEnd::moveRow(const MenuAction& action, int rows) {
    selected = (selected + (action.kind == MenuAction::up ? rows - 1 : 1)) % rows;
}

void FrontEnd::enter(Screen screen) {
    current = screen;
    selected = 0;
}
