#include "TexturePainter.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "Circuit.h"
#include "Image.h"
#include "MediaNames.h"
#include "PixelFont.h"
#include "PortableMath.h"
#include "Random.h"
#include "TileNoise.h"

namespace {

const double pi = 3.14159265358979323846;

struct TextureJob {
    const char* file;
    std::function<Image(const CircuitLook&)> paint;
};

double fraction(double x) { return x - std::floor(x); }

Color grey(double value) { return {value, value, value}; }


// Scatters single lighter and darker pixels, like grit in a surface.
void speckle(Image& image, uint64_t seed, double share, double light, double dark) {
    Random random(seed);
    const int count = static_cast<int>(image.getWidth() * image.getHeight() * share);
    for (int i = 0; i < count; ++i) {
        const int x = static_cast<int>(random.next() % static_cast<uint32_t>(image.getWidth()));
        const int y = static_cast<int>(random.next() % static_cast<uint32_t>(image.getHeight()));
        image.blend(x, y, grey(i % 2 ? light : dark), 0.6);
    }
}

Image asphalt() {
    Image image(256, 256);
    const TileNoise noise(16, 11);
    image.paint([&](double u, double v) {
        const double g = 0.34 + (noise.fractal(u, v, 4) - 0.5) * 0.14;
        return Color{g, g, g * 1.04};
    });
    speckle(image, 12, 0.08, 0.58, 0.16);
    return image;
}

Image kerb(const CircuitLook& look) {
    Image image(64, 64);
    const TileNoise noise(8, 13);
    image.paint([&](double u, double v) {
        const Color stripe = fraction(v * 2) < 0.5 ? look.kerbStripe : grey(0.95);
        return stripe * (0.94 + 0.08 * noise.fractal(u, v, 3));
    });
    return image;
}

Image startLine() {
    Image image(128, 128);
    image.paint([](double u, double v) {
        const bool white = (static_cast<int>(u * 2) + static_cast<int>(v * 2)) % 2 == 0;
        return grey(white ? 0.97 : 0.06);
    });
    return image;
}

Image barrier(const CircuitLook& look) {
    // u runs along the track (one coloured and one white panel per tile), v up the wall; the lowest
    // fifth lies below the road.
    Image image(128, 128);
    const TileNoise noise(8, 17);
    image.paint([&](double u, double v) {
        Color panel = fraction(u) < 0.5 ? look.barrierPanel : grey(0.96);
        if (v < 0.28) panel = grey(0.25);
        if (std::fabs(fraction(u * 2) - 0.5) > 0.485) panel = grey(0.3);
        return panel * (0.92 + 0.1 * noise.fractal(u, v, 3));
    });
    return image;
}

Image concrete() {
    Image image(128, 128);
    const TileNoise noise(8, 19);
    image.paint([&](double u, double v) { return grey(0.66 + (noise.fractal(u, v, 4) - 0.5) * 0.16); });
    speckle(image, 20, 0.04, 0.8, 0.45);
    return image;
}

Image grass(const CircuitLook& look) {
    Image image(256, 256);
    const TileNoise broad(4, 23), fine(32, 24);
    image.paint([&](double u, double v) {
        const double patch = broad.fractal(u, v, 3);
        const double blade = fine.at(u, v);
        return look.grassLush.mix(look.grassDry, std::max(0.0, patch - 0.45) * 1.6)
            .mix(look.grassDark, std::max(0.0, 0.45 - blade) * 0.8);
    });
    Random random(25);
    for (int i = 0; i < 2200; ++i) {
        const int x = static_cast<int>(random.next() % 256), y = static_cast<int>(random.next() % 256);
        image.blend(x, y, i % 3 ? look.bladeLight : look.bladeDark, 0.7);
        image.blend(x, y + 1, i % 3 ? look.bladeLight : look.bladeDark, 0.5);
    }
    return image;
}

Image kart() {
    // Seen from above the kart runs along v; a white stripe with blue edges goes down its middle.
    Image image(128, 128);
    image.paint([](double u, double v) {
        const double fromMiddle = std::fabs(u - 0.5);
        if (fromMiddle < 0.09) return grey(0.97);
        if (fromMiddle < 0.12) return Color{0.1, 0.2, 0.75};
        const Color orange{1.0, 0.52, 0.04};
        // A slightly darker sheen towards the sides gives the body some shape.
        return orange * (1.0 - 0.18 * fromMiddle) * (0.96 + 0.04 * portable::cos(v * 2 * pi));
    });
    return image;
}

Image tyre() {
    // u around the tyre, v across its tread.
    Image image(64, 64);
    image.paint([](double u, double v) {
        const bool groove = fraction(u * 16) < 0.35 && v > 0.15 && v < 0.85;
        const bool shoulder = v < 0.08 || v > 0.92;
        return grey(groove ? 0.06 : shoulder ? 0.17 : 0.13);
    });
    return image;
}

// Hexagonal plates with dark seams, for the shells.
Image shellPlates(const Color& plate, const Color& seam) {
    Image image(128, 128);
    const int columns = 4, rows = 4;
    std::vector<std::pair<double, double>> centres;
    for (int j = 0; j < rows; ++j) {
        for (int i = 0; i < columns; ++i) centres.push_back({(i + 0.5 * (j % 2) + 0.25) / columns, (j + 0.5) / rows});
    }
    image.paint([&](double u, double v) {
        double nearest = 1e9, second = 1e9;
        for (const auto& centre : centres) {
            double du = std::fabs(u - centre.first), dv = std::fabs(v - centre.second);
            du = std::min(du, 1 - du);
            dv = std::min(dv, 1 - dv);
            const double d = portable::hypot(du, dv);
            if (d < nearest) {
                second = nearest;
                nearest = d;
            } else if (d < second) {
                second = d;
            }
        }
        if (second - nearest < 0.018) return seam;
        return plate * (1.15 - nearest * 2.2);
    });
    return image;
}

Image itemField() {
    // Rainbow stripes with a white frame and a big question mark: the top of a pick-up field.
    Image image(128, 128);
    image.paint([](double u, double v) {
        const double border = std::min(std::min(u, 1 - u), std::min(v, 1 - v));
        if (border < 0.05) return grey(1.0);
        if (border < 0.075) return grey(0.1);
        return Color::hue((u + v) * 1.5, 0.85);
    });
    const int size = 14;
    const int x = (128 - PixelFont::width("?", size)) / 2;
    const int y = (128 - PixelFont::glyphHeight * size) / 2;
    PixelFont::draw(image, "?", x + 3, y - 3, size, grey(0.1));
    PixelFont::draw(image, "?", x, y, size, grey(1.0));
    return image;
}

Image crate() {
    Image image(128, 128);
    const TileNoise grain(16, 29);
    const Color wood{0.66, 0.45, 0.22}, frame{0.48, 0.31, 0.14};
    image.paint([&](double u, double v) {
        const double g = grain.fractal(u * 0.25 + fraction(v * 4) * 0.5, v, 3);
        Color c = wood * (0.85 + 0.3 * g);
        if (fraction(v * 4) < 0.04) c = wood * 0.45;  // gaps between the boards
        const double edge = std::min(std::min(u, 1 - u), std::min(v, 1 - v));
        if (edge < 0.1 || std::fabs(u - v) < 0.07) c = frame * (0.85 + 0.3 * g);
        if (edge < 0.015) c = frame * 0.5;
        return c;
    });
    return image;
}

Image barrel() {
    // u around the barrel, v up its side: red with two ribs and a hazard band.
    Image image(128, 128);
    image.paint([](double u, double v) {
        if (std::fabs(v - 0.5) < 0.08) {
            return fraction((u * 8 + v * 2)) < 0.5 ? Color{0.98, 0.8, 0.05} : grey(0.08);
        }
        const double rib = std::min(std::fabs(v - 0.22), std::fabs(v - 0.78));
        const Color red{0.78, 0.1, 0.07};
        if (rib < 0.025) return red * 0.6;
        if (v < 0.03 || v > 0.97) return red * 0.5;
        return red * (0.9 + 0.1 * portable::cos(u * 2 * pi * 8));
    });
    return image;
}

Image bark() {
    Image image(64, 64);
    const TileNoise streaks(8, 31), fine(16, 32);
    image.paint([&](double u, double v) {
        const double s = streaks.at(u, v * 0.125 + 0.3 * fine.at(u, v));
        return Color{0.42, 0.27, 0.14} * (0.65 + 0.5 * s);
    });
    return image;
}

Image needles() {
    Image image(128, 128);
    const TileNoise noise(16, 37);
    image.paint([&](double u, double v) {
        const double n = noise.fractal(u, v, 4);
        return Color{0.07, 0.3, 0.12} * (0.7 + 0.6 * n);
    });
    speckle(image, 38, 0.06, 0.35, 0.02);
    return image;
}

Image crown() {
    Image image(128, 128);
    const TileNoise clumps(8, 41), fine(32, 42);
    image.paint([&](double u, double v) {
        const double c = clumps.fractal(u, v, 3), f = fine.at(u, v);
        const Color leaf{0.22, 0.56, 0.14};
        return leaf * (0.6 + 0.7 * c) * (0.85 + 0.3 * f);
    });
    return image;
}

Image rock() {
    Image image(128, 128);
    const TileNoise noise(8, 43), cracks(4, 44);
    image.paint([&](double u, double v) {
        const double n = noise.fractal(u, v, 5);
        double g = 0.42 + (n - 0.5) * 0.35;
        if (std::fabs(cracks.fractal(u, v, 3) - 0.5) < 0.012) g *= 0.55;
        return Color{g, g * 0.97, g * 0.92};
    });
    return image;
}

Image crowd() {
    // Rows of spectators: shirts in many colours and faces, on the dark stand.
    Image image(128, 128);
    image.paint([](double, double) { return grey(0.16); });
    Random random(47);
    const int rows = 8, perRow = 16;
    for (int row = 0; row < rows; ++row) {
        for (int i = 0; i < perRow; ++i) {
            const double x = (i + 0.5 + random.range(-0.2, 0.2)) * 128.0 / perRow;
            const double y = (row + 0.35) * 128.0 / rows;
            image.fillCircle(x, y, 3.2, Color::hue(random.uniform(), random.range(0.5, 0.9)));
            image.fillCircle(x, y + 5.5, 2.2, Color{0.93, 0.74, 0.58}.mix({0.45, 0.3, 0.2}, random.uniform()));
        }
    }
    return image;
}

Image banner() {
    // The start banner: checkered ends and the game's name.
    Image image(512, 64);
    const int square = 8, checkerWidth = 48;
    image.paint([](double, double) { return Color{0.06, 0.1, 0.42}; });
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < checkerWidth; ++x) {
            const Color c = grey(((x / square) + (y / square)) % 2 ? 0.05 : 0.97);
            image.set(x, y, c);
            image.set(511 - x, y, c);
        }
    }
    const std::string text = "VORBEL RACE";
    const int size = 5;
    PixelFont::draw(image, text, (512 - PixelFont::width(text, size)) / 2, (64 - PixelFont::glyphHeight * size) / 2,
                    size, grey(0.98));
    return image;
}

