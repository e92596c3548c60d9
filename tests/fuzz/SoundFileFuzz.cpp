// Sound files: the decoder's checks, the whole sound as the sound bank reads it, and the music's
// reading in pieces round its loop.
#include <cstdint>
#include <vector>

#include "FuzzMedia.h"
#include "audio/SoundDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SoundDecoder whole(FuzzMedia::text(data, size));
    if (whole.readAll().size() > static_cast<size_t>(SoundDecoder::maxFrames)) __builtin_trap();

    SoundDecoder streamed(FuzzMedia::text(data, size));
    int16_t piece[1000];
    for (int round = 0; round < 2; ++round) {
        while (streamed.read(piece, 1000) > 0) {
        }
        streamed.rewind();
    }
    return 0;
}
