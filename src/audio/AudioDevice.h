#pragma once

#include <cstdint>
#include <memory>

// OpenAL Soft's names of its device and context types (alc.h typedefs them to ALCdevice, ALCcontext).
struct ALCdevice_struct;
struct ALCcontext_struct;

// The sound output: an OpenAL device with its context, made current for the voices, the sound bank
// and the music to use. Either the machine's own output, or a loopback device that mixes into
// memory when asked, as fast as the processor allows (the race runner's recording and the tests).
class AudioDevice {
public:
    // The machine's default output, or null after one console line when it has none.
    static std::unique_ptr<AudioDevice> openDefault();
    // A loopback device mixing 44.1 kHz 16-bit stereo; null after one console line if OpenAL cannot.
    static std::unique_ptr<AudioDevice> openLoopback();
    ~AudioDevice();
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    // Mixes the next `frames` frames into `out` (two samples each, left first). Loopback only.
    void render(int16_t* out, int frames);

    static constexpr int loopbackRate = 44100;  // frames per second of the loopback mix
    // Sources the context grants in all, so that no part of the game can hold more voices than this.
    static constexpr int maxVoices = 32;

private:
    AudioDevice(ALCdevice_struct* device, ALCcontext_struct* context, bool loopback);
    // `device` with a context on `attributes`, made current; null after the line `failure` when
    // either cannot be had.
    static std::unique_ptr<AudioDevice> withContext(ALCdevice_struct* device, const int* attributes, bool loopback,
                                                    const char* failure);

    ALCdevice_struct* device;
    ALCcontext_struct* context;
    bool loopback;
};
