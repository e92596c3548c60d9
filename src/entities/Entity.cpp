#include "entities/Entity.h"

#include <GL/gl.h>
#include <LinearMath/btTransform.h>

#include "assets/Mesh.h"

Entity::Entity(Game* game, EntityKind kind, boost::shared_ptr<Mesh> mesh, boost::shared_ptr<btCollisionShape> shape)
    : game(game), tag(new EntityTag{kind, this}), mesh(mesh), shape(shape) {}

// The shape, then the mesh, are released after this, in reverse order of declaration.
Entity::~Entity() { delete tag; }

void Entity::render() {
    glPushMatrix();
    multiplyWorldTransform();
    if (mesh) mesh->render();
    glPopMatrix();
}

void Entity::multiplyWorldTransform() const {
    btTransform transform;
    getWorldTransform(transform);
    btScalar matrix[16];
    transform.getOpenGLMatrix(matrix);
    glMultMatrixf(matrix);
}

float Entity::getBoundingRadius() { return mesh ? mesh->getBoundingRadius() : 0.0f; }

btVector3 Entity::getBoundingCenter() {
    btTransform transform;
    getWorldTransform(transform);
    return transform.getOrigin();
}
