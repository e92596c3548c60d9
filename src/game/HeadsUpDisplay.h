#pragma once

#include <string>

class Game;
class Vehicle;

// Held item, rank, lap and frame rate of the vehicle a camera follows.
void drawHeadsUpDisplay(const Game& game, const Vehicle* target);
// Final placings and the restart prompt, shown once the race is over.
void drawRankingScreen(const Game& game);
std::string rankingText(const Game& game);
// One line of text, centred across the screen at `twelfths` twelfths of its height from the bottom:
// "Paused", or a hint.
void drawScreenNote(const std::string& text, int twelfths);
std::string fpsText(double fps);
