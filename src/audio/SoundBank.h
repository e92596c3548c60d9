#pragma once

#include <string>

#include "audio/SoundId.h"

// Every sound of the game decoded once into an OpenAL buffer of the current context. A sound whose
// file is missing, unreadable or hostile costs one console line and is silence.
class SoundBank {
public:
    // `folder` holds the files and ends in "/".
    explicit SoundBank(const std::string& folder);
    ~SoundBank();
    SoundBank(const SoundBank&) = delete;
    SoundBank& operator=(const SoundBank&) = delete;

    // The buffer of a sound; 0, which plays nothing, for a sound that could not be read.
    unsigned int buffer(SoundId sound) const { return buffers[static_cast<int>(sound)]; }
    // Seconds of a sound; 0 for silence.
    float seconds(SoundId sound) const { return lengths[static_cast<int>(sound)]; }

    static const char* fileName(SoundId sound);
    static constexpr const char* musicFileName = "music.wav";

private:
    unsigned int buffers[static_cast<int>(SoundId::count)];
    float lengths[static_cast<int>(SoundId::count)];
};
