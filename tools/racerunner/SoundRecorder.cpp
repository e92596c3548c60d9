#include "SoundRecorder.h"

#include <cmath>
#include <iostream>

#include <sndfile.h>

#include "audio/AudioDevice.h"
#include "audio/RaceAudio.h"
#include "game/Camera.h"
#include "game/Game.h"

SoundRecorder::SoundRecorder(Game& game, const std::string& soundsFolder, const std::string& path)
    : game(game), device(AudioDevice::openLoopback()), file(nullptr), path(path), written(true) {
    if (!device) return;
    audio.reset(new RaceAudio(game, device.get(), soundsFolder));
    SF_INFO info{};
    info.samplerate = AudioDevice::loopbackRate;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) std::cerr << "cannot write " << path << ": " << sf_strerror(nullptr) << std::endl;
}

SoundRecorder::~SoundRecorder() { finish(); }

void SoundRecorder::step(float seconds) {
    if (!file) return;
    if (game.cameras.size() > 0) game.cameras[0]->follow(seconds);
    audio->update(seconds);
    const int frames = static_cast<int>(std::lround(seconds * AudioDevice::loopbackRate));
    mix.resize(static_cast<size_t>(frames) * 2);
    device->render(mix.data(), frames);
    written = written && sf_writef_short(file, mix.data(), frames) == frames;
}

void SoundRecorder::ringOut(float seconds) {
    for (float t = 0; t < seconds; t += Game::subStep) step(Game::subStep);
}

bool SoundRecorder::finish() {
    if (!file) return written;
    written = sf_close(file) == 0 && written;
    file = nullptr;
    if (!written) std::cerr << "cannot write " << path << std::endl;
    return written;
}
