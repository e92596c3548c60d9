#include "frontend/ImageTexture.h"

#include <cstdint>
#include <vector>

#include <GL/gl.h>

#include "Image.h"

ImageTexture::~ImageTexture() {
    if (name != 0) glDeleteTextures(1, &name);
}

void ImageTexture::upload(const Image& image) {
    width = image.getWidth();
    height = image.getHeight();
    // Bottom row first, as the picture keeps them and OpenGL takes them.
    std::vector<uint8_t> pixels;
    pixels.reserve(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Color colour = image.get(x, y);
            for (double channel : {colour.r, colour.g, colour.b}) {
                pixels.push_back(static_cast<uint8_t>(channel * 255.0 + 0.5));
            }
        }
    }
    if (name == 0) glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    // One texel to a pixel: no filter blurs it, no mipmaps are wanted.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}

void ImageTexture::draw(int x, int y) const {
    if (name == 0) return;
    glBindTexture(GL_TEXTURE_2D, name);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBegin(GL_QUADS);
    glTexCoord2i(0, 0);
    glVertex2i(x, y);
    glTexCoord2i(1, 0);
    glVertex2i(x + width, y);
    glTexCoord2i(1, 1);
    glVertex2i(x + width, y + height);
    glTexCoord2i(0, 1);
    glVertex2i(x, y + height);
    glEnd();
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glDisable(GL_TEXTURE_2D);
}
