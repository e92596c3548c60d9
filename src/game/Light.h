#pragma once

#include "entities/Renderable.h"

// One fixed-function light source; the colour arrays belong to the creator and must outlive the light.
class Light : public Renderable {
public:
    Light(const float* position, const float* ambient, const float* diffuse, const float* specular,
          float constantAttenuation, float linearAttenuation, float quadraticAttenuation, unsigned int lightId);

    void render() override;

    const float* position;  // homogeneous: w = 1 positional, w = 0 directional
    const float* ambient;
    const float* diffuse;
    const float* specular;
    float constantAttenuation;
    float linearAttenuation;
    float quadraticAttenuation;
    unsigned int lightId;  // GL_LIGHT0 upwards
};
