#include "audio/AudioDevice.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#define AL_ALEXT_PROTOTYPES
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

namespace fs = std::filesystem;

namespace {

// Whether this machine could have a sound output at all: a sound server's socket or a playback
// device. Asking OpenAL without one costs some 70 ms and a screen of ALSA's complaints on stderr;
// this look costs a few directory reads. A player who names OpenAL's drivers is asked no questions.
bool outputLikely() {
    if (std::getenv("ALSOFT_DRIVERS") || std::getenv("PULSE_SERVER")) return true;
    std::error_code error;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR")) {
        if (fs::exists(fs::path(runtime) / "pulse" / "native", error)) return true;
    }
    if (fs::exists("/dev/dsp", error)) return true;
    for (const fs::directory_entry& entry : fs::directory_iterator("/dev/snd", error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("pcmC", 0) == 0 && name.back() == 'p') return true;  // a playback device
    }
    return false;
}

// Every voice is a mono source: the game places each sound in the world.
const ALCint voiceAttributes[] = {ALC_MONO_SOURCES, AudioDevice::maxVoices, ALC_STEREO_SOURCES, 0, 0};

}  // namespace

AudioDevice::AudioDevice(ALCdevice_struct* device, ALCcontext_struct* context, bool loopback)
    : device(device), context(context), loopback(loopback) {
    alcMakeContextCurrent(context);
}

std::unique_ptr<AudioDevice> AudioDevice::openDefault() {
    return withContext(outputLikely() ? alcOpenDevice(nullptr) : nullptr, voiceAttributes, false,
                       "No sound device: the game plays silently");
}

std::unique_ptr<AudioDevice> AudioDevice::openLoopback() {
    const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT, ALC_SHORT_SOFT,
                                 ALC_FREQUENCY, loopbackRate, ALC_HRTF_SOFT, ALC_FALSE,
                                 ALC_MONO_SOURCES, maxVoices, ALC_STEREO_SOURCES, 0, 0};
    return withContext(alcLoopbackOpenDeviceSOFT(nullptr), attributes, true,
                       "OpenAL: no loopback device to mix into memory");
}

std::unique_ptr<AudioDevice> AudioDevice::withContext(ALCdevice* device, const int* attributes, bool loopback,
                                                      const char* failure) {
    ALCcontext* context = device ? alcCreateContext(device, attributes) : nullptr;
    if (!context) {
        if (device) alcCloseDevice(device);
        std::cerr << failure << std::endl;
        return nullptr;
    }
    return std::unique_ptr<AudioDevice>(new AudioDevice(device, context, loopback));
}

AudioDevice::~AudioDevice() {
    if (alcGetCurrentContext() == context) alcMakeContextCurrent(nullptr);
    alcDestroyContext(context);
    alcCloseDevice(device);
}

void AudioDevice::render(int16_t* out, int frames) {
    if (loopback) alcRenderSamplesSOFT(device, out, frames);
}
