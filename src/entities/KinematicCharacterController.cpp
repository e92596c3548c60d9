#include "entities/KinematicCharacterController.h"

#include <cfloat>

#include <BulletCollision/CollisionDispatch/btGhostObject.h>
#include <btBulletDynamicsCommon.h>

namespace vorbel {

namespace {

const btVector3 upDirections[3] = {btVector3(1, 0, 0), btVector3(0, 1, 0), btVector3(0, 0, 1)};
const float stepUpStartLift = 0.1f;  // the step-up sweep starts this far above the current position
const int maxForwardIterations = 10;
const float minForwardFraction = 0.01f;

// Closest hit of a sweep, ignoring the swept object itself.
class ClosestNotMeConvexResultCallback : public btCollisionWorld::ClosestConvexResultCallback {
public:
    explicit ClosestNotMeConvexResultCallback(const btCollisionObject* me)
        : btCollisionWorld::ClosestConvexResultCallback(btVector3(0, 0, 0), btVector3(0, 0, 0)), me(me) {}

    btScalar addSingleResult(btCollisionWorld::LocalConvexResult& result, bool normalInWorldSpace) override {
        if (result.m_hitCollisionObject == me) return 1.0f;
        return ClosestConvexResultCallback::addSingleResult(result, normalInWorldSpace);
    }

private:
    const btCollisionObject* me;
};

}  // namespace

btKinematicCharacterController::btKinematicCharacterController(btPairCachingGhostObject* ghostObject,
                                                               btConvexShape* convexShape, float stepHeight,
                                                               int upAxis)
    : ghostObject(ghostObject),
      convexShape(convexShape),
      airTime(0),
      stepHeight(stepHeight),
      addedMargin(0.02f),
      walkDirection(0, 0, 0),
      currentPosition(0, 0, 0),
      currentStepOffset(0),
      targetPosition(0, 0, 0),
      onGroundFlag(false),
      touchingContact(false),
      touchingNormal(0, 0, 0),
      useGhostSweep(true),
      upAxis(upAxis) {}

btKinematicCharacterController::~btKinematicCharacterController() = default;

const btVector3& btKinematicCharacterController::upDirection() const { return upDirections[upAxis]; }

void btKinematicCharacterController::updateAction(btCollisionWorld* world, btScalar dt) {
    preStep(world);
    playerStep(world, dt);
}

void btKinematicCharacterController::debugDraw(btIDebugDraw*) {}

void btKinematicCharacterController::setWalkDirection(const btVector3& velocity) { walkDirection = velocity; }

void btKinematicCharacterController::setVelocityForTimeInterval(const btVector3& velocity, btScalar) {
    walkDirection = velocity;
}

void btKinematicCharacterController::reset(btCollisionWorld*) {}

void btKinematicCharacterController::warp(const btVector3& origin) {
    btTransform transform;
    transform.setIdentity();
    transform.setOrigin(origin);
    ghostObject->setWorldTransform(transform);
}

bool btKinematicCharacterController::canJump() const { return onGround(); }

void btKinematicCharacterController::jump(const btVector3&) { canJump(); }

bool btKinematicCharacterController::onGround() const { return onGroundFlag; }

void btKinematicCharacterController::setUpInterpolate(bool) {}

void btKinematicCharacterController::preStep(btCollisionWorld* world) {
    touchingContact = false;
    int recoveries = 0;
    while (recoverFromPenetration(world)) {
        ++recoveries;
        touchingContact = true;
        if (recoveries >= maxRecoveries) break;
    }
    currentPosition = ghostObject->getWorldTransform().getOrigin();
    targetPosition = currentPosition;
}

bool btKinematicCharacterController::recoverFromPenetration(btCollisionWorld* world) {
    btOverlappingPairCache* pairs = ghostObject->getOverlappingPairCache();
    world->getDispatcher()->dispatchAllCollisionPairs(pairs, world->getDispatchInfo(), world->getDispatcher());
    currentPosition = ghostObject->getWorldTransform().getOrigin();
    float deepest = 0;
    bool penetration = false;
    for (int i = 0; i < pairs->getNumOverlappingPairs(); ++i) {
        manifoldArray.resize(0);
        btBroadphasePair& pair = pairs->getOverlappingPairArray()[i];
        if (pair.m_algorithm) pair.m_algorithm->getAllContactManifolds(manifoldArray);
        for (int m = 0; m < manifoldArray.size(); ++m) {
            const btPersistentManifold* manifold = manifoldArray[m];
            const float sign = manifold->getBody0() == ghostObject ? -1.0f : 1.0f;
            for (int p = 0; p < manifold->getNumContacts(); ++p) {
                const btManifoldPoint& point = manifold->getContactPoint(p);
                const float distance = point.getDistance();
                if (distance >= 0) continue;
                if (distance < deepest) {
                    deepest = distance;
                    touchingNormal = point.m_normalWorldOnB * sign;
                }
                currentPosition += point.m_normalWorldOnB * sign * distance * 0.2f;
                penetration = true;
            }
        }
    }
    btTransform transform = ghostObject->getWorldTransform();
    transform.setOrigin(currentPosition);
    ghostObject->setWorldTransform(transform);
    return penetration;
}

void btKinematicCharacterController::playerStep(btCollisionWorld* world, btScalar dt) {
    stepUp(world);
    stepForwardAndStrafe(world, walkDirection * dt);
    stepDown(world, dt);
    btTransform transform = ghostObject->getWorldTransform();
    transform.setOrigin(currentPosition);
    ghostObject->setWorldTransform(transform);
}

float btKinematicCharacterController::sweep(btCollisionWorld* world, const btVector3& from, const btVector3& to,
                                            btVector3* hitNormal, btVector3* hitPoint,
                                            float allowedPenetration) const {
    // The swept shape is not rotation-symmetric, so the sweep carries the ghost's rotation.
    const btQuaternion rotation = ghostObject->getWorldTransform().getRotation();
    const btTransform start(rotation, from), end(rotation, to);
    ClosestNotMeConvexResultCallback callback(ghostObject);
    callback.m_collisionFilterGroup = ghostObject->getBroadphaseHandle()->m_collisionFilterGroup;
    callback.m_collisionFilterMask = ghostObject->getBroadphaseHandle()->m_collisionFilterMask;
    if (useGhostSweep) {
        ghostObject->convexSweepTest(convexShape, start, end, callback, allowedPenetration);
    } else {
        world->convexSweepTest(convexShape, start, end, callback, allowedPenetration);
    }
    if (!callback.hasHit()) return 1.0f;
    if (hitNormal) *hitNormal = callback.m_hitNormalWorld;
    if (hitPoint) *hitPoint = callback.m_hitPointWorld;
    return callback.m_closestHitFraction;
}

void btKinematicCharacterController::stepUp(btCollisionWorld* world) {
    targetPosition = currentPosition + upDirection() * stepHeight;
    if (stepHeight == 0.0f) {
        currentStepOffset = 0;
        currentPosition = targetPosition;
        return;
    }
    const float allowed = useGhostSweep ? world->getDispatchInfo().m_allowedCcdPenetration : 0.0f;
    const float fraction =
        sweep(world, currentPosition + upDirection() * stepUpStartLift, targetPosition, nullptr, nullptr, allowed);
    if (fraction < 1.0f) {
        currentStepOffset = stepHeight * fraction;
        currentPosition.setInterpolate3(currentPosition, targetPosition, fraction);
    } else {
        currentStepOffset = stepHeight;
        currentPosition = targetPosition;
    }
}

void btKinematicCharacterController::updateTargetPositionBasedOnCollision(const btVector3& hitNormal) {
    const btVector3 movement = targetPosition - currentPosition;
    const float length = movement.length();
    if (length <= FLT_EPSILON) return;
    const btVector3 direction = movement / length;
    btVector3 reflected = direction - 2.0f * direction.dot(hitNormal) * hitNormal;
    reflected.normalize();
    // Keep only the part of the reflection along the surface: the move slides.
    const btVector3 alongSurface = reflected - hitNormal * reflected.dot(hitNormal);
    targetPosition = currentPosition + alongSurface * length;
}

void btKinematicCharacterController::stepForwardAndStrafe(btCollisionWorld* world, const btVector3& move) {
    const btVector3 moveDirection = move.length() < FLT_EPSILON ? btVector3(0, 0, 0) : move.normalized();
    targetPosition = currentPosition + move;
    float fraction = 1.0f;
    if (touchingContact && moveDirection.dot(touchingNormal) > 0) updateTargetPositionBasedOnCollision(touchingNormal);

    const float allowed = world->getDispatchInfo().m_allowedCcdPenetration;
    for (int iteration = 0; iteration < maxForwardIterations && fraction > minForwardFraction; ++iteration) {
        // A slightly thinner shape slides along surfaces it already touches.
        const float margin = convexShape->getMargin();
        convexShape->setMargin(margin - addedMargin);
        btVector3 hitNormal, hitPoint;
        const float hitFraction = sweep(world, currentPosition, targetPosition, &hitNormal, &hitPoint, allowed);
        convexShape->setMargin(margin);
        fraction -= hitFraction;
        if (hitFraction >= 1.0f) {
            currentPosition = targetPosition;
            continue;
        }
        if ((hitPoint - currentPosition).length() > addedMargin) {
            currentPosition.setInterpolate3(currentPosition, targetPosition, hitFraction);
        }
        updateTargetPositionBasedOnCollision(hitNormal);
        const btVector3 remaining = targetPosition - currentPosition;
        if (remaining.length2() <= FLT_EPSILON) break;
        // Stop rather than turn back: avoids jitter in sloping corners.
        if (remaining.normalized().dot(moveDirection) <= 0) break;
    }
}

void btKinematicCharacterController::stepDown(btCollisionWorld* world, btScalar dt) {
    const float fallTime = airTime + dt;
    targetPosition -= upDirection() * (currentStepOffset + fallAcceleration * dt * fallTime * 0.5f);
    const float fraction =
        sweep(world, currentPosition, targetPosition, nullptr, nullptr, world->getDispatchInfo().m_allowedCcdPenetration);
    if (fraction < 1.0f) {
        currentPosition.setInterpolate3(currentPosition, targetPosition, fraction);
        airTime = 0;
        onGroundFlag = true;
    } else {
        currentPosition = targetPosition;
        airTime = fallTime;
        if (airTime > groundGraceTime) onGroundFlag = false;
    }
}

}  // namespace vorbel
