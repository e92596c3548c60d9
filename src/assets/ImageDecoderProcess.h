#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include <boost/shared_array.hpp>

// An image as a decoder hands it over. Without pixels when decoding failed.
struct DecodedImage {
    // Bytes per pixel of a GL format and type that OpenGL takes as they are; 0 for any other.
    static int bytesPerPixel(int format, int type);
    // Bytes of pixels the size, format and type call for; 0 when they are not usable.
    size_t pixelBytes() const;

    int width = 0;   // pixels
    int height = 0;  // pixels
    int format = 0;  // GL pixel format of `pixels`
    int type = 0;    // GL pixel type of `pixels`
    boost::shared_array<const unsigned char> pixels;  // rows tightly packed
    std::vector<std::string> errors;                  // one console line each
};

// A child process that decodes image files for this one, so that a fault in the image library
// costs an image, not the game: the child may map a bounded amount of memory for each file and
// spend a bounded amount of processor time on it, and this side takes back only an image no larger
// than a texture may be. One child serves file after file, since a fork costs more than decoding a
// small image; a child that crashed, spun, stalled or sent something unusable is replaced before
// the next file, and one found gone before a file is asked for is replaced and asked again. Linux:
// fork, a socket pair, resource limits, the child's processor clock.
//
// Time is limited by the processor time the child spends, not by the clock on the wall, so that a
// busy machine slows a large image down without losing it. This side reads the child's processor
// clock while it waits: the child needs no timer of its own for a fault in the library to upset,
// the limit holds to the millisecond (RLIMIT_CPU counts whole seconds of the child's whole life,
// and the child serves many files), and the waiting side knows which limit ended a file.
class ImageDecoderProcess {
public:
    // Runs in the child: decodes the file at `path`.
    using Decoder = DecodedImage (*)(const std::string& path);

    static constexpr int maxSide = 4096;  // pixels, the largest width or height taken
    // Bytes the child may map for one file: twice the largest image of 16-bit channels (turning it
    // into bytes, the library holds it beside two byte copies) and room for the library's buffers.
    static constexpr size_t memoryBudget = size_t(maxSide) * maxSide * 8 * 2 + (128u << 20);

    // Time the child may take for one file; the game's limits by default.
    struct TimeLimits {
        // Processor time in milliseconds for a file of `fileBytes` bytes.
        int cpuBudgetMilliseconds(long long fileBytes) const;

        // Processor time for any file: the largest image from a small file several times over.
        int cpuMillisecondsPerFile = 2000;
        // More for each byte of the file, which decoding reads too.
        int cpuNanosecondsPerByte = 25;
        // A cap that no size of file can raise, in milliseconds.
        int maxCpuMilliseconds = 6000;
        // Only a child that blocks (on a pipe, stopped) reaches this; a busy one stops at its budget.
        int wallMilliseconds = 20000;
    };

    explicit ImageDecoderProcess(Decoder decoder);
    ImageDecoderProcess(Decoder decoder, const TimeLimits& limits) : decoder(decoder), limits(limits) {}
    // Ends the child.
    ~ImageDecoderProcess();
    ImageDecoderProcess(const ImageDecoderProcess&) = delete;
    ImageDecoderProcess& operator=(const ImageDecoderProcess&) = delete;

    // Decodes the file at `path` in the child, starting one if none runs. When no usable image comes
    // back, the errors end with the reason.
    DecodedImage decode(const std::string& path);

private:
    // Starts the child; returns why it could not, or "".
    std::string start();
    // Sends the path to the child, starting one if none runs; returns why it could not, or "".
    std::string ask(const std::string& path);
    // Ends the child, or collects it if it has ended; returns how it ended, as waitpid gives it.
    int stop();

    Decoder decoder;
    TimeLimits limits;
    int child = -1;   // process id while a child runs
    int channel = -1; // this side of the socket pair to the child
};
