#pragma once

#include <boost/shared_ptr.hpp>

struct Texture;

// A material: colours for the fixed-function lighting and an optional texture.
// The colour arrays are not owned; they live as long as the material library.
struct MeshPatchProperties {
    boost::shared_ptr<Texture> texture;
    const float* color = nullptr;  // sent with glColor4fv, matters only with lighting off
    const float* emissive = nullptr;
    const float* ambient = nullptr;
    const float* diffuse = nullptr;
    const float* specular = nullptr;
    float shininess = 0.0f;

    void apply() const;
};
