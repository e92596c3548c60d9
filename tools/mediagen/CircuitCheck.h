#pragma once

#include <string>

struct Circuit;

// Everything a circuit must be before it is written: closed and of a lap's length, never coming
// near itself, with curves, slopes, crests and banks the karts can take at full speed, room for the
// grid, rows of pick-up fields and loose objects, checkpoints the computer driver can follow, and
// a track mesh without folds.
class CircuitCheck {
public:
    // The first thing wrong with the circuit, or "" when it is sound.
    static std::string problem(const Circuit& circuit);

    static constexpr double shortestLap = 1500;
    static constexpr double longestLap = 3500;
    // Karts never brake, so every curve is entered at full speed, whatever straight precedes it.
    static constexpr double fullSpeed = 250 / 3.6;
    // Turn rate at full lock once the steering's return has taken its share: 2 x 0.95, radians per second.
    static constexpr double fullLockTurnRate = 1.9;
    // Share of full lock a curve may ask for; the rest is the driver's to correct its line with.
    static constexpr double steeringReserve = 0.7;
    static constexpr double tightestRadius = fullSpeed / (fullLockTurnRate * steeringReserve);
    // Drift time builds up at half a radian per radian turned: turning on and on in one direction
    // without a straight to reset it would spin the karts out.
    static constexpr double longestBendDegrees = 210;
    static constexpr double driftResetStraight = 40;
    static constexpr double steepestSlopeDegrees = 8;
    static constexpr double steepestBankDegrees = 10;
    // Downward acceleration over a crest at full speed, units per second squared, below which karts keep to the road.
    static constexpr double crestLift = 6.5;
    static constexpr double lowestRoadEdge = 0.5;  // above the ground
    static constexpr double shortestStartStraight = 130;
    static constexpr double shortestGridStraight = 100;
    static constexpr int fewestItemRows = 3;
    static constexpr int fewestLooseObjects = 3;
    // Consecutive course segments bend by less than this, so the driver never has to turn back.
    static constexpr double sharpestCheckpointBendDegrees = 60;
};
