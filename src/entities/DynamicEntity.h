#pragma once

#include "entities/Entity.h"

class btDefaultMotionState;
class btQuaternion;
class btRigidBody;

// A rigid body with mass, moved by the physics world (crates, barrels).
class DynamicEntity : public Entity {
public:
    DynamicEntity(Game* game, const btVector3& position, float mass, const btQuaternion& orientation, EntityKind kind,
                  boost::shared_ptr<Mesh> mesh, boost::shared_ptr<btCollisionShape> shape);
    ~DynamicEntity() override;

    void getWorldTransform(btTransform& out) const override;
    virtual btRigidBody* getRigidBody();

    btDefaultMotionState* motionState;  // owned
    btRigidBody* body;                  // owned
};
