#include "game/RaceTimeText.h"

#include <cstdio>

std::string raceTimeText(int64_t subSteps) {
    if (subSteps < 0) return "-:--.--";
    const int64_t hundredths = subSteps * 100 / 60;
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld.%02lld", static_cast<long long>(hundredths / 6000),
                  static_cast<long long>(hundredths / 100 % 60), static_cast<long long>(hundredths % 100));
    return text;
}
