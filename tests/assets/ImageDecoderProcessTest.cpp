#include <csignal>
#include <string>
#include <utility>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "assets/ImageDecoderProcess.h"

namespace {

// A decoder with the faults nobody has found in the image library yet, one per file name.
DecodedImage faultyDecoder(const std::string& name) {
    static const unsigned char pixel[4] = {1, 2, 3, 4};
    if (name == "spins") {
        for (volatile bool forever = true; forever;) {
        }
    }
    if (name == "crashes") std::raise(SIGSEGV);
    DecodedImage image;
    if (name == "hoards") image.errors.push_back(std::string(size_t(1) << 30, '!'));
    image.width = name == "boasts" ? 8192 : 1;
    image.height = image.width;
    image.format = GL_RGBA;
    image.type = GL_UNSIGNED_BYTE;
    image.pixels.reset(pixel, [](const unsigned char*) {});
    return image;
}

TEST(ImageDecoderProcess, AFaultInTheDecoderCostsOnlyItsImage) {
    ImageDecoderProcess decoder(faultyDecoder);
    const std::pair<const char*, const char*> faults[] = {{"spins", "Image decoding took longer than 500 ms"},
                                                          {"crashes", "Image decoder crashed (signal 11)"},
                                                          {"hoards", "Image decoder crashed (signal 6)"},
                                                          {"boasts", "larger than 4096 x 4096"}};
    for (const auto& fault : faults) {
        SCOPED_TRACE(fault.first);
        const DecodedImage failed = decoder.decode(fault.first);
        EXPECT_FALSE(failed.pixels);
        ASSERT_FALSE(failed.errors.empty());
        EXPECT_NE(failed.errors.back().find(fault.second), std::string::npos) << failed.errors.back();
        // The next file goes to a fresh child.
        const DecodedImage fine = decoder.decode("fine");
        ASSERT_TRUE(fine.pixels);
        EXPECT_EQ(fine.pixels[3], 4);
    }
}

}  // namespace
