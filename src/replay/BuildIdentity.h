#pragma once

#include <string>

// Identity of this build of the simulation: a replay recorded by another build may run differently,
// and so cannot prove what it claims here.
std::string gameBuildIdentity();
