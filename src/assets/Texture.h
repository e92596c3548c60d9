#pragma once

#include <string>

#include <boost/shared_array.hpp>

// A decoded image, uploaded to OpenGL on its first bind.
struct Texture {
    Texture(const std::string& name, int width, int height, int format, int type,
            const boost::shared_array<const unsigned char>& data);
    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // Makes this texture current, uploading it first if needed. Only the binding, so that a display
    // list recording it does not pin the filters of that moment.
    void bind();
    void upload();
    // Gives the texture object the present filters; it keeps them until the next change.
    void applyFilters();

    std::string name;  // path the image was read from
    unsigned int id;   // GL texture name, 0 until uploaded
    bool uploaded;
    int width;
    int height;
    int format;  // GL pixel format of data
    int type;    // GL pixel type of data
    boost::shared_array<const unsigned char> data;  // pixels, rows tightly packed
};
