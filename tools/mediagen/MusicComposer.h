#pragma once

#include <string>

class SoundBuffer;

// A circuit's music: an eight-bar loop of drums, bass, chords and a lead melody whose tempo, key,
// scale, chord progression and instruments follow from the circuit number, so that circuits sound
// different and each sounds the same on every run.
class MusicComposer {
public:
    explicit MusicComposer(int circuit);

    // The loop, exactly eight bars long: notes ringing past the end come in at the start.
    SoundBuffer compose() const;
    // For the generator's summary line, e.g. "132 bpm, D minor, square lead".
    std::string describe() const;

    static constexpr int slowestTempo = 112;  // beats per minute; bounds the loop's length and bytes
    static constexpr int fastestTempo = 151;

private:
    int circuit;
    int tempo;      // beats per minute
    int key;        // semitones above A
    int scale;      // index of the mode
    int leadShape;  // index of the lead's oscillator shape
    int bassShape;
    int progression;
};
