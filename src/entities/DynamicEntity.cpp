#include "entities/DynamicEntity.h"

#include <btBulletDynamicsCommon.h>

#include "game/Game.h"

DynamicEntity::DynamicEntity(Game* game, const btVector3& position, float mass, const btQuaternion& orientation,
                             EntityKind kind, boost::shared_ptr<Mesh> mesh, boost::shared_ptr<btCollisionShape> shape)
    : Entity(game, kind, mesh, shape) {
    btTransform start(orientation, position);
    btVector3 localInertia(0, 0, 0);
    if (mass != 0.0f) shape->calculateLocalInertia(mass, localInertia);
    motionState = new btDefaultMotionState(start);
    body = new btRigidBody(btRigidBody::btRigidBodyConstructionInfo(mass, motionState, shape.get(), localInertia));
    body->setUserPointer(tag);
    game->dynamicsWorld->addRigidBody(body);
    game->addEntity(this);
    body->setCollisionFlags(body->getCollisionFlags() | btCollisionObject::CF_CUSTOM_MATERIAL_CALLBACK);
}

DynamicEntity::~DynamicEntity() {
    game->dynamicsWorld->removeRigidBody(body);
    delete body;
    delete motionState;
}

void DynamicEntity::getWorldTransform(btTransform& out) const { motionState->getWorldTransform(out); }

btRigidBody* DynamicEntity::getRigidBody() { return body; }
