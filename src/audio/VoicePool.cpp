#include "audio/VoicePool.h"

#include <AL/al.h>

VoicePool::VoicePool(int capacity) {
    alGetError();  // an error left by an earlier call must not end the pool early
    for (int i = 0; i < capacity; ++i) {
        Voice voice;
        alGenSources(1, &voice.source);
        if (alGetError() != AL_NO_ERROR) break;
        alSourcef(voice.source, AL_REFERENCE_DISTANCE, fullGainDistance);
        voices.push_back(voice);
    }
}

VoicePool::~VoicePool() {
    for (const Voice& voice : voices) reserved.push_back(voice.source);
    for (unsigned int& source : reserved) {
        alSourceStop(source);
        alSourcei(source, AL_BUFFER, 0);
        alDeleteSources(1, &source);
    }
}

unsigned int VoicePool::reserve() {
    if (voices.empty()) return 0;
    reserved.push_back(voices.back().source);
    voices.pop_back();
    return reserved.back();
}

bool VoicePool::isPlaying(const Voice& voice) {
    ALint state = AL_STOPPED;
    alGetSourcei(voice.source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

int VoicePool::playing() const {
    int count = 0;
    for (const Voice& voice : voices) count += isPlaying(voice) ? 1 : 0;
    return count;
}

VoicePool::Voice* VoicePool::acquire(float priority) {
    Voice* weakest = nullptr;
    for (Voice& voice : voices) {
        if (voice.owner == 0 && !isPlaying(voice)) return &voice;
        if (!weakest || voice.priority < weakest->priority) weakest = &voice;
    }
    if (!weakest || weakest->priority >= priority) return nullptr;
    alSourceStop(weakest->source);
    return weakest;
}

void VoicePool::place(const Voice& voice, const VoicePlacement& placement) {
    alSourcei(voice.source, AL_SOURCE_RELATIVE, placement.atListener ? AL_TRUE : AL_FALSE);
    alSource3f(voice.source, AL_POSITION, placement.position.x(), placement.position.y(), placement.position.z());
    alSourcef(voice.source, AL_GAIN, placement.gain);
    alSourcef(voice.source, AL_PITCH, placement.pitch);
}

bool VoicePool::play(unsigned int buffer, float priority, const VoicePlacement& placement) {
    if (buffer == 0) return false;
    Voice* voice = acquire(priority);
    if (!voice) return false;
    voice->priority = priority;
    voice->owner = 0;
    voice->held = false;
    alSourcei(voice->source, AL_LOOPING, AL_FALSE);
    alSourcei(voice->source, AL_BUFFER, static_cast<ALint>(buffer));
    place(*voice, placement);
    alSourcePlay(voice->source);
    return true;
}

void VoicePool::hold(uint64_t owner, unsigned int buffer, float priority, const VoicePlacement& placement) {
    if (buffer == 0) return;
    for (Voice& voice : voices) {
        if (voice.owner != owner) continue;
        voice.priority = priority;
        voice.held = true;
        place(voice, placement);
        return;
    }
    Voice* voice = acquire(priority);
    if (!voice) return;
    voice->priority = priority;
    voice->owner = owner;
    voice->held = true;
    alSourcei(voice->source, AL_LOOPING, AL_TRUE);
    alSourcei(voice->source, AL_BUFFER, static_cast<ALint>(buffer));
    place(*voice, placement);
    // Loops of one sound started together (every kart's engine at the start) would add up in phase:
    // each owner starts at a point of the loop of its own.
    ALint bytes = 0;
    alGetBufferi(buffer, AL_SIZE, &bytes);
    const uint64_t samples = static_cast<uint64_t>(bytes) / sizeof(int16_t);
    if (samples > 0) alSourcei(voice->source, AL_SAMPLE_OFFSET, static_cast<ALint>(owner * 2654435761u % samples));
    alSourcePlay(voice->source);
}

void VoicePool::endFrame() {
    for (Voice& voice : voices) {
        if (voice.owner != 0 && !voice.held) {
            alSourceStop(voice.source);
            voice.owner = 0;
            voice.priority = 0;
        }
        voice.held = false;
    }
}
