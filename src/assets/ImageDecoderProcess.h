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
// has bounded time for it, and this side takes back only an image no larger than a texture may be.
// One child serves file after file, since a fork costs more than decoding a small image; a child
// that crashed, stalled or sent something unusable is replaced before the next file. Linux: fork,
// a socket pair, resource limits.
class ImageDecoderProcess {
public:
    // Runs in the child: decodes the file at `path`.
    using Decoder = DecodedImage (*)(const std::string& path);

    static constexpr int maxSide = 4096;              // pixels, the largest width or height taken
    static constexpr size_t memoryBudget = 96u << 20;  // bytes the child may map for one file: the largest
                                                   // image and room for the library's own buffers
    static constexpr int timeLimitMilliseconds = 500;  // wall clock, per file

    explicit ImageDecoderProcess(Decoder decoder) : decoder(decoder) {}
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
    // Ends the child, or collects it if it has ended; returns how it ended, as waitpid gives it.
    int stop();

    Decoder decoder;
    int child = -1;   // process id while a child runs
    int channel = -1; // this side of the socket pair to the child
};
