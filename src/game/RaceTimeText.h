#pragma once

#include <cstdint>
#include <string>

// A race time of `subSteps` physics sub-steps (60 a second) as minutes, seconds and hundredths:
// "1:05.25", cut to the hundredth below as a stopwatch shows it; "-:--.--" for none (< 0).
std::string raceTimeText(int64_t subSteps);
