#pragma once

#include <string>

class Image;
struct Color;

// A 5 by 7 block font with the few characters the pictures need: the game's name, "?" and digits.
class PixelFont {
public:
    static constexpr int glyphWidth = 5;
    static constexpr int glyphHeight = 7;

    // Draws `text` with its lower left corner at (x, y), each font pixel `size` image pixels wide,
    // one font pixel of space between characters. Unknown characters are left blank.
    static void draw(Image& image, const std::string& text, int x, int y, int size, const Color& color);
    // Image pixels `text` takes across at `size`.
    static int width(const std::string& text, int size);
};
