#pragma once

#include <map>
#include <string>

class SoundBuffer;

// Synthesizes every sound of the game, from tones, sweeps and noise: the engine, skid and star
// loops, the items, hits and the race's signals, and the circuit's music.
class SoundEffects {
public:
    // Every effect by its file name; the loops repeat without a click.
    static std::map<std::string, SoundBuffer> all();
    // Writes the effects and circuit `circuit`'s music into `directory` as WAV files; returns false
    // after one line on standard error when a file cannot be written.
    static bool writeAll(const std::string& directory, int circuit);
};
