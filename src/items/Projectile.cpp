#include "items/Projectile.h"

#include <algorithm>

#include <BulletCollision/CollisionDispatch/btGhostObject.h>
#include <btBulletDynamicsCommon.h>

#include "game/Game.h"

std::vector<Projectile*> Projectile::allProjectiles;

namespace {
const int staticOnly = btBroadphaseProxy::StaticFilter;  // 2
const int everyGroup = btBroadphaseProxy::AllFilter;     // -1
const float pushFloor = 0.5f;                            // knock-back strength never falls below this
}  // namespace

Projectile::Projectile(Game* game, const btVector3& position, float yaw, boost::shared_ptr<Mesh> mesh,
                       boost::shared_ptr<btConvexShape> shape)
    : CharacterEntity(game, position, EntityKind::Projectile, btQuaternion::getIdentity(), mesh, shape),
      launchSpeed(0),
      wasHit(false),
      timeLeft(0),
      lifetime(3.0f) {
    this->yaw = yaw;
    game->addProjectile(this);
    allProjectiles.push_back(this);
    // The oldest shell makes way; its destructor takes it out of both lists.
    if (allProjectiles.size() > maxProjectiles) delete allProjectiles.front();
}

Projectile::~Projectile() {
    auto place = std::find(allProjectiles.begin(), allProjectiles.end(), this);
    if (place != allProjectiles.end()) allProjectiles.erase(place);
    game->removeProjectile(this);
}

void Projectile::hit(const btVector3& direction, float strength) {
    pushDirection = direction;
    pushStrength = strength;
    // Only the first knock starts the countdown.
    if (!wasHit) timeLeft = lifetime;
    wasHit = true;
}

void Projectile::updateAction(btCollisionWorld* world, btScalar dt) {
    if (wasHit) {
        timeLeft -= dt;
        if (timeLeft <= 0) {
            // The world's action loop rereads its list, so an action may remove itself; the last
            // action moves into this one's place and misses this sub-step.
            delete this;
            return;
        }
        setWalkDirection(pushDirection * pushStrength);
        if (pushStrength > pushFloor) pushStrength -= pushFloor;
    }
    // While sweeping, only static geometry stops a shell; karts and shells reach it as contacts.
    btBroadphaseProxy* proxy = ghostObject->getBroadphaseHandle();
    proxy->m_collisionFilterMask = staticOnly;
    CharacterEntity::updateAction(world, dt);
    proxy->m_collisionFilterMask = everyGroup;
    alignToGround();
}

btVector3 Projectile::directionTo(const btCollisionObject* other) const {
    const btVector3 d = other->getWorldTransform().getOrigin() - ghostObject->getWorldTransform().getOrigin();
    return d.length2() > 0 ? d.normalized() : btVector3(0, 0, 0);
}

void Projectile::knockVehicle(EntityTag* otherTag, const btVector3& towardsOther) {
    if (!wasHit) static_cast<CharacterEntity*>(otherTag->entity)->hit(towardsOther, knockStrength);
    hit(-towardsOther, knockStrength);
}

void Projectile::knockProjectiles(EntityTag* otherTag, const btVector3& towardsOther) {
    if (wasHit) return;
    hit(-towardsOther, knockStrength);
    static_cast<CharacterEntity*>(otherTag->entity)->hit(towardsOther, knockStrength);
}
