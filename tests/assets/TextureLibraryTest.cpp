#include <cstdint>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <GL/gl.h>
#include <IL/il.h>
#include <gtest/gtest.h>

#include "assets/MaterialLibrary.h"
#include "assets/MeshPatchProperties.h"
#include "assets/Texture.h"
#include "assets/TextureLibrary.h"
#include "support/TestMedia.h"

namespace {

const uint8_t trueColourImage = 2;
const uint8_t colourMappedImage = 1;

// An uncompressed TGA file; rows run from the bottom up, pixels are stored blue first.
std::string tga(uint8_t imageType, int width, int height, int bitsPerPixel, const std::vector<uint8_t>& palette,
                const std::vector<uint8_t>& pixels) {
    const int paletteEntries = static_cast<int>(palette.size() / 3);
    std::vector<uint8_t> bytes = {0,
                                  static_cast<uint8_t>(palette.empty() ? 0 : 1),
                                  imageType,
                                  0,
                                  0,
                                  static_cast<uint8_t>(paletteEntries & 0xFF),
                                  static_cast<uint8_t>(paletteEntries >> 8),
                                  static_cast<uint8_t>(palette.empty() ? 0 : 24),
                                  0,
                                  0,
                                  0,
                                  0,
                                  static_cast<uint8_t>(width & 0xFF),
                                  static_cast<uint8_t>(width >> 8),
                                  static_cast<uint8_t>(height & 0xFF),
                                  static_cast<uint8_t>(height >> 8),
                                  static_cast<uint8_t>(bitsPerPixel),
                                  0};
    bytes.insert(bytes.end(), palette.begin(), palette.end());
    bytes.insert(bytes.end(), pixels.begin(), pixels.end());
    return std::string(bytes.begin(), bytes.end());
}

std::vector<uint8_t> pixelBytes(const Texture& texture, int bytesPerPixel) {
    const uint8_t* data = static_cast<const uint8_t*>(texture.data);
    return std::vector<uint8_t>(data, data + texture.width * texture.height * bytesPerPixel);
}

class Textures : public ::testing::Test {
protected:
    void SetUp() override {
        CapturedStream quiet(std::cerr);  // no material script here
        media.startLibraries();
    }

