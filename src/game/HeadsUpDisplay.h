#pragma once

#include <string>

class Game;
class Vehicle;

// Held item, rank, lap and frame rate of the vehicle a camera follows.
void drawHeadsUpDisplay(const Game& game, const Vehicle* target);
// Final placings and the restart prompt, shown once the race is over.
void drawRankingScreen(const Game& game);
std::string rankingText(const Game& game);
// One line in the middle of an otherwise empty window, while there is no race to show yet.
void drawNotice(const std::string& text);
std::string fpsText(double fps);
