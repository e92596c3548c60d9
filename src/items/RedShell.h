#pragma once

#include "items/Projectile.h"

class Vehicle;

// Chases a target vehicle, turning towards it a little every sub-step.
class RedShell : public Projectile {
public:
    RedShell(Game* game, const btVector3& position, float yaw, Vehicle* target);

    void onCollision(btPersistentManifold* manifold, float sign, const btCollisionObject* other,
                     EntityTag* otherTag, float dt) override;
    void updateAction(btCollisionWorld* world, btScalar dt) override;

    static void setShape(boost::shared_ptr<btConvexShape> shape);

    Vehicle* target;  // not owned; vehicles outlive every shell

    static boost::shared_ptr<Mesh> mesh;
    static boost::shared_ptr<btConvexShape> shape;
    static btVector3 halfExtents;
    static constexpr float speed = 100.0f;     // units per second
    static constexpr float turnStep = 0.04f;   // radians per sub-step

private:
    void wallRule(btPersistentManifold* manifold, float sign);
};
