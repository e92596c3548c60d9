#pragma once

#include <cmath>

#include "entities/Entity.h"
#include "entities/KinematicCharacterController.h"

class btCollisionObject;
class btConvexShape;
class btPersistentManifold;
class btQuaternion;

// An entity moved by program control through the kinematic controller: vehicles and shells.
class CharacterEntity : public Entity, public vorbel::btKinematicCharacterController {
public:
    CharacterEntity(Game* game, const btVector3& position, EntityKind kind, const btQuaternion& rotation,
                    boost::shared_ptr<Mesh> mesh, boost::shared_ptr<btConvexShape> shape);
    ~CharacterEntity() override;

    void getWorldTransform(btTransform& out) const override;
    // Called once per contact manifold with at least one point; sign is +1 when this entity is body 0.
    virtual void onCollision(btPersistentManifold* manifold, float sign, const btCollisionObject* other,
                             EntityTag* otherTag, float dt) = 0;
    virtual btTransform& worldTransform();
    virtual void bounce(const btVector3& normal, float strength);
    virtual void hit(const btVector3& direction, float strength);
    // Tilts pitch and roll a fifth of the way towards the ground under the four probes.
    virtual void alignToGround();

    void updateAction(btCollisionWorld* world, btScalar dt) override;

    // A contact normal (pointing towards this entity) belongs to a wall unless it points mostly up
    // (ground) or mostly down. Nothing on a track lies above the karts: a normal pointing down is a
    // contact the detection found from behind a thin track triangle, and would push into the ground.
    static bool isWall(const btVector3& normal) { return std::fabs(normal.y()) < wallLimitY; }
    static constexpr float wallLimitY = 0.707f;

    static constexpr float stepHeightUnits = 0.35f;
    static constexpr float groundRayLength = 12.5f;

    btVector3 pushDirection;  // direction of the current knock-back
    float pushStrength;       // remaining knock-back, units per second, added to the motion
    float speed;              // forward speed, units per second
    float impulseFactor;      // scales impulses given to rigid bodies
    float yaw;                // heading about world Y, radians
    float pitch;              // ground-following angle about local X, radians
    float roll;               // ground-following angle about local Z, radians
    btVector3 groundProbes[4];  // body-space points under which the ground is probed

protected:
    void dispatchContacts(btCollisionWorld* world, float dt);
};
