#pragma once

// The game's sounds, each from one file of the sound folder. The music is streamed, not kept here.
enum class SoundId {
    engine,  // loops
    skid,    // loops
    star,    // loops
    itemTaken,
    greenShell,
    redShell,
    shellBackwards,
    shellBounce,
    hit,
    spinOut,
    driftBoost,
    bump,
    turbo,
    flash,
    lap,
    finalLap,
    fanfare,
    count
};
