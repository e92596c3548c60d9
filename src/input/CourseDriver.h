#pragma once

#include "game/PlayerControls.h"

class Game;

// Drives the player's kart round the course as a computer driver steers: full throttle, turning
// towards the end of the course segment it is in. The race runner's driver, and the game's autopilot.
PlayerControls courseDriverControls(const Game& game);
