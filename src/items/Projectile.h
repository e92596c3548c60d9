#pragma once

#include <vector>

#include "entities/CharacterEntity.h"

// A shell: moved by the controller, knocked by what it touches, gone 3 s after its first knock.
class Projectile : public CharacterEntity {
public:
    ~Projectile() override;

    void hit(const btVector3& direction, float strength) override;
    void updateAction(btCollisionWorld* world, btScalar dt) override;

    float launchSpeed;  // units per second
    bool wasHit;        // knocked at least once
    float timeLeft;     // seconds until it disappears, counting once knocked
    float lifetime;

    static std::vector<Projectile*> allProjectiles;  // in order of creation
    static constexpr size_t maxProjectiles = 10;
    static constexpr float knockStrength = 50.0f;

protected:
    Projectile(Game* game, const btVector3& position, float yaw, boost::shared_ptr<Mesh> mesh,
               boost::shared_ptr<btConvexShape> shape);

    // Unit vector from this shell to the other object; knocks a touched vehicle or shell.
    btVector3 directionTo(const btCollisionObject* other) const;
    void knockVehicle(EntityTag* otherTag, const btVector3& towardsOther);
    void knockProjectiles(EntityTag* otherTag, const btVector3& towardsOther);
};
