#include "entities/StaticEntity.h"

#include <btBulletDynamicsCommon.h>

#include "game/Game.h"

namespace {
const int staticGroup = btBroadphaseProxy::StaticFilter;                   // 2
const int allButStatic = btBroadphaseProxy::AllFilter ^ staticGroup;       // -3
const int staticFlags = btCollisionObject::CF_STATIC_OBJECT | btCollisionObject::CF_CUSTOM_MATERIAL_CALLBACK;
}  // namespace

StaticEntity::StaticEntity(Game* game, const btVector3& position, const btQuaternion& orientation, EntityKind kind,
                           boost::shared_ptr<Mesh> mesh, boost::shared_ptr<btCollisionShape> shape)
    : Entity(game, kind, mesh, shape), collisionObject(new btCollisionObject()) {
    collisionObject->setWorldTransform(btTransform(orientation, position));
    collisionObject->setCollisionShape(shape.get());
    collisionObject->setUserPointer(tag);
    game->dynamicsWorld->addCollisionObject(collisionObject, staticGroup, allButStatic);
    game->addEntity(this);
    // The custom-material flag routes every contact through the game's normal correction.
    collisionObject->setCollisionFlags(staticFlags);
    collisionObject->setActivationState(ISLAND_SLEEPING);
}

StaticEntity::~StaticEntity() {
    game->dynamicsWorld->removeCollisionObject(collisionObject);
    delete collisionObject;
}

void StaticEntity::getWorldTransform(btTransform& out) const { out = collisionObject->getWorldTransform(); }
