#include "assets/Mesh.h"

#include <GL/gl.h>
#include <btBulletCollisionCommon.h>

#include "assets/MeshPatch.h"

Mesh::Mesh() {}

Mesh::~Mesh() = default;

void Mesh::addPatch(boost::shared_ptr<MeshPatch> patch) { patches.push_back(patch); }

void Mesh::render() {
    glPushMatrix();
    glScalef(scale[0], scale[1], scale[2]);
    if (nonUniformScale) {
        glEnable(GL_NORMALIZE);
    } else if (uniformScale) {
        glEnable(GL_RESCALE_NORMAL);
    }
    if (mirrored) glFrontFace(GL_CW);
    for (const boost::shared_ptr<MeshPatch>& patch : patches) patch->render();
    if (mirrored) glFrontFace(GL_CCW);
    if (nonUniformScale) {
        glDisable(GL_NORMALIZE);
    } else if (uniformScale) {
        glDisable(GL_RESCALE_NORMAL);
    }
    glPopMatrix();
}

float Mesh::getBoundingRadius() {
    if (radius < 0) {
        // Half the diagonal of the box around all vertices; a mesh without triangles has none.
        btVector3 sphereCentre;
        btScalar sphereRadius = 0;
        createTriangleMeshShape()->getBoundingSphere(sphereCentre, sphereRadius);
        radius = sphereRadius;
        setScale(scale[0], scale[1], scale[2]);
    }
    return scaledRadius;
}
