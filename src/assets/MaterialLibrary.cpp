#include "assets/MaterialLibrary.h"

#include <cassert>
#include <fstream>
#include <iostream>

#include "assets/MeshPatchProperties.h"
#include "assets/TextureLibrary.h"

MaterialLibrary* MaterialLibrary::current = nullptr;

namespace {
const float defaultAmbient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
const float defaultDiffuse[4] = {0.2f, 0.2f, 0.2f, 1.0f};
const float defaultSpecular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
const float defaultEmissive[4] = {0.0f, 0.0f, 0.0f, 1.0f};
// Every material sends this colour; it only shows with lighting off.
const float materialColor[4] = {0.5f, 0.5f, 0.5f, 1.0f};
const float defaultShininess = 0.0f;

bool readNumbers(std::istream& stream, float* values, int count) {
    for (int i = 0; i < count; ++i) {
        if (!(stream >> values[i])) return false;
    }
    return true;
}
}  // namespace

MaterialLibrary::MaterialLibrary(const std::string& scriptPath) {
    boost::shared_ptr<MeshPatchProperties> fallback(new MeshPatchProperties());
    fallback->color = materialColor;
    fallback->emissive = defaultEmissive;
    fallback->ambient = defaultAmbient;
    fallback->diffuse = defaultDiffuse;
    fallback->specular = defaultSpecular;
    fallback->shininess = defaultShininess;
    materials[""] = fallback;

    std::ifstream script(scriptPath);
    if (!script) {
        std::cerr << "Could not open material file " << scriptPath << std::endl;
        return;
    }
    readScript(script);
}

MaterialLibrary& MaterialLibrary::instance() {
    assert(current && "startProcessLibraries creates the material library");
    return *current;
}

const float* MaterialLibrary::newColor(const float* values) {
    colorArrays.emplace_back(new float[4]{values[0], values[1], values[2], values[3]});
    return colorArrays.back().get();
}

void MaterialLibrary::readScript(std::istream& stream) {
    std::string name, textureName;
    int depth = 0;
    // Keys a block leaves out carry over from the blocks before it; before any block gave them,
    // the default material's values stand.
    const float* ambient = defaultAmbient;
    const float* diffuse = defaultDiffuse;
    const float* specular = defaultSpecular;
    const float* emissive = defaultEmissive;
    float shininess = defaultShininess;

    std::string token;
    while (stream >> token) {
        float values[5];
        if (token == "material") {
            if (!(stream >> name)) break;
        } else if (token == "{") {
            ++depth;
        } else if (token == "}") {
            if (--depth != 0) continue;
            boost::shared_ptr<MeshPatchProperties> material(new MeshPatchProperties());
            if (!textureName.empty()) material->texture = TextureLibrary::instance().getTexture(textureName);
            material->color = materialColor;
            material->emissive = emissive;
            material->ambient = ambient;
            material->diffuse = diffuse;
            material->specular = specular;
            material->shininess = shininess;
            materials[name] = material;
            textureName.clear();
        } else if (token == "ambient" || token == "diffuse" || token == "emissive") {
            // A value that is not a number ends the script; completed materials stay.
            if (!readNumbers(stream, values, 4)) break;
            const float* color = newColor(values);
            (token == "ambient" ? ambient : token == "diffuse" ? diffuse : emissive) = color;
        } else if (token == "specular") {
            if (!readNumbers(stream, values, 5)) break;
            specular = newColor(values);
            shininess = values[4];
        } else if (token == "texture") {
            if (!(stream >> textureName)) break;
        }
    }
}

boost::shared_ptr<MeshPatchProperties> MaterialLibrary::getMaterial(const std::string& name) {
    boost::shared_ptr<MeshPatchProperties>& material = materials[name];
    if (material) return material;
    std::cerr << "Material " << name << " not found, returning default." << std::endl;
    return materials[""];
}
