#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include <LinearMath/btVector3.h>

class Game;

// Reads the checkpoints file and gives the game its course; falls back to the default course.
void loadCheckpoints(Game* game, std::string path);
// Reads groups of three numbers until the end or the first incomplete group.
std::vector<btVector3> readCheckpoints(std::istream& stream);
