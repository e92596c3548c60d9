// Texture files: any bytes, under one of the extensions the image library knows (chosen by the
// first byte), decoded as the game decodes them.
#include <cstdint>
#include <string>

#include <GL/gl.h>

#include "FuzzMedia.h"
#include "assets/Texture.h"
#include "assets/TextureLibrary.h"

namespace {

const char* const extensions[] = {"tga", "bmp", "png", "jpg", "pcx", "dds", "gif",
                                  "ico", "psd", "pnm", "sgi", "tif", "hdr", "xpm"};
const size_t extensionCount = sizeof(extensions) / sizeof(extensions[0]);
const int maxSide = 4096;  // pixels: no texture may be larger

int bytesPerPixel(int format) {
    switch (format) {
        case GL_LUMINANCE: return 1;
        case GL_LUMINANCE_ALPHA: return 2;
        case GL_RGB:
        case GL_BGR: return 3;
        default: return 4;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const FuzzMedia& media = FuzzMedia::started();
    const std::string name = std::string("fuzz.") + extensions[data[0] % extensionCount];
    media.write("textures/" + name, FuzzMedia::text(data + 1, size - 1));

    // A library of the run's own, so that its image goes with the run.
    TextureLibrary library(media.textures());
    boost::shared_ptr<Texture> texture = library.getTexture(name);
    // No larger than a texture may be, and the upload reads every pixel the record claims.
    if (texture->width <= 0 || texture->height <= 0 || texture->width > maxSide || texture->height > maxSide ||
        !texture->data) {
        __builtin_trap();
    }
    const uint8_t* pixels = static_cast<const uint8_t*>(texture->data);
    const size_t bytes = size_t(texture->width) * size_t(texture->height) * size_t(bytesPerPixel(texture->format));
    volatile uint8_t sink = 0;
    for (size_t i = 0; i < bytes; i += 64) sink = sink + pixels[i];
    sink = sink + pixels[bytes - 1];
    return 0;
}
