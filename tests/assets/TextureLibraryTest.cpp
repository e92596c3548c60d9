#include <cstdint>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "assets/MaterialLibrary.h"
#include "assets/MeshPatchProperties.h"
#include "assets/Texture.h"
#include "assets/TextureLibrary.h"
#include "support/TestMedia.h"

namespace {

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

TEST_F(Textures, UnreadableOrTruncatedImagesGiveAPlaceholderAndTheirErrorsOnce) {
    media.write("textures/junk.png", "this is not a picture");
    // The image library reads what there is of a short file and reports the short read; the rest of
    // its pixels would be whatever the buffer held.
    media.write("textures/short.tga", tgaImage(64, 64, 24, {1, 2, 3}));
    for (const char* name : {"junk.png", "absent.png", "short.tga"}) {
        SCOPED_TRACE(name);
        const std::string path = media.textures() + name;
        CapturedStream errors(std::cerr);
        boost::shared_ptr<Texture> texture = get(name);
        ASSERT_TRUE(texture);
        EXPECT_EQ(texture->name, path);
        EXPECT_EQ(texture->width, 2);
        EXPECT_EQ(texture->height, 2);
        EXPECT_EQ(texture->format, GL_RGBA);
        ASSERT_NE(texture->data, nullptr);
        EXPECT_EQ(pixelBytes(*texture, 4).size(), 16u);

        // Every pending image-library error gives its line and the file's line, in turn.
        std::istringstream lines(errors.text());
        int errorLines = 0;
        for (std::string line; std::getline(lines, line); ++errorLines) {
            EXPECT_EQ(line.rfind("IL Error: ", 0), 0u) << line;
            ASSERT_TRUE(std::getline(lines, line));
            EXPECT_EQ(line, "texture file: " + path);
        }
        EXPECT_GE(errorLines, 1);
        EXPECT_EQ(get(name), texture);
        EXPECT_EQ(errors.count("IL Error: "), errorLines);
    }
}

TEST(TextureSharing, MaterialsNamingOneFileShareItsRecord) {
    TestMedia media;
    media.write("textures/shared.tga", tgaImage(1, 1, 24, {9, 9, 9}));
    media.write("meshes/Scene.material", "material A { texture shared.tga } material B { texture shared.tga }\n"
                                         "material C { texture other.tga }");
    CapturedStream errors(std::cerr);
    media.startLibraries();
    boost::shared_ptr<MeshPatchProperties> a = MaterialLibrary::instance().getMaterial("A");
    ASSERT_TRUE(a->texture);
    EXPECT_EQ(a->texture, MaterialLibrary::instance().getMaterial("B")->texture);
    EXPECT_EQ(a->texture, TextureLibrary::instance().getTexture("shared.tga"));
    EXPECT_NE(MaterialLibrary::instance().getMaterial("C")->texture, a->texture);
    EXPECT_EQ(errors.count("texture file: " + media.textures() + "shared.tga"), 0);
}

}  // namespace
