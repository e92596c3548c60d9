#include "audio/SoundDecoder.h"

#include <algorithm>
#include <cstring>
#include <fstream>

#include <sndfile.h>

namespace {

const int pieceFrames = 4096;  // frames decoded per libsndfile call

// Whether the bytes begin as one of the formats the game takes; libsndfile knows two dozen more,
// each a parser more for an outside file to reach. Not Ogg: libsndfile 1.2 leaks libvorbis's state
// on a broken Vorbis header, and the generator writes no Vorbis (its encoder's bytes differ between
// processors).
bool knownFormat(const std::string& bytes) {
    if (bytes.size() >= 12 && bytes.compare(0, 4, "RIFF") == 0 && bytes.compare(8, 4, "WAVE") == 0) return true;
    return bytes.size() >= 4 && bytes.compare(0, 4, "fLaC") == 0;
}

}  // namespace

// libsndfile's virtual I/O: the file is the decoder's bytes.
struct SoundDecoderAccess {
    static SoundDecoder& of(void* user) { return *static_cast<SoundDecoder*>(user); }
    static sf_count_t length(void* user) { return static_cast<sf_count_t>(of(user).bytes.size()); }
    static sf_count_t seek(sf_count_t offset, int whence, void* user) {
        SoundDecoder& decoder = of(user);
        const sf_count_t size = static_cast<sf_count_t>(decoder.bytes.size());
        sf_count_t base = whence == SEEK_CUR ? decoder.position : (whence == SEEK_END ? size : 0);
        // Offsets come from the file: keep the sum inside the bytes without overflowing.
        if (offset < -base) offset = -base;
        if (offset > size - base) offset = size - base;
        decoder.position = base + offset;
        return decoder.position;
    }
    static sf_count_t read(void* out, sf_count_t count, void* user) {
        SoundDecoder& decoder = of(user);
        const sf_count_t left = static_cast<sf_count_t>(decoder.bytes.size()) - decoder.position;
        const sf_count_t taken = std::max<sf_count_t>(0, std::min(count, left));
        std::memcpy(out, decoder.bytes.data() + decoder.position, static_cast<size_t>(taken));
        decoder.position += taken;
        return taken;
    }
    static sf_count_t write(const void*, sf_count_t, void*) { return 0; }
    static sf_count_t tell(void* user) { return of(user).position; }
};

SoundDecoder::SoundDecoder(std::string fileBytes)
    : bytes(std::move(fileBytes)), position(0), file(nullptr), channels(0), rate(0), length(0) {
    if (!knownFormat(bytes)) {
        problem = "not a WAV or FLAC file";
        return;
    }
    SF_VIRTUAL_IO io{SoundDecoderAccess::length, SoundDecoderAccess::seek, SoundDecoderAccess::read,
                     SoundDecoderAccess::write, SoundDecoderAccess::tell};
    SF_INFO info{};
    file = sf_open_virtual(&io, SFM_READ, &info, this);
    if (!file) {
        problem = sf_strerror(nullptr);
        return;
    }
    if (info.channels < 1 || info.channels > maxChannels) {
        problem = std::to_string(info.channels) + " channels";
    } else if (info.samplerate < minRate || info.samplerate > maxRate) {
        problem = "a rate of " + std::to_string(info.samplerate) + " frames per second";
    } else if (info.frames <= 0 || info.frames > maxFrames) {
        problem = std::to_string(info.frames) + " frames";
    }
    if (!problem.empty()) {
        sf_close(file);
        file = nullptr;
        return;
    }
    channels = info.channels;
    rate = info.samplerate;
    length = info.frames;
}

SoundDecoder::~SoundDecoder() {
    if (file) sf_close(file);
}

int SoundDecoder::read(int16_t* out, int count) {
    if (!file) return 0;
    int done = 0;
    while (done < count) {
        const int piece = std::min(pieceFrames, count - done);
        interleaved.resize(static_cast<size_t>(piece) * channels);
        const int got = static_cast<int>(sf_readf_short(file, interleaved.data(), piece));
        if (got <= 0) break;
        for (int i = 0; i < got; ++i) {
            int sum = 0;
            for (int c = 0; c < channels; ++c) sum += interleaved[static_cast<size_t>(i) * channels + c];
            out[done + i] = static_cast<int16_t>(sum / channels);
        }
        done += got;
    }
    return done;
}

void SoundDecoder::rewind() {
    if (file) sf_seek(file, 0, SEEK_SET);
}

std::vector<int16_t> SoundDecoder::readAll() {
    std::vector<int16_t> samples(static_cast<size_t>(length));
    const int got = read(samples.data(), static_cast<int>(length));
    if (got < length && problem.empty()) {
        problem = "ends after " + std::to_string(got) + " of " + std::to_string(length) + " frames";
    }
    if (!problem.empty()) samples.clear();
    return samples;
}

bool SoundDecoder::readFile(const std::string& path, std::string& bytes, std::string& error) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        error = "cannot be opened";
        return false;
    }
    const std::streamoff size = in.tellg();
    if (size < 0 || size > maxFileBytes) {
        error = "too large";
        return false;
    }
    bytes.resize(static_cast<size_t>(size));
    in.seekg(0);
    if (!in.read(&bytes[0], size)) {
        error = "cannot be read";
        return false;
    }
    return true;
}
