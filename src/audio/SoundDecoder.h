#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct sf_private_tag;

// Decodes a sound file held in memory, in pieces or whole, to mono 16-bit samples through
// libsndfile. Takes only WAV and FLAC files, and distrusts them: channels, rate and length are
// checked before anything is allocated for them, so a hostile file costs an error message, never a
// crash, a hang or a huge allocation.
class SoundDecoder {
public:
    explicit SoundDecoder(std::string fileBytes);
    ~SoundDecoder();
    SoundDecoder(const SoundDecoder&) = delete;
    SoundDecoder& operator=(const SoundDecoder&) = delete;

    // Empty when the file was taken; else why not.
    const std::string& error() const { return problem; }
    int sampleRate() const { return rate; }
    int64_t frames() const { return length; }

    // Reads up to `count` frames, the channels averaged, into `out`; returns how many (0 at the end).
    int read(int16_t* out, int count);
    // Back to the first frame, for a loop.
    void rewind();
    // The whole sound; empty, with error() set, when it cannot be read to its end.
    std::vector<int16_t> readAll();

    // The file's bytes, or false with `error` set when it cannot be read or is larger than any
    // sound of the game could be.
    static bool readFile(const std::string& path, std::string& bytes, std::string& error);

    static constexpr int minRate = 8000;     // frames per second
    static constexpr int maxRate = 96000;
    static constexpr int maxChannels = 2;
    static constexpr int64_t maxFrames = 90 * 48000;       // a minute and a half at 48 kHz
    static constexpr int64_t maxFileBytes = 32 * 1024 * 1024;

private:
    friend struct SoundDecoderAccess;  // libsndfile's virtual I/O reads the bytes through it

    std::string bytes;
    int64_t position;  // of the next byte libsndfile reads
    sf_private_tag* file;
    int channels;
    int rate;
    int64_t length;  // frames
    std::vector<int16_t> interleaved;  // one piece of frames as the file holds them
    std::string problem;
};
