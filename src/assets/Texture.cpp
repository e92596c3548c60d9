#include "assets/Texture.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "game/RenderSettings.h"

namespace {
const int maxMipmapLevel = 5;
}  // namespace

Texture::Texture(const std::string& name, int width, int height, int format, int type,
                 const boost::shared_array<const unsigned char>& data)
    : name(name), id(0), uploaded(false), width(width), height(height), format(format), type(type), data(data) {}

Texture::~Texture() {
    if (id != 0) glDeleteTextures(1, &id);
}

void Texture::upload() {
    glGenTextures(1, &id);
    applyFilters();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, maxMipmapLevel);
    // Rows of RGB images need not be 4-byte multiples: read them tightly packed.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, width, height, static_cast<GLenum>(format), static_cast<GLenum>(type),
                      data.get());
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    uploaded = true;
}

void Texture::bind() {
    if (!uploaded) upload();
    glBindTexture(GL_TEXTURE_2D, id);
}

void Texture::applyFilters() {
    glBindTexture(GL_TEXTURE_2D, id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(renderSettings.minFilter));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(renderSettings.magFilter));
}
