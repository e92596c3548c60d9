// Texture files: any bytes, under one of the extensions the image library knows (chosen by the
// first byte), decoded as the game decodes them: in the decoder process, which is a fork of this one.
#include <csignal>
#include <cstdint>
#include <string>

#include <pthread.h>
#include <sanitizer/common_interface_defs.h>

#include "FuzzMedia.h"
#include "assets/ImageDecoderProcess.h"
#include "assets/Texture.h"
#include "assets/TextureLibrary.h"

namespace {

const char* const extensions[] = {"tga", "bmp", "png", "jpg", "pcx", "dds", "gif",
                                  "ico", "psd", "pnm", "sgi", "tif", "hdr", "xpm"};
const size_t extensionCount = sizeof(extensions) / sizeof(extensions[0]);

// A decoder process that faults should just end, as it does in the game, where the game shows a
// placeholder: that is what this target checks. The fuzzer's and the sanitizers' reports from such
// a child would leave crash files behind that the game never sees.
void quietChild() {
    __sanitizer_set_death_callback(nullptr);
    for (int fault : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) std::signal(fault, SIG_DFL);
}

}  // namespace

// As in the game, an allocation the child's memory limit refuses returns null to the image library.
// A short quarantine, so that this process keeps little more than the one image it holds.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1:quarantine_size_mb=16"; }

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    pthread_atfork(nullptr, nullptr, quietChild);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const TestMedia& media = FuzzMedia::started().media;
    const std::string name = std::string("fuzz.") + extensions[data[0] % extensionCount];
    media.write("textures/" + name, FuzzMedia::text(data + 1, size - 1));

    // A library of the run's own, so that its image and its decoder process go with the run.
    TextureLibrary library(media.textures());
    boost::shared_ptr<Texture> texture = library.getTexture(name);
    // No larger than a texture may be, and the upload reads every pixel the record claims.
    const int maxSide = ImageDecoderProcess::maxSide;
    const int bytesPerPixel = DecodedImage::bytesPerPixel(texture->format, texture->type);
    if (texture->width <= 0 || texture->height <= 0 || texture->width > maxSide || texture->height > maxSide ||
        bytesPerPixel == 0 || !texture->data) {
        __builtin_trap();
    }
    const size_t bytes = size_t(texture->width) * size_t(texture->height) * size_t(bytesPerPixel);
    volatile uint8_t sink = 0;
    for (size_t i = 0; i < bytes; i += 64) sink = sink + texture->data[i];
    sink = sink + texture->data[bytes - 1];
    return 0;
}
