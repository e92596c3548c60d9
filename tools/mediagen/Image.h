#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// An RGB colour with channels in [0, 1].
struct Color {
    double r = 0;
    double g = 0;
    double b = 0;

    Color operator*(double k) const { return {r * k, g * k, b * k}; }
    Color operator+(const Color& o) const { return {r + o.r, g + o.g, b + o.b}; }
    // The colour a share `t` of the way towards `other`.
    Color mix(const Color& other, double t) const { return *this * (1 - t) + other * t; }
    // Fully saturated colour of the given hue (0 to 1 around the colour wheel), softened towards
    // white by 1 - `saturation`.
    static Color hue(double h, double saturation);
};

// A 24-bit picture. Row 0 is the bottom row: texture coordinate v = 0, as OpenGL takes the first row.
class Image {
public:
    Image(int width, int height);

    int getWidth() const { return width; }
    int getHeight() const { return height; }

    // Coordinates wrap around, so patterns drawn across an edge continue on the other side.
    void set(int x, int y, const Color& color);
    Color get(int x, int y) const;
    void blend(int x, int y, const Color& color, double alpha);
    void fillRect(int x0, int y0, int x1, int y1, const Color& color);
    void fillCircle(double cx, double cy, double radius, const Color& color);
    // Sets every pixel from its texture coordinates (pixel centres, in [0, 1)).
    void paint(const std::function<Color(double u, double v)>& painter);

    // Uncompressed true-colour TGA, bottom-left origin. Returns false when the file cannot be written.
    bool saveTga(const std::string& path) const;
    // True-colour PNG, compressed. Returns false when the file cannot be written.
    bool savePng(const std::string& path) const;

private:
    size_t offset(int x, int y) const;

    int width;
    int height;
    std::vector<uint8_t> rgb;
};
