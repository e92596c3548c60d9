#pragma once

// Standing of one vehicle, at the same index as the vehicle in the game's list.
struct RaceRecord {
    int segment = -1;          // course segment at the last sub-step, -1 = none
    int lap = 0;               // start-line crossings counted
    float progress = -1.0f;    // fraction of the lap, 0 at the start line
    int rank = -1;             // 1 = leading, -1 = not placed yet
    bool crossedBackwards = false;  // went back over the line and has not come forward again
    bool finished = false;     // frozen once the lap counter passes the race length
};
