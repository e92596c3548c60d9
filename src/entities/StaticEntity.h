#pragma once

#include "entities/Entity.h"

class btCollisionObject;
class btQuaternion;

// An immovable collision object: the track and fixed scenery.
class StaticEntity : public Entity {
public:
    StaticEntity(Game* game, const btVector3& position, const btQuaternion& orientation, EntityKind kind,
                 boost::shared_ptr<Mesh> mesh, boost::shared_ptr<btCollisionShape> shape);
    ~StaticEntity() override;

    void getWorldTransform(btTransform& out) const override;

    btCollisionObject* collisionObject;  // owned
};
