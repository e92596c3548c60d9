#include "entities/CharacterEntity.h"

#include <algorithm>
#include <cmath>

#include <BulletCollision/CollisionDispatch/btGhostObject.h>
#include <btBulletDynamicsCommon.h>

#include "entities/ShapeBox.h"
#include "game/Game.h"

namespace {

const int characterGroup = btBroadphaseProxy::CharacterFilter;  // 32
const int everyGroup = btBroadphaseProxy::AllFilter;            // -1
const int upAxisY = 1;
const float alignRate = 0.1f;  // per sub-step; closes about a fifth of the angle to the ground

// Closest ray hit that is not the casting entity's own ghost: the rays start inside its shape.
class GroundRayCallback : public btCollisionWorld::ClosestRayResultCallback {
public:
    GroundRayCallback(const btVector3& from, const btVector3& to, const btCollisionObject* self)
        : ClosestRayResultCallback(from, to), self(self) {
        m_collisionFilterGroup = btBroadphaseProxy::DefaultFilter;
        m_collisionFilterMask = btBroadphaseProxy::AllFilter;
    }

    bool needsCollision(btBroadphaseProxy* proxy) const override {
        if (static_cast<const btCollisionObject*>(proxy->m_clientObject) == self) return false;
        return ClosestRayResultCallback::needsCollision(proxy);
    }

private:
    const btCollisionObject* self;
};

float clampUnit(float value) { return std::max(-1.0f, std::min(1.0f, value)); }

}  // namespace

CharacterEntity::CharacterEntity(Game* game, const btVector3& position, EntityKind kind, const btQuaternion& rotation,
                                 boost::shared_ptr<Mesh> mesh, boost::shared_ptr<btConvexShape> shape)
    : Entity(game, kind, mesh, shape),
      btKinematicCharacterController(new btPairCachingGhostObject(), shape.get(), stepHeightUnits, upAxisY),
      pushDirection(0, 0, 0),
      pushStrength(0),
      speed(0),
      impulseFactor(1.0f),
      yaw(0),
      pitch(0),
      roll(0) {
    ghostObject->setWorldTransform(btTransform(rotation, position));
    ghostObject->setCollisionShape(shape.get());
    ghostObject->setCollisionFlags(btCollisionObject::CF_CHARACTER_OBJECT);
    ghostObject->setUserPointer(tag);
    game->dynamicsWorld->addCollisionObject(ghostObject, characterGroup, everyGroup);
    game->dynamicsWorld->addAction(this);

    // Probes halfway from the centre to the side faces of the shape's box, at the centre's height.
    const btVector3 quarter = ShapeBox(*shape).halfExtents() * 0.5f;
    const float qx = quarter.x(), qz = quarter.z();
    groundProbes[0] = btVector3(qx, 0, qz);
    groundProbes[1] = btVector3(-qx, 0, qz);
    groundProbes[2] = btVector3(-qx, 0, -qz);
    groundProbes[3] = btVector3(qx, 0, -qz);
}

CharacterEntity::~CharacterEntity() {
    game->dynamicsWorld->removeAction(this);
    game->dynamicsWorld->removeCollisionObject(ghostObject);
    delete ghostObject;
}

void CharacterEntity::getWorldTransform(btTransform& out) const { out = ghostObject->getWorldTransform(); }

btTransform& CharacterEntity::worldTransform() { return ghostObject->getWorldTransform(); }

void CharacterEntity::bounce(const btVector3& normal, float strength) {
    pushDirection = normal;
    pushStrength = std::max(20.0f, std::min(40.0f, strength));
}

void CharacterEntity::hit(const btVector3&, float) {}

void CharacterEntity::updateAction(btCollisionWorld* world, btScalar dt) {
    dispatchContacts(world, dt);
    btKinematicCharacterController::updateAction(world, dt);
}

void CharacterEntity::dispatchContacts(btCollisionWorld*, float dt) {
    btHashedOverlappingPairCache* pairs = ghostObject->getOverlappingPairCache();
    for (int i = 0; i < pairs->getNumOverlappingPairs(); ++i) {
        manifoldArray.resize(0);
        btBroadphasePair& pair = pairs->getOverlappingPairArray()[i];
        if (pair.m_algorithm) pair.m_algorithm->getAllContactManifolds(manifoldArray);
        for (int m = 0; m < manifoldArray.size(); ++m) {
            btPersistentManifold* manifold = manifoldArray[m];
            if (manifold->getNumContacts() == 0) continue;
            const bool first = manifold->getBody0() == ghostObject;
            const btCollisionObject* other = first ? manifold->getBody1() : manifold->getBody0();
            EntityTag* otherTag = static_cast<EntityTag*>(other->getUserPointer());
            if (!otherTag) continue;
            onCollision(manifold, first ? 1.0f : -1.0f, other, otherTag, dt);
        }
    }
}

void CharacterEntity::alignToGround() {
    btTransform& transform = ghostObject->getWorldTransform();
    const btMatrix3x3& basis = transform.getBasis();
    const btVector3 origin = transform.getOrigin();
    btCollisionWorld* world = game->dynamicsWorld;

    btVector3 sum(0, 0, 0);
    int hits = 0;
    for (const btVector3& probe : groundProbes) {
        const btVector3 from = basis * probe + origin;
        const btVector3 to = from - btVector3(0, groundRayLength, 0);
        GroundRayCallback callback(from, to, ghostObject);
        world->rayTest(from, to, callback);
        if (!callback.hasHit() || callback.m_hitNormalWorld.length2() == 0) continue;
        ++hits;
        sum += callback.m_hitNormalWorld.normalized();
    }
    if (hits > 0 && sum.length2() > SIMD_EPSILON) {
        const btVector3 ground = (sum / static_cast<float>(hits)).normalized();
        const float z = clampUnit(basis.getColumn(2).dot(ground));
        const float x = clampUnit(basis.getColumn(0).dot(ground));
        pitch += alignRate * (std::acos(-z) - std::acos(z));
        roll += alignRate * (std::acos(x) - std::acos(-x));
    }
    // Within half a turn either way: the quaternion takes sinf and cosf of half the heading, and the C
    // library's variants of those (with or without multiply-add, by the processor) agree to the last
    // bit only below 16 radians. A kart circling one way for five laps would pass that, and a replay
    // recorded on one machine would go astray on another. The IEEE remainder is exact.
    if (std::fabs(yaw) > SIMD_PI) yaw = std::remainder(yaw, SIMD_2_PI);
    const btQuaternion orientation = btQuaternion(btVector3(0, 1, 0), yaw) * btQuaternion(btVector3(1, 0, 0), pitch) *
                                     btQuaternion(btVector3(0, 0, 1), roll);
    transform = btTransform(orientation, origin);
}
