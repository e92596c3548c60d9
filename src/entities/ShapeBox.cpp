#include "entities/ShapeBox.h"

#include <BulletCollision/CollisionShapes/btCollisionShape.h>

ShapeBox::ShapeBox(const btCollisionShape& shape) {
    btTransform identity;
    identity.setIdentity();
    shape.getAabb(identity, min, max);
}
