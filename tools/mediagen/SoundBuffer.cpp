#include "SoundBuffer.h"

#include <algorithm>
#include <cmath>
#include <iostream>

#include <sndfile.h>

SoundBuffer::SoundBuffer(double seconds) : samples(static_cast<size_t>(std::lround(seconds * sampleRate)), 0.0) {}

void SoundBuffer::add(double start, double duration, const std::function<double(double t)>& voice, bool wrap) {
    const long first = std::lround(start * sampleRate);
    const long count = std::lround(duration * sampleRate);
    const long length = static_cast<long>(samples.size());
    for (long i = 0; i < count; ++i) {
        long index = first + i;
        if (wrap) index %= length;
        if (index < 0 || index >= length) continue;
        samples[index] += voice(static_cast<double>(i) / sampleRate);
    }
}

void SoundBuffer::normalize(double peak) {
    double loudest = 0;
    for (double sample : samples) loudest = std::max(loudest, std::fabs(sample));
    if (loudest == 0) return;
    const double gain = peak / loudest;
    for (double& sample : samples) sample *= gain;
}

void SoundBuffer::crossfadeLoop(double seconds) {
    const size_t fade = std::min(samples.size() / 2, static_cast<size_t>(std::lround(seconds * sampleRate)));
    const size_t kept = samples.size() - fade;
    for (size_t i = 0; i < fade; ++i) {
        const double share = static_cast<double>(i) / fade;  // of the start; the tail fades out
        samples[i] = samples[i] * share + samples[kept + i] * (1 - share);
    }
    samples.resize(kept);
}

std::vector<int16_t> SoundBuffer::pcm() const {
    std::vector<int16_t> out(samples.size());
    for (size_t i = 0; i < samples.size(); ++i) {
        const double clamped = std::max(-1.0, std::min(1.0, samples[i]));
        out[i] = static_cast<int16_t>(std::lround(clamped * 32767));
    }
    return out;
}

bool SoundBuffer::saveWav(const std::string& path) const {
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) {
        std::cerr << "vorbel-mediagen: cannot write " << path << ": " << sf_strerror(nullptr) << std::endl;
        return false;
    }
    const std::vector<int16_t> data = pcm();
    const sf_count_t written = sf_writef_short(file, data.data(), static_cast<sf_count_t>(data.size()));
    const bool closed = sf_close(file) == 0;
    if (written != static_cast<sf_count_t>(data.size()) || !closed) {
        std::cerr << "vorbel-mediagen: cannot write " << path << std::endl;
        return false;
    }
    return true;
}
