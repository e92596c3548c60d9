#include "assets/MeshPatchProperties.h"

#include <GL/gl.h>

void MeshPatchProperties::apply() const {
    if (ambient) glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
    if (diffuse) glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
    if (specular) glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, shininess);
    if (color) glColor4fv(color);
}
