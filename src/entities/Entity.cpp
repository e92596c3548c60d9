#include "entities/Entity.h"

#include <GL/gl.h>
#include <LinearMath/btTransform.h>

#include "assets/Mesh.h"

Entity::Entity(Game* game, EntityKind kind, boost::shared_ptr<Mesh> mesh, boost::shared_ptr<btCollisionShape> shape)
    : game(game), tag(new EntityTag{kind, this}), mesh(mesh), shape(shape) {}

Entity::~Entity() {
    delete tag;
    shape.reset();
    mesh.reset();
}

void Entity::render() {
    glPushMatrix();
    btTransform transform;
    getWorldTransform(transform);
    btScalar matrix[16];
    transform.getOpenGLMatrix(matrix);
    glMultMatrixf(matrix);
    if (mesh) mesh->render();
    glPopMatrix();
}

float Entity::getBoundingRadius() { return mesh ? mesh->getBoundingRadius() : 0.0f; }

btVector3 Entity::getBoundingCenter() {
    btTransform transform;
    getWorldTransform(transform);
    return transform.getOrigin();
}
