#pragma once

#include <map>
#include <string>

#include <boost/shared_ptr.hpp>

#include "assets/ImageDecoderProcess.h"

struct Texture;

// Decodes every image file once and keeps it by path.
class TextureLibrary {
public:
    explicit TextureLibrary(const std::string& basePath);
    TextureLibrary(const TextureLibrary&) = delete;
    TextureLibrary& operator=(const TextureLibrary&) = delete;
    static TextureLibrary& instance();

    boost::shared_ptr<Texture> getTexture(const std::string& name);
    // Gives every uploaded texture the present filters; the others take them when they upload.
    void applyFilters();

private:
    friend void startProcessLibraries(const std::string& mediaPrefix);
    friend void stopProcessLibraries();
    static TextureLibrary* current;

    std::string basePath;
    std::map<std::string, boost::shared_ptr<Texture>> cache;
    ImageDecoderProcess decoder;  // a hostile file may crash the image library, loop or ask for gigabytes
};
