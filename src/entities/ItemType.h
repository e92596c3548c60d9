#pragma once

#include <cstdint>

// The item a vehicle holds.
enum class ItemType : int32_t {
    greenShell = 0,
    redShell = 1,
    turbo = 2,
    star = 3,
    flash = 4,
    none = 5,
};
