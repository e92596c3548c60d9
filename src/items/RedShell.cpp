#include "items/RedShell.h"

#include <BulletCollision/CollisionDispatch/btGhostObject.h>
#include <btBulletDynamicsCommon.h>

#include "entities/ShapeBox.h"

#include "entities/Vehicle.h"
#include "game/Game.h"
#include "game/MessageLog.h"
#include "game/RaceEvents.h"

boost::shared_ptr<Mesh> RedShell::mesh;
boost::shared_ptr<btConvexShape> RedShell::shape;
btVector3 RedShell::halfExtents(0, 0, 0);

void RedShell::setShape(boost::shared_ptr<btConvexShape> newShape) {
    shape = newShape;
    halfExtents = ShapeBox(*shape).halfExtents();
}

RedShell::RedShell(Game* game, const btVector3& position, float yaw, Vehicle* target)
    : Projectile(game, position, yaw, RedShell::mesh, RedShell::shape), target(target) {
    launchSpeed = speed;
    // Face the heading now: the first step runs along the orientation it finds.
    alignToGround();
}

void RedShell::updateAction(btCollisionWorld* world, btScalar dt) {
    if (!wasHit) {
        const btTransform& own = ghostObject->getWorldTransform();
        btTransform goal;
        target->getWorldTransform(goal);
        const btMatrix3x3& basis = own.getBasis();
        setWalkDirection(launchSpeed * btVector3(basis[0][2], 0, basis[2][2]));
        // Turn a little towards the side the target is on.
        const float side = basis.getColumn(0).dot(goal.getOrigin() - own.getOrigin());
        yaw += side > 0 ? turnStep : -turnStep;
    }
    Projectile::updateAction(world, dt);
}

void RedShell::onCollision(btPersistentManifold* manifold, float sign, const btCollisionObject* other,
                           EntityTag* otherTag, float) {
    switch (otherTag->kind) {
        case EntityKind::ExtraField:
            return;
        case EntityKind::Projectile:
            if (!wasHit) showMessage("Collision P-P");
            knockProjectiles(otherTag, directionTo(other));
            break;
        case EntityKind::Vehicle:
            knockVehicle(otherTag, directionTo(other));
            break;
        case EntityKind::Dynamic:
            showMessage("Collision P-O");
            break;
        default:
            break;
    }
    wallRule(manifold, sign);
}

void RedShell::wallRule(btPersistentManifold* manifold, float sign) {
    // Any wall throws a red shell back, hit before or not.
    for (int p = 0; p < manifold->getNumContacts(); ++p) {
        const btVector3 v = manifold->getContactPoint(p).m_normalWorldOnB * sign;
        if (!isWall(v)) continue;
        if (!wasHit) game->events->shellBounced(*this);
        hit(v, knockStrength);
    }
}
