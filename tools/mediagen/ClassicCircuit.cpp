#include "ClassicCircuit.h"

#include "Circuit.h"

namespace {

// Pieces the circuit is furnished around (indices into the pieces).
const int dipEntryStraight = 4;
const int dipBottomStraight = 6;
const int climbStraight = 12;
const int lastCurveStraight = 18;  // between the S-bend and the last curve

// The hill: how high it climbs above the flat, and where. It climbs from the start of the
// straight after the dip to the crest on the climbing straight, stays up around the sweeper and
// comes down along the straight after it.
const double hillHeight = 22.0;
const int climbStartPiece = 10;
const double crestDistance = 90.0;  // into the crest piece
const int descentPiece = 15;
const double descentStart = 20.0;  // into the descent piece
const double descentEnd = 310.0;
// The two straights whose lengths close the loop.
const int firstFreeStraight = 15;
const int secondFreeStraight = climbStraight;

const double firstItemRow = 110.0;
const double wallHeight = 2.0;
const double looseLateral = 16.5;

}  // namespace

Circuit ClassicCircuit::build() {
    // Mostly left-hand curves (the first one turns from +Z towards +X), alternating with
    // right-hand ones; no arc is longer than about 230 units, so drift never builds up.
    // Pieces 12 and 15 are the two straights whose lengths close the loop.
    TrackLayout layout({
        {180, 0, 0, 0},    // 0: start straight, beyond the start line
        {0, 110, 90, 6},   // 1: first curve
        {40, 0, 0, 0},     // 2
        {0, 90, 90, 5},    // 3: into the bend that dips into the infield
        {60, 0, 0, 0},     // 4
        {0, 90, -90, 5},   // 5
        {40, 0, 0, 0},     // 6: the bottom of the dip
        {0, 90, -90, 5},   // 7
        {60, 0, 0, 0},     // 8
        {0, 90, 90, 5},    // 9: out of the dip
        {40, 0, 0, 0},     // 10: the climb begins
        {0, 120, 90, 6},   // 11: climbing curve
        {0, 0, 0, 0},      // 12: free straight, top of the climb
        {0, 90, -50, 4},   // 13: kink on the hill
        {0, 95, 140, 9},   // 14: the banked sweeper around the hilltop
        {0, 0, 0, 0},      // 15: free straight, the descent
        {0, 130, -45, 4},  // 16: S-bend
        {0, 130, 45, 4},   // 17
        {60, 0, 0, 0},     // 18
        {0, 110, 90, 6},   // 19: last curve onto the start straight
        {150, 0, 0, 0},    // 20: the grid straight, ending at the start line
    });
    layout.closeLoop(firstFreeStraight, secondFreeStraight);
    const double base = TrackLayout::baseHeight, top = base + hillHeight;
    layout.setHeights({{0, base},
                       {layout.pieceStart(climbStartPiece), base},
                       {layout.pieceStart(climbStraight) + crestDistance, top},
                       {layout.pieceStart(descentPiece) + descentStart, top},
                       {layout.pieceStart(descentPiece) + descentEnd, base},
                       {layout.length(), base}});

    const double lap = layout.length();
    const double dip = layout.pieceMiddle(dipEntryStraight);
    // Two on the start straight past the first pick-up row, one on the straight into the dip and
    // three on the grid straight, well behind the grid.
    std::vector<LooseObject> loose = {{150, -looseLateral, true},       {157, -looseLateral, false},
                                      {dip, looseLateral, false},       {lap - 125, looseLateral, true},
                                      {lap - 118, looseLateral, false}, {lap - 132, -looseLateral, true}};
    CircuitLook look;
    look.grassLush = {0.2, 0.5, 0.13};
    look.grassDry = {0.42, 0.54, 0.2};
    look.grassDark = {0.12, 0.34, 0.09};
    look.bladeLight = {0.3, 0.62, 0.2};
    look.bladeDark = {0.1, 0.28, 0.07};
    look.kerbStripe = {0.86, 0.1, 0.08};
    look.barrierPanel = {0.1, 0.3, 0.85};
    look.trees = 100;
    look.rocks = 20;
    look.treeShare = 0.8;
    look.pineShare = 0.55;
    look.scenerySeed = 2024;
    return {0,
            layout,
            {firstItemRow, layout.pieceMiddle(dipBottomStraight), layout.pieceMiddle(climbStraight),
             layout.pieceMiddle(lastCurveStraight)},
            loose,
            look,
            wallHeight,
            0};
}
