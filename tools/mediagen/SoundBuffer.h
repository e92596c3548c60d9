#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A mono sound being synthesized, samples in [-1, 1]. Written as 16-bit PCM WAV: an exact integer
// encoding, so the file's bytes follow from the samples alone (the Vorbis encoder's output differs
// between processors with and without fused multiply-add).
class SoundBuffer {
public:
    static constexpr int sampleRate = 22050;  // enough for synthesized tones, and half the bytes of 44.1 kHz

    explicit SoundBuffer(double seconds);

    int size() const { return static_cast<int>(samples.size()); }
    double seconds() const { return static_cast<double>(samples.size()) / sampleRate; }
    // Adds `voice(t)` for t in seconds from `start` over `duration`. With `wrap`, what runs past the
    // end comes in at the start, so that a loop is seamless.
    void add(double start, double duration, const std::function<double(double t)>& voice, bool wrap = false);
    // Scales the whole sound so that its loudest sample is `peak`.
    void normalize(double peak);
    // Fades the last `seconds` into the first ones, so that a loop of a sound that does not repeat
    // by itself (noise) has no click; the sound becomes that much shorter.
    void crossfadeLoop(double seconds);

    std::vector<int16_t> pcm() const;
    // Returns false after one line on standard error when the file cannot be written.
    bool saveWav(const std::string& path) const;

private:
    std::vector<double> samples;
};
