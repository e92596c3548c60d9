#pragma once

#include <cstdint>

// Standing of one vehicle, at the same index as the vehicle in the game's list.
struct RaceRecord {
    int segment = -1;          // course segment at the last sub-step, -1 = none
    int lap = 0;               // start-line crossings counted
    float progress = -1.0f;    // fraction of the lap, 0 at the start line
    int rank = -1;             // 1 = leading, -1 = not placed yet
    bool crossedBackwards = false;  // went back over the line and has not come forward again
    bool finished = false;     // frozen once the lap counter passes the race length
    // The lap clock, in sub-steps of the race (60 a second), so that it is the same on every machine.
    int64_t lapStartStep = 0;  // race sub-step of the last forward crossing; 0 before the first
    int64_t bestLapSteps = -1; // the quickest whole lap, from one crossing to the next; -1 = none yet
    int64_t finishSteps = -1;  // race sub-steps to the finish; -1 = not finished (or ended with E)
};
