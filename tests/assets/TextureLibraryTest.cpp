#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <GL/gl.h>
#include <sys/resource.h>
#include <gtest/gtest.h>

#include "assets/ImageDecoderProcess.h"
#include "assets/Texture.h"
#include "assets/TextureLibrary.h"
#include "support/TestMedia.h"

namespace {

std::vector<uint8_t> pixelBytes(const Texture& texture, int bytesPerPixel) {
    const uint8_t* data = texture.data.get();
    return std::vector<uint8_t>(data, data + texture.width * texture.height * bytesPerPixel);
}

class Textures : public ::testing::Test {
protected:
    void SetUp() override {
        CapturedStream quiet(std::cerr);  // no material script here
        media.startLibraries();
    }
    boost::shared_ptr<Texture> get(const std::string& name) { return TextureLibrary::instance().getTexture(name); }

    TestMedia media;
};

TEST_F(Textures, DecodesAnImageOnceAndPaletteImagesBecomeRgba) {
    const std::vector<uint8_t> pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    media.write("textures/small.tga", tgaImage(3, 2, 24, pixels));
    CapturedStream errors(std::cerr);
    boost::shared_ptr<Texture> texture = get("small.tga");
    EXPECT_EQ(errors.text(), "");
    ASSERT_TRUE(texture);
    EXPECT_EQ(texture->name, media.textures() + "small.tga");
    EXPECT_EQ(texture->width, 3);
    EXPECT_EQ(texture->height, 2);
    EXPECT_EQ(texture->format, GL_BGR);
    EXPECT_EQ(pixelBytes(*texture, 3), pixels);
    // Nothing goes to OpenGL before the first bind.
    EXPECT_FALSE(texture->uploaded);
    EXPECT_EQ(get("small.tga"), texture);

    const std::vector<uint8_t> palette = {255, 0, 0, 0, 0, 255};  // blue, red
    media.write("textures/indexed.tga", tgaImage(2, 2, 8, {0, 1, 1, 0}, palette));
    boost::shared_ptr<Texture> indexed = get("indexed.tga");
    EXPECT_EQ(indexed->format, GL_RGBA);
    EXPECT_EQ(indexed->type, GL_UNSIGNED_BYTE);
    EXPECT_EQ(pixelBytes(*indexed, 4),
              (std::vector<uint8_t>{0, 0, 255, 255, 255, 0, 0, 255, 255, 0, 0, 255, 0, 0, 255, 255}));
}

TEST_F(Textures, TheLargestImageWithSixteenBitChannelsLoadsAsBytes) {
    const std::string path = media.textures() + "deep.png";
    ASSERT_EQ(std::system(("convert -size 4096x4096 xc:'rgb(10,20,30)' -alpha set -depth 16 PNG64:" + path).c_str()), 0);
    CapturedStream errors(std::cerr);
    boost::shared_ptr<Texture> texture = get("deep.png");
    EXPECT_EQ(errors.text(), "");
    ASSERT_EQ(std::make_pair(texture->width, texture->height), std::make_pair(4096, 4096));
    ASSERT_EQ(DecodedImage::bytesPerPixel(texture->format, texture->type), 4);
    const uint8_t* last = &texture->data[4096 * 4096 * 4 - 4];
    EXPECT_EQ(std::vector<uint8_t>(last, last + 4), (std::vector<uint8_t>{10, 20, 30, 255}));
}

TEST_F(Textures, UnreadableTruncatedOrHostileImagesGiveAPlaceholderAndTheirErrorsOnce) {
    media.write("textures/junk.png", "this is not a picture");
    // The image library reads what there is of a short file and reports the short read; the rest of
    // its pixels would be whatever the buffer held.
    media.write("textures/short.tga", tgaImage(64, 64, 24, {1, 2, 3}));
    // Files that crashed the image library, stalled it or made it take gigabytes: a colour map of
    // 65535 entries in 21 bytes; 32768 x 32768 pixels from 3 bytes; a width whose row size wraps
    // around to 2 bytes; 40000 x 40000 pixels.
    media.write("textures/palette.tga", std::string("\0\1\1\0\0\xff\xff\x18\0\0\0\0\2\0\2\0\x08\0\1\2\3", 21));
    media.write("textures/huge.tga", std::string("\0\0\2\0\0\0\0\0\0\0\0\0\0\x80\0\x80\x20\0\1\2\3", 21));
    const auto bmp = [](uint32_t width, uint32_t height, uint32_t bitsPerPixel) {
        std::string file(70, '\0');  // file and info headers, then 16 bytes of pixels
        const auto put = [&file](size_t at, uint32_t value) {
            for (size_t i = 0; i < 4; ++i) file[at + i] = static_cast<char>(value >> (8 * i));
        };
        file[0] = 'B';
        file[1] = 'M';
        put(2, 70);
        put(10, 54);
        put(14, 40);
        put(18, width);
        put(22, height);
        put(26, 1 | bitsPerPixel << 16);  // one plane
        return file;
    };
    media.write("textures/lying.bmp", bmp(0x55555556, 3, 24));
    media.write("textures/huge.bmp", bmp(40000, -40000, 32));
    for (const char* name :
         {"junk.png", "absent.png", "short.tga", "palette.tga", "huge.tga", "lying.bmp", "huge.bmp"}) {
        SCOPED_TRACE(name);
        const std::string path = media.textures() + name;
        CapturedStream errors(std::cerr);
        boost::shared_ptr<Texture> texture = get(name);
        ASSERT_TRUE(texture);
        EXPECT_EQ(texture->name, path);
        EXPECT_EQ(std::make_pair(texture->width, texture->height), std::make_pair(2, 2));
        EXPECT_EQ(texture->format, GL_RGBA);
        ASSERT_TRUE(texture->data);

        // Every error gives its line and the file's line, in turn.
        std::istringstream lines(errors.text());
        int errorLines = 0;
        for (std::string line; std::getline(lines, line); ++errorLines) {
            ASSERT_TRUE(std::getline(lines, line));
            EXPECT_EQ(line, "texture file: " + path);
        }
        EXPECT_GE(errorLines, 1);
        EXPECT_EQ(get(name), texture);
        EXPECT_EQ(errors.count("texture file: "), errorLines);
    }
    // Neither this process nor a decoder process grew towards the gigabytes these files asked for.
    for (const auto& bound : {std::make_pair(RUSAGE_SELF, size_t(256) << 20),
                              std::make_pair(RUSAGE_CHILDREN, ImageDecoderProcess::memoryBudget)}) {
        rusage usage;
        getrusage(bound.first, &usage);
        EXPECT_LT(size_t(usage.ru_maxrss) * 1024, bound.second) << "bytes";
    }
}

}  // namespace
