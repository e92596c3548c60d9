#pragma once

#include <string>

struct CircuitLook;

// Paints every texture the material script names, procedurally, as uncompressed TGA files with
// power-of-two sizes. Patterns that repeat over a surface tile without seams.
class TexturePainter {
public:
    // Writes the textures into `directory`, the ground, kerbs and barriers in the colours of
    // `look`; returns false if a file cannot be written.
    static bool paintAll(const std::string& directory, const CircuitLook& look);
    // Number of files paintAll writes.
    static int count();
};
