#pragma once

class Image;

// A picture the generator's code drew, as an OpenGL texture drawn one texel to a window pixel.
// Created and used with the OpenGL context current.
class ImageTexture {
public:
    ImageTexture() = default;
    // Deletes the texture: the context must be current.
    ~ImageTexture();
    ImageTexture(const ImageTexture&) = delete;
    ImageTexture& operator=(const ImageTexture&) = delete;

    // Takes the picture's pixels in place of any held before.
    void upload(const Image& image);
    // Draws the picture with its lower left corner at window pixel (x, y); nothing before an upload.
    void draw(int x, int y) const;
    bool empty() const { return name == 0; }

private:
    unsigned int name = 0;  // GL texture name, 0 until the first upload
    int width = 0;          // pixels
    int height = 0;
};
