#include "assets/TextureLibrary.h"

#include <cassert>
#include <iostream>

#include <GL/gl.h>
#include <IL/il.h>
#include <IL/ilu.h>

#include "assets/Texture.h"

TextureLibrary* TextureLibrary::current = nullptr;

namespace {

// Stands in for an image that cannot be read: a 2x2 magenta and black check, easy to spot.
const unsigned char placeholderPixels[16] = {255, 0, 255, 255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 0, 255, 255};

// Formats and types OpenGL takes as they are; anything else is converted to RGBA bytes.
bool uploadable(ILint format, ILint type) {
    const bool knownFormat = format == IL_RGB || format == IL_RGBA || format == IL_BGR || format == IL_BGRA ||
                             format == IL_LUMINANCE || format == IL_LUMINANCE_ALPHA;
    return knownFormat && type == IL_UNSIGNED_BYTE;
}

}  // namespace

TextureLibrary::TextureLibrary(const std::string& basePath) : basePath(basePath) {
    ilInit();
    iluInit();
}

TextureLibrary::~TextureLibrary() {
    for (const auto& image : images) ilDeleteImages(1, &image.second);
}

TextureLibrary& TextureLibrary::instance() {
    assert(current && "startProcessLibraries creates the texture library");
    return *current;
}

boost::shared_ptr<Texture> TextureLibrary::getTexture(const std::string& name) {
    const std::string path = basePath + name;
    boost::shared_ptr<Texture>& cached = cache[path];
    if (cached) return cached;

    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    images[path] = image;
    bool loaded = ilLoadImage(const_cast<ILstring>(path.c_str())) == IL_TRUE;
    if (loaded && !uploadable(ilGetInteger(IL_IMAGE_FORMAT), ilGetInteger(IL_IMAGE_TYPE))) {
        loaded = ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE) == IL_TRUE;
    }
    const void* data = ilGetData();
    const int width = ilGetInteger(IL_IMAGE_WIDTH);
    const int height = ilGetInteger(IL_IMAGE_HEIGHT);
    for (ILenum error = ilGetError(); error != IL_NO_ERROR; error = ilGetError()) {
        std::cerr << "IL Error: " << error << ", " << iluErrorString(error) << std::endl;
        std::cerr << "texture file: " << path << std::endl;
        loaded = false;  // a short read leaves part of the pixels unread
    }
    if (loaded && data && width > 0 && height > 0) {
        cached.reset(new Texture(path, width, height, ilGetInteger(IL_IMAGE_FORMAT), ilGetInteger(IL_IMAGE_TYPE), data));
    } else {
        cached.reset(new Texture(path, 2, 2, GL_RGBA, GL_UNSIGNED_BYTE, placeholderPixels));
    }
    return cached;
}
