#pragma once

#include <string>
#include <vector>

// One material of the script: colours for the fixed-function lighting and an optional texture.
struct MaterialDefinition {
    std::string name;
    double ambient[3];
    double diffuse[3];
    double specular[3];
    double shininess;     // specular exponent, 0 to 128
    std::string texture;  // file in the texture folder, or empty
};

// Every material the generated meshes name, and the material script ("Scene.material") that
// defines them. The game's light is white (diffuse 0.9, ambient 0.2 plus a global 0.2) and
// textures are multiplied by the lit colour, so textured materials are nearly white.
class MaterialCatalog {
public:
    static const std::vector<MaterialDefinition>& all();
    static std::string script();
};