const std::vector<TextureJob>& jobs() {
    // Painters that take no look ignore it.
    auto plain = [](Image (*painter)()) { return [painter](const CircuitLook&) { return painter(); }; };
    static const std::vector<TextureJob> list = {
        {texture::asphalt, plain(asphalt)},
        {texture::kerb, kerb},
        {texture::startLine, plain(startLine)},
        {texture::barrier, barrier},
        {texture::concrete, plain(concrete)},
        {texture::grass, grass},
        {texture::kart, plain(kart)},
        {texture::tyre, plain(tyre)},
        {texture::greenShell, [](const CircuitLook&) { return shellPlates({0.25, 0.8, 0.2}, {0.04, 0.25, 0.05}); }},
        {texture::redShell, [](const CircuitLook&) { return shellPlates({0.95, 0.15, 0.1}, {0.35, 0.02, 0.02}); }},
        {texture::itemField, plain(itemField)},
        {texture::crate, plain(crate)},
        {texture::barrel, plain(barrel)},
        {texture::bark, plain(bark)},
        {texture::needles, plain(needles)},
        {texture::crown, plain(crown)},
        {texture::rock, plain(rock)},
        {texture::crowd, plain(crowd)},
        {texture::banner, plain(banner)},
    };
    return list;
}

}  // namespace

bool TexturePainter::paintAll(const std::string& directory, const CircuitLook& look) {
    bool written = true;
    for (const TextureJob& job : jobs()) written = job.paint(look).saveTga(directory + "/" + job.file) && written;
    return written;
}

int TexturePainter::count() { return static_cast<int>(jobs().size()); }
