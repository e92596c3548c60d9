#include "Image.h"

#include <algorithm>
#include <cmath>
#include <fstream>

#include <zlib.h>

#include "PortableMath.h"

namespace {

uint8_t toByte(double channel) {
    return static_cast<uint8_t>(std::lround(std::max(0.0, std::min(1.0, channel)) * 255.0));
}

const int tgaHeaderSize = 18;
const uint8_t tgaTrueColor = 2;
const uint8_t tgaBitsPerPixel = 24;

const uint8_t pngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
const uint8_t pngBitDepth = 8;
const uint8_t pngTrueColour = 2;
const uint8_t pngNoFilter = 0;

void appendBigEndian(std::vector<uint8_t>& bytes, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<uint8_t>(value >> shift));
}

// A chunk: length, type, data and the CRC-32 of type and data.
void appendChunk(std::vector<uint8_t>& file, const char* type, const std::vector<uint8_t>& data) {
    appendBigEndian(file, static_cast<uint32_t>(data.size()));
    const size_t typeStart = file.size();
    file.insert(file.end(), type, type + 4);
    file.insert(file.end(), data.begin(), data.end());
    const uLong crc = crc32(0, file.data() + typeStart, static_cast<uInt>(file.size() - typeStart));
    appendBigEndian(file, static_cast<uint32_t>(crc));
}

}  // namespace

Color Color::hue(double h, double saturation) {
    const double turn = h - std::floor(h);
    const double r = std::fabs(turn * 6 - 3) - 1;
    const double g = 2 - std::fabs(turn * 6 - 2);
    const double b = 2 - std::fabs(turn * 6 - 4);
    auto clamp = [](double c) { return std::max(0.0, std::min(1.0, c)); };
    return Color{1, 1, 1}.mix({clamp(r), clamp(g), clamp(b)}, saturation);
}

Image::Image(int width, int height)
    : width(width), height(height), rgb(static_cast<size_t>(width) * static_cast<size_t>(height) * 3, 0) {}

size_t Image::offset(int x, int y) const {
    x = ((x % width) + width) % width;
    y = ((y % height) + height) % height;
    return (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
}

void Image::set(int x, int y, const Color& color) {
    const size_t i = offset(x, y);
    rgb[i] = toByte(color.r);
    rgb[i + 1] = toByte(color.g);
    rgb[i + 2] = toByte(color.b);
}

Color Image::get(int x, int y) const {
    const size_t i = offset(x, y);
    return {rgb[i] / 255.0, rgb[i + 1] / 255.0, rgb[i + 2] / 255.0};
}

void Image::blend(int x, int y, const Color& color, double alpha) { set(x, y, get(x, y).mix(color, alpha)); }

void Image::fillRect(int x0, int y0, int x1, int y1, const Color& color) {
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) set(x, y, color);
    }
}

void Image::fillCircle(double cx, double cy, double radius, const Color& color) {
    const int x0 = static_cast<int>(std::floor(cx - radius)), x1 = static_cast<int>(std::ceil(cx + radius));
    const int y0 = static_cast<int>(std::floor(cy - radius)), y1 = static_cast<int>(std::ceil(cy + radius));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const double d = portable::hypot(x + 0.5 - cx, y + 0.5 - cy);
            // One pixel of soft edge keeps round shapes from looking jagged.
            const double coverage = std::max(0.0, std::min(1.0, radius - d + 0.5));
            if (coverage > 0) blend(x, y, color, coverage);
        }
    }
}

void Image::paint(const std::function<Color(double u, double v)>& painter) {
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) set(x, y, painter((x + 0.5) / width, (y + 0.5) / height));
    }
}

bool Image::saveTga(const std::string& path) const {
    uint8_t header[tgaHeaderSize] = {};
    header[2] = tgaTrueColor;
    header[12] = static_cast<uint8_t>(width & 0xFF);
    header[13] = static_cast<uint8_t>(width >> 8);
    header[14] = static_cast<uint8_t>(height & 0xFF);
    header[15] = static_cast<uint8_t>(height >> 8);
    header[16] = tgaBitsPerPixel;
    // Descriptor 0: rows run from the bottom up, as stored here.
    std::vector<uint8_t> bgr(rgb.size());
    for (size_t i = 0; i < rgb.size(); i += 3) {
        bgr[i] = rgb[i + 2];
        bgr[i + 1] = rgb[i + 1];
        bgr[i + 2] = rgb[i];
    }
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(header), tgaHeaderSize);
    file.write(reinterpret_cast<const char*>(bgr.data()), static_cast<std::streamsize>(bgr.size()));
    return static_cast<bool>(file);
}

bool Image::savePng(const std::string& path) const {
    // Rows from the top down, each led by its filter type.
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    std::vector<uint8_t> raw;
    raw.reserve((rowBytes + 1) * static_cast<size_t>(height));
    for (int y = height - 1; y >= 0; --y) {
        raw.push_back(pngNoFilter);
        const auto row = rgb.begin() + static_cast<long>(static_cast<size_t>(y) * rowBytes);
        raw.insert(raw.end(), row, row + static_cast<long>(rowBytes));
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), Z_BEST_COMPRESSION) != Z_OK) {
        return false;
    }
    packed.resize(packedSize);

    std::vector<uint8_t> header;
    appendBigEndian(header, static_cast<uint32_t>(width));
    appendBigEndian(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {pngBitDepth, pngTrueColour, 0, 0, 0});  // deflate, adaptive filters, no interlace
    std::vector<uint8_t> file(std::begin(pngSignature), std::end(pngSignature));
    appendChunk(file, "IHDR", header);
    appendChunk(file, "IDAT", packed);
    appendChunk(file, "IEND", {});
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    return static_cast<bool>(out);
}
