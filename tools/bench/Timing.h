#pragma once

#include <chrono>
#include <vector>

// What every benchmark reads its figures with: the steady clock, and the middle of its rounds.
using Clock = std::chrono::steady_clock;

// Milliseconds from `start` to now.
double millisecondsSince(Clock::time_point start);
// The middle value; the upper of the two middle ones of an even count.
double median(std::vector<double> values);
