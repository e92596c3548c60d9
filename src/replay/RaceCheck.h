#pragma once

#include <cstdint>

class Game;
struct RaceRecord;

// A check value of the race state: every kart's pose, speed, steering, timers, item and standing, and
// every shell's and loose body's place, bit for bit. Two runs of a race that agree on it after a second have, for all
// that matters, run the same second.
uint32_t raceCheckValue(const Game& game);
// The standing of the player's kart; null in a race without one.
const RaceRecord* playerRecord(const Game& game);
