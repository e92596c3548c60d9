#pragma once

#include "items/Projectile.h"

// Runs straight at a fixed speed and bounces off walls; thrown backwards it lies still.
class GreenShell : public Projectile {
public:
    GreenShell(Game* game, const btVector3& position, float yaw, bool backwards);

    void onCollision(btPersistentManifold* manifold, float sign, const btCollisionObject* other,
                     EntityTag* otherTag, float dt) override;

    static void setShape(boost::shared_ptr<btConvexShape> shape);

    static boost::shared_ptr<Mesh> mesh;
    static boost::shared_ptr<btConvexShape> shape;
    static btVector3 halfExtents;
    static constexpr float speed = 100.0f;  // units per second

private:
    void wallRule(btPersistentManifold* manifold, float sign);
};
