#include "game/Light.h"

#include <GL/gl.h>

Light::Light(const float* position, const float* ambient, const float* diffuse, const float* specular,
             float constantAttenuation, float linearAttenuation, float quadraticAttenuation, unsigned int lightId)
    : position(position),
      ambient(ambient),
      diffuse(diffuse),
      specular(specular),
      constantAttenuation(constantAttenuation),
      linearAttenuation(linearAttenuation),
      quadraticAttenuation(quadraticAttenuation),
      lightId(lightId) {}

void Light::render() {
    glLightfv(lightId, GL_POSITION, position);
    glLightfv(lightId, GL_AMBIENT, ambient);
    glLightfv(lightId, GL_DIFFUSE, diffuse);
    glLightfv(lightId, GL_SPECULAR, specular);
    glLightf(lightId, GL_CONSTANT_ATTENUATION, constantAttenuation);
    glLightf(lightId, GL_LINEAR_ATTENUATION, linearAttenuation);
    glLightf(lightId, GL_QUADRATIC_ATTENUATION, quadraticAttenuation);
    glEnable(lightId);
}
