#include "assets/TextureLibrary.h"

#include <cassert>
#include <iostream>

#include <GL/gl.h>
#include <IL/il.h>
#include <IL/ilu.h>

#include "assets/ImageDecoderProcess.h"
#include "assets/Texture.h"

TextureLibrary* TextureLibrary::current = nullptr;

namespace {

// Stands in for an image that cannot be read: a 2x2 magenta and black check, easy to spot.
const unsigned char placeholderPixels[16] = {255, 0, 255, 255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 0, 255, 255};
// Every placeholder shares these static pixels: nothing to free.
const boost::shared_array<const unsigned char> placeholder(placeholderPixels, [](const unsigned char*) {});

// Runs in the decoder process, which serves file after file: the image library's image goes with
// the pixels, or at once when decoding failed. Formats and types OpenGL cannot take as they are
// become RGBA bytes.
DecodedImage decodeWithImageLibrary(const std::string& path) {
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    bool loaded = ilLoadImage(path.c_str()) == IL_TRUE;
    if (loaded && DecodedImage::bytesPerPixel(ilGetInteger(IL_IMAGE_FORMAT), ilGetInteger(IL_IMAGE_TYPE)) == 0) {
        loaded = ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE) == IL_TRUE;
    }
    DecodedImage decoded;
    for (ILenum error = ilGetError(); error != IL_NO_ERROR; error = ilGetError()) {
        decoded.errors.push_back("IL Error: " + std::to_string(error) + ", " + iluErrorString(error));
        loaded = false;  // a short read leaves part of the pixels unread
    }
    if (!loaded) {
        ilDeleteImages(1, &image);
        return decoded;
    }
    decoded.width = ilGetInteger(IL_IMAGE_WIDTH);
    decoded.height = ilGetInteger(IL_IMAGE_HEIGHT);
    decoded.format = ilGetInteger(IL_IMAGE_FORMAT);
    decoded.type = ilGetInteger(IL_IMAGE_TYPE);
    decoded.pixels.reset(ilGetData(), [image](const unsigned char*) { ilDeleteImages(1, &image); });
    return decoded;
}

}  // namespace

TextureLibrary::TextureLibrary(const std::string& basePath) : basePath(basePath), decoder(decodeWithImageLibrary) {
    ilInit();
    iluInit();
}

TextureLibrary& TextureLibrary::instance() {
    assert(current && "startProcessLibraries creates the texture library");
    return *current;
}

boost::shared_ptr<Texture> TextureLibrary::getTexture(const std::string& name) {
    const std::string path = basePath + name;
    boost::shared_ptr<Texture>& cached = cache[path];
    if (cached) return cached;

    const DecodedImage image = decoder.decode(path);
    for (const std::string& error : image.errors) {
        std::cerr << error << std::endl;
        std::cerr << "texture file: " << path << std::endl;
    }
    if (image.pixels) {
        cached.reset(new Texture(path, image.width, image.height, image.format, image.type, image.pixels));
    } else {
        cached.reset(new Texture(path, 2, 2, GL_RGBA, GL_UNSIGNED_BYTE, placeholder));
    }
    return cached;
}

void TextureLibrary::applyFilters() {
    for (const auto& [path, texture] : cache) {
        if (texture && texture->uploaded) texture->applyFilters();
    }
}
