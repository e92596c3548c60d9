#pragma once

#include <string>

// Fixed-decimal text for the media files: the same value always gives the same bytes, trailing
// zeros are dropped and a value that rounds to zero never keeps its minus sign.
std::string formatNumber(double value, int decimals = 4);
