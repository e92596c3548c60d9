#include "items/GreenShell.h"

#include <cmath>

#include <BulletCollision/CollisionDispatch/btGhostObject.h>
#include <btBulletDynamicsCommon.h>

#include "entities/ShapeBox.h"
#include "game/Game.h"
#include "game/RaceEvents.h"

boost::shared_ptr<Mesh> GreenShell::mesh;
boost::shared_ptr<btConvexShape> GreenShell::shape;
btVector3 GreenShell::halfExtents(0, 0, 0);

void GreenShell::setShape(boost::shared_ptr<btConvexShape> newShape) {
    shape = newShape;
    halfExtents = ShapeBox(*shape).halfExtents();
}

GreenShell::GreenShell(Game* game, const btVector3& position, float yaw, bool backwards)
    : Projectile(game, position, yaw, GreenShell::mesh, GreenShell::shape) {
    launchSpeed = backwards ? 0 : speed;
    alignToGround();
    // Run along the heading flattened to the horizontal plane.
    const btMatrix3x3& basis = ghostObject->getWorldTransform().getBasis();
    const btVector3 flat(basis[0][2], 0, basis[2][2]);
    walkDirection = flat.length2() > 0 ? flat.normalized() * launchSpeed : btVector3(0, 0, 0);
}

void GreenShell::onCollision(btPersistentManifold* manifold, float sign, const btCollisionObject* other,
                             EntityTag* otherTag, float) {
    switch (otherTag->kind) {
        case EntityKind::ExtraField:
            return;
        case EntityKind::Vehicle:
            knockVehicle(otherTag, directionTo(other));
            break;
        case EntityKind::Projectile:
            knockProjectiles(otherTag, directionTo(other));
            break;
        default:
            break;
    }
    wallRule(manifold, sign);
}

void GreenShell::wallRule(btPersistentManifold* manifold, float sign) {
    for (int p = 0; p < manifold->getNumContacts(); ++p) {
        btVector3 v = manifold->getContactPoint(p).m_normalWorldOnB * sign;
        if (!isWall(v) || v.length2() == 0) continue;
        v.normalize();
        if (wasHit) {
            hit(v, knockStrength);
            continue;
        }
        // Reflect the horizontal motion off the wall, keeping its speed.
        const btVector3 w = walkDirection;
        const float h = std::sqrt(v.x() * v.x() + v.z() * v.z());
        if (w.dot(v) >= 0 || h <= 0) continue;
        const float ux = v.x() / h, uz = v.z() / h;
        const float k = 2 * (w.x() * ux + w.z() * uz);
        walkDirection = btVector3(w.x() - k * ux, 0, w.z() - k * uz);
        game->events->shellBounced(*this);
    }
}
