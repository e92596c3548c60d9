#include "PixelFont.h"

#include "Image.h"

namespace {

struct Glyph {
    char character;
    const char* rows[PixelFont::glyphHeight];  // top row first
};

const Glyph glyphs[] = {
    {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
    {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
    {'3', {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."}},
    {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
    {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
    {'6', {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."}},
    {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
    {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
    {'9', {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."}},
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
    {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'?', {".###.", "#...#", "....#", "...#.", "..#..", ".....", "..#.."}},
};

const Glyph* find(char c) {
    for (const Glyph& glyph : glyphs) {
        if (glyph.character == c) return &glyph;
    }
    return nullptr;
}

}  // namespace

void PixelFont::draw(Image& image, const std::string& text, int x, int y, int size, const Color& color) {
    for (char c : text) {
        if (const Glyph* glyph = find(c)) {
            for (int row = 0; row < glyphHeight; ++row) {
                for (int column = 0; column < glyphWidth; ++column) {
                    if (glyph->rows[row][column] != '#') continue;
                    const int px = x + column * size, py = y + (glyphHeight - 1 - row) * size;
                    image.fillRect(px, py, px + size, py + size, color);
                }
            }
        }
        x += (glyphWidth + 1) * size;
    }
}

int PixelFont::width(const std::string& text, int size) {
    return text.empty() ? 0 : static_cast<int>(text.size()) * (glyphWidth + 1) * size - size;
}
