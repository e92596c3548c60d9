#include "audio/MusicStream.h"

#include <iostream>

#include <AL/al.h>

#include "audio/SoundDecoder.h"

MusicStream::MusicStream(const std::string& path, unsigned int source) : source(source), buffers{} {
    std::string bytes, error;
    if (source == 0) return;
    if (SoundDecoder::readFile(path, bytes, error)) {
        decoder.reset(new SoundDecoder(std::move(bytes)));
        error = decoder->error();
    }
    if (!error.empty()) {
        std::cerr << "sound file: " << path << ": " << error << std::endl;
        decoder.reset();
        return;
    }
    piece.resize(static_cast<size_t>(decoder->sampleRate() * bufferSeconds));
    alGenBuffers(bufferCount, buffers);
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(source, AL_POSITION, 0, 0, 0);
    alSourcei(source, AL_LOOPING, AL_FALSE);
    for (unsigned int buffer : buffers) {
        if (fill(buffer)) alSourceQueueBuffers(source, 1, &buffer);
    }
    alSourcePlay(source);
}

MusicStream::~MusicStream() {
    if (!decoder) return;
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, 0);
    alDeleteBuffers(bufferCount, buffers);
}

bool MusicStream::fill(unsigned int buffer) {
    int got = decoder->read(piece.data(), static_cast<int>(piece.size()));
    if (got < static_cast<int>(piece.size())) {
        decoder->rewind();
        got += decoder->read(piece.data() + got, static_cast<int>(piece.size()) - got);
    }
    if (got <= 0) return false;
    alBufferData(buffer, AL_FORMAT_MONO16, piece.data(), static_cast<ALsizei>(got * sizeof(int16_t)),
                 decoder->sampleRate());
    return true;
}

void MusicStream::update() {
    if (!decoder) return;
    ALint processed = 0;
    alGetSourcei(source, AL_BUFFERS_PROCESSED, &processed);
    for (; processed > 0; --processed) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(source, 1, &buffer);
        if (fill(buffer)) alSourceQueueBuffers(source, 1, &buffer);
    }
    ALint state = AL_PLAYING, queued = 0;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    alGetSourcei(source, AL_BUFFERS_QUEUED, &queued);
    // A frame longer than the queue lets it run dry, which stops the source.
    if (state != AL_PLAYING && queued > 0) alSourcePlay(source);
}

void MusicStream::setGain(float gain) {
    if (decoder) alSourcef(source, AL_GAIN, gain);
}
