#include "audio/SoundBank.h"

#include <iostream>
#include <vector>

#include <AL/al.h>

#include "audio/SoundDecoder.h"

namespace {

// In the order of SoundId; the media generator writes the same names.
const char* const fileNames[] = {"engine.wav", "skid.wav",    "star.wav",      "item.wav",   "shell_green.wav",
                                 "shell_red.wav", "shell_back.wav", "bounce.wav", "hit.wav", "spin.wav",
                                 "boost.wav",  "bump.wav",    "turbo.wav",     "flash.wav",  "lap.wav",
                                 "final_lap.wav", "fanfare.wav"};
static_assert(sizeof(fileNames) / sizeof(fileNames[0]) == static_cast<size_t>(SoundId::count), "a name per sound");

}  // namespace

SoundBank::SoundBank(const std::string& folder) : buffers{}, lengths{} {
    for (int i = 0; i < static_cast<int>(SoundId::count); ++i) {
        const std::string path = folder + fileNames[i];
        std::string bytes, error;
        std::vector<int16_t> samples;
        int rate = 0;
        if (SoundDecoder::readFile(path, bytes, error)) {
            SoundDecoder decoder(std::move(bytes));
            samples = decoder.readAll();
            rate = decoder.sampleRate();
            error = decoder.error();
        }
        if (!error.empty()) {
            std::cerr << "sound file: " << path << ": " << error << std::endl;
            continue;
        }
        alGenBuffers(1, &buffers[i]);
        alBufferData(buffers[i], AL_FORMAT_MONO16, samples.data(), static_cast<ALsizei>(samples.size() * sizeof(int16_t)),
                     rate);
        lengths[i] = static_cast<float>(samples.size()) / static_cast<float>(rate);
    }
}

SoundBank::~SoundBank() {
    for (unsigned int& buffer : buffers) {
        if (buffer) alDeleteBuffers(1, &buffer);
    }
}

const char* SoundBank::fileName(SoundId sound) { return fileNames[static_cast<int>(sound)]; }
