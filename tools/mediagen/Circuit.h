#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Image.h"
#include "TrackLayout.h"

// A crate or barrel beside the racing line, for the karts to push about.
struct LooseObject {
    double s;        // distance along the lap
    double lateral;  // from the centre line, left positive
    bool crate;      // else a barrel
};

// What gives a circuit a look of its own: the colours of its ground, kerbs and barriers, and its scenery.
struct CircuitLook {
    Color grassLush;
    Color grassDry;
    Color grassDark;
    Color bladeLight;  // single blades of grass over the patches
    Color bladeDark;
    Color kerbStripe;    // alternates with white
    Color barrierPanel;  // alternates with white
    int trees;
    int rocks;
    double treeShare;  // of the scenery drawn while both kinds are wanted
    double pineShare;  // of the trees
    uint64_t scenerySeed;
};

// One circuit: its centre line, where its pick-up rows and loose objects go, and its look.
// Circuit 0 is the classic hand-laid circuit; every other number is drafted from that number
// alone, so a number gives the same circuit on every run and machine.
struct Circuit {
    int number;
    TrackLayout layout;
    std::vector<double> itemRows;  // distances along the lap of the rows of pick-up fields
    std::vector<LooseObject> looseObjects;
    CircuitLook look;
    double wallHeight;  // of the barriers, above the road's edge
    // How far the barriers' caps overhang the road's side, 0 for none: a kart knocked against a
    // barrier and sliding up its face meets the cap and cannot ride over it.
    double barrierLip;

    // The circuit of `number` (0 to largestNumber), checked; empty only when no draft passes the checks.
    static std::optional<Circuit> make(int number);
    // A circuit number as the tools take it on their command lines: decimal digits only, 0 to
    // largestNumber; anything else is empty.
    static std::optional<int> parseNumber(const std::string& text);

    static constexpr int largestNumber = 99999;
};