    TestMedia media;
};

TEST_F(Textures, DecodesAnImageOnceWithItsSizeAndFormat) {
    const std::vector<uint8_t> pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    media.write("textures/small.tga", tga(trueColourImage, 3, 2, 24, {}, pixels));
    CapturedStream errors(std::cerr);
    boost::shared_ptr<Texture> texture = TextureLibrary::instance().getTexture("small.tga");
    EXPECT_EQ(errors.text(), "");
    ASSERT_TRUE(texture);
    EXPECT_EQ(texture->name, media.textures() + "small.tga");
    EXPECT_EQ(texture->width, 3);
    EXPECT_EQ(texture->height, 2);
    EXPECT_EQ(texture->format, GL_BGR);
    EXPECT_EQ(texture->type, GL_UNSIGNED_BYTE);
    EXPECT_EQ(pixelBytes(*texture, 3), pixels);
    // Nothing goes to OpenGL before the first bind.
    EXPECT_FALSE(texture->uploaded);
    EXPECT_EQ(texture->id, 0u);

    EXPECT_EQ(TextureLibrary::instance().getTexture("small.tga"), texture);
}

TEST_F(Textures, PaletteImagesBecomeRgba) {
    const std::vector<uint8_t> palette = {255, 0, 0, 0, 0, 255};  // blue, red
    media.write("textures/indexed.tga", tga(colourMappedImage, 2, 2, 8, palette, {0, 1, 1, 0}));
    boost::shared_ptr<Texture> texture = TextureLibrary::instance().getTexture("indexed.tga");
    EXPECT_EQ(texture->width, 2);
    EXPECT_EQ(texture->height, 2);
    EXPECT_EQ(texture->format, GL_RGBA);
    EXPECT_EQ(texture->type, GL_UNSIGNED_BYTE);
    EXPECT_EQ(pixelBytes(*texture, 4),
              (std::vector<uint8_t>{0, 0, 255, 255, 255, 0, 0, 255, 255, 0, 0, 255, 0, 0, 255, 255}));
}

TEST_F(Textures, UnreadableImageGivesAPlaceholderAndItsErrorsOnce) {
    media.write("textures/junk.png", "this is not a picture");
    for (const char* name : {"junk.png", "absent.png"}) {
        SCOPED_TRACE(name);
        const std::string path = media.textures() + name;
        CapturedStream errors(std::cerr);
        boost::shared_ptr<Texture> texture = TextureLibrary::instance().getTexture(name);
        ASSERT_TRUE(texture);
        EXPECT_EQ(texture->name, path);
        EXPECT_EQ(texture->width, 2);
        EXPECT_EQ(texture->height, 2);
        EXPECT_EQ(texture->format, GL_RGBA);
        EXPECT_EQ(texture->type, GL_UNSIGNED_BYTE);
        ASSERT_NE(texture->data, nullptr);
        EXPECT_EQ(pixelBytes(*texture, 4).size(), 16u);

        // Every pending image-library error gives its line and the file's line, in turn.
        std::istringstream lines(errors.text());
        std::string line;
        int errorLines = 0;
        while (std::getline(lines, line)) {
            EXPECT_EQ(line.rfind("IL Error: ", 0), 0u) << line;
            ASSERT_TRUE(std::getline(lines, line));
            EXPECT_EQ(line, "texture file: " + path);
            ++errorLines;
        }
        EXPECT_GE(errorLines, 1);

        EXPECT_EQ(TextureLibrary::instance().getTexture(name), texture);
        EXPECT_EQ(errors.count("IL Error: "), errorLines);
    }
}

TEST_F(Textures, TruncatedImageIsReportedAndReplacedByThePlaceholder) {
    // The image library reads what there is and reports the short read; the rest of its pixels
    // would be whatever the buffer held, so the placeholder stands in.
    media.write("textures/short.tga", tga(trueColourImage, 64, 64, 24, {}, {1, 2, 3}));
    CapturedStream errors(std::cerr);
    boost::shared_ptr<Texture> texture = TextureLibrary::instance().getTexture("short.tga");
    EXPECT_GE(errors.count("IL Error: "), 1);
    EXPECT_EQ(errors.count("texture file: " + media.textures() + "short.tga"), errors.count("IL Error: "));
    ASSERT_NE(texture->data, nullptr);
    EXPECT_EQ(texture->width, 2);
    EXPECT_EQ(texture->height, 2);
    EXPECT_EQ(texture->format, GL_RGBA);
}

TEST(TextureSharing, MaterialsNamingOneFileShareItsRecord) {
    TestMedia media;
    media.write("textures/shared.tga", tga(trueColourImage, 1, 1, 24, {}, {9, 9, 9}));
    media.write("meshes/Scene.material", "material A { texture shared.tga } material B { texture shared.tga }\n"
                                         "material C { texture other.tga }");
    CapturedStream errors(std::cerr);
    media.startLibraries();
    boost::shared_ptr<MeshPatchProperties> a = MaterialLibrary::instance().getMaterial("A");
    boost::shared_ptr<MeshPatchProperties> b = MaterialLibrary::instance().getMaterial("B");
    ASSERT_TRUE(a->texture);
    EXPECT_EQ(a->texture, b->texture);
    EXPECT_EQ(a->texture, TextureLibrary::instance().getTexture("shared.tga"));
    EXPECT_NE(MaterialLibrary::instance().getMaterial("C")->texture, a->texture);
    EXPECT_EQ(errors.count("texture file: " + media.textures() + "shared.tga"), 0);
    EXPECT_GE(errors.count("texture file: " + media.textures() + "other.tga"), 1);
}

}  // namespace
