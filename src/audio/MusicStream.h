#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class SoundDecoder;

// The music, streamed: a few short buffers queued on one source, each refilled from the file as soon
// as it has played, the file read round and round. A file that cannot be read is one console line
// and no music.
class MusicStream {
public:
    // Plays `path` on `source` (a voice kept for the music; 0 for none).
    MusicStream(const std::string& path, unsigned int source);
    ~MusicStream();
    MusicStream(const MusicStream&) = delete;
    MusicStream& operator=(const MusicStream&) = delete;

    // Refills the buffers that have played; starts again after running dry. Once per frame.
    void update();
    void setGain(float gain);

    static constexpr int bufferCount = 4;
    static constexpr float bufferSeconds = 0.25f;  // four of them outlast a frame of a quarter second

private:
    // Fills `buffer` with the next piece of the music; false when nothing could be read.
    bool fill(unsigned int buffer);

    std::unique_ptr<SoundDecoder> decoder;
    unsigned int source;
    unsigned int buffers[bufferCount];
    std::vector<int16_t> piece;
};
