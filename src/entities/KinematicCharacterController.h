#pragma once

#include <BulletDynamics/Character/btCharacterControllerInterface.h>
#include <LinearMath/btAlignedObjectArray.h>
#include <LinearMath/btVector3.h>

class btCollisionWorld;
class btConvexShape;
class btPairCachingGhostObject;
class btPersistentManifold;

namespace vorbel {

// Moves a convex shape held by a ghost object through the world by sweeps: recovers from
// penetrations, steps up, slides along walls and falls with a constant gravity.
// Kept in a namespace because Bullet's dynamics library has a class of the same name.
class btKinematicCharacterController : public btCharacterControllerInterface {
public:
    btKinematicCharacterController(btPairCachingGhostObject* ghostObject, btConvexShape* convexShape,
                                   float stepHeight, int upAxis);
    ~btKinematicCharacterController() override;

    void updateAction(btCollisionWorld* world, btScalar dt) override;
    void debugDraw(btIDebugDraw* drawer) override;
    // The walk direction is a velocity in units per second, not a per-step offset.
    void setWalkDirection(const btVector3& velocity) override;
    void setVelocityForTimeInterval(const btVector3& velocity, btScalar timeInterval) override;
    void reset(btCollisionWorld* world) override;
    void warp(const btVector3& origin) override;
    void preStep(btCollisionWorld* world) override;
    void playerStep(btCollisionWorld* world, btScalar dt) override;
    bool canJump() const override;
    void jump(const btVector3& direction = btVector3(0, 0, 0)) override;
    bool onGround() const override;
    void setUpInterpolate(bool value) override;

    btPairCachingGhostObject* getGhostObject() const { return ghostObject; }
    const btVector3& getWalkDirection() const { return walkDirection; }
    float getAirTime() const { return airTime; }

    // Seconds without a downward hit after which the controller no longer counts as on the ground.
    static constexpr float groundGraceTime = 0.5f;
    // Gravity of the downward sweep, units per second squared.
    static constexpr float fallAcceleration = 98.1f;
    // Penetration recoveries per step before giving up.
    static constexpr int maxRecoveries = 5;

protected:
    bool recoverFromPenetration(btCollisionWorld* world);
    void stepUp(btCollisionWorld* world);
    void stepForwardAndStrafe(btCollisionWorld* world, const btVector3& move);
    void stepDown(btCollisionWorld* world, btScalar dt);
    void updateTargetPositionBasedOnCollision(const btVector3& hitNormal);
    // Closest hit of a sweep from `from` to `to` carrying the ghost's rotation; returns its fraction (1 = none).
    float sweep(btCollisionWorld* world, const btVector3& from, const btVector3& to, btVector3* hitNormal,
                btVector3* hitPoint, float allowedPenetration) const;
    const btVector3& upDirection() const;

    btPairCachingGhostObject* ghostObject;  // not owned
    btConvexShape* convexShape;
    float airTime;            // seconds since the downward sweep last hit
    float stepHeight;
    float addedMargin;        // margin taken off during the forward sweep; also the minimum move
    btVector3 walkDirection;  // desired velocity, units per second
    btVector3 currentPosition;
    float currentStepOffset;
    btVector3 targetPosition;
    btAlignedObjectArray<btPersistentManifold*> manifoldArray;
    bool onGroundFlag;
    bool touchingContact;
    btVector3 touchingNormal;
    bool useGhostSweep;
    int upAxis;
};

}  // namespace vorbel
