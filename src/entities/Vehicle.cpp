#include "entities/Vehicle.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <BulletCollision/CollisionDispatch/btGhostObject.h>
#include <GL/gl.h>
#include <btBulletDynamicsCommon.h>

#include "assets/Mesh.h"
#include "assets/MeshLibrary.h"
#include "entities/DynamicEntity.h"
#include "entities/ShapeBox.h"
#include "game/Game.h"
#include "game/RaceEvents.h"
#include "items/ExtraField.h"
#include "items/GreenShell.h"
#include "items/ParticleEmitter.h"
#include "items/RedShell.h"

uint64_t Vehicle::vehiclesCreated = 0;

namespace {

const float starGlowRate = 9.4245f;  // radians per second: three pulses a second
const float spinPi = 3.1415f;        // the spin-out's half turn, as tuned (a touch short of pi)
const float starGlowStrength = 0.35f;
const float noEmission[4] = {0, 0, 0, 1};

boost::shared_ptr<Mesh> straightPose(const std::vector<boost::shared_ptr<Mesh>>& bodyMeshes) {
    return bodyMeshes.empty() ? boost::shared_ptr<Mesh>() : bodyMeshes[bodyMeshes.size() / 2];
}

btVector3 normalizedOrZero(const btVector3& v) { return v.length2() > 0 ? v.normalized() : btVector3(0, 0, 0); }

}  // namespace

Vehicle::Vehicle(Game* game, const btVector3& position, std::string name, const btQuaternion& rotation,
                 std::vector<boost::shared_ptr<Mesh>> bodyMeshes, boost::shared_ptr<Mesh> wheelMesh,
                 boost::shared_ptr<btConvexShape> shape)
    : CharacterEntity(game, position, EntityKind::Vehicle, rotation, straightPose(bodyMeshes), shape),
      name(std::move(name)),
      steer(0),
      steerStep(0.1f),
      steerLimit(2.0f),
      wheelRadius(0),
      wheelWidth(0),
      driftHeld(false),
      driftBoostTime(2.0f),
      driftSpinTime(4.0f),
      driftTime(0),
      slideFactor(0.5f),
      spinDuration(1.0f),
      spinTimeLeft(0),
      spinDirection(1),
      starDuration(10.0f),
      starTimeLeft(0),
      flashHoldTime(10.0f),
      flashRampTime(1.0f),
      flashTimeLeft(0),
      flashMinScale(0.4f),
      scale(1.0f),
      normalMaxSpeed(250.0f / 3.6f),
      turboMaxSpeed(500.0f / 3.6f),
      turboDuration(4.0f),
      turboTimeLeft(0),
      dustEmitter(new ParticleEmitter(MeshLibrary::instance().loadMesh("DustSphere.mesh.xml"))),
      dustFromLeft(true),
      bodyMeshes(std::move(bodyMeshes)),
      wheelMesh(wheelMesh),
      heldItem(ItemType::none),
      serial(vehiclesCreated++) {
    game->addVehicle(this);
    driftMinSpeed = normalMaxSpeed * 0.5f;
    maxSpeed = normalMaxSpeed;
    impulseFactor = 10.0f;

    if (wheelMesh) {
        const ShapeBox wheel(*wheelMesh->createBoxHullShape());
        wheelWidth = wheel.max.x() - wheel.min.x();
        wheelRadius = (wheel.max.y() - wheel.min.y()) * 0.5f;
    }
    halfExtents = ShapeBox(*shape).halfExtents();
    // Both front wheels sit at the +Z end of the body.
    wheelOffsetLeft = btVector3(halfExtents.x() - wheelWidth * 0.5f, wheelRadius - halfExtents.y(),
                                halfExtents.z() - wheelRadius);
    wheelOffsetRight = btVector3(-wheelOffsetLeft.x(), wheelOffsetLeft.y(), wheelOffsetLeft.z());
}

// Members go in reverse order: wheel mesh, body meshes, dust emitter, name.
Vehicle::~Vehicle() = default;

int Vehicle::poseIndex(float steer, float steerLimit, int poseCount) {
    int index = static_cast<int>(poseCount * steer / steerLimit);
    if (index <= -poseCount) {
        index = 1 - poseCount;
    } else if (index >= poseCount) {
        index = poseCount - 1;
    }
    return index;
}

void Vehicle::steerLeft() {
    steer = std::min(steer + steerStep, steerLimit);
    if (steer < 0) driftTime = 0;
}

void Vehicle::steerRight() {
    steer = std::max(steer - steerStep, -steerLimit);
    if (steer > 0) driftTime = 0;
}

void Vehicle::accelerate() {
    if (!onGround() || spinTimeLeft > 0) return;
    if (speed < maxSpeed) speed += throttleStep;
    if (speed > maxSpeed * 0.7f) emitDust();
}

void Vehicle::emitDust() {
    const float u = static_cast<float>(game->random.next() % 101) * 0.01f;
    const btTransform& transform = ghostObject->getWorldTransform();
    const btMatrix3x3& basis = transform.getBasis();
    const btVector3 x = basis.getColumn(0), y = basis.getColumn(1), z = basis.getColumn(2);
    const btVector3 base = z * (halfExtents.z() * 0.8f) - y * (halfExtents.y() * 2.0f);
    const btVector3 side = x * halfExtents.x() * (0.8f + 0.1f * (u - 0.5f));
    const btVector3 point = dustFromLeft ? base + side : base - side;
    dustFromLeft = !dustFromLeft;
    const float k = convexShape->getLocalScaling().y();
    const btTransform particle(transform.getRotation(), transform.getOrigin() + point * k);
    const float speedShare = speed / maxSpeed;
    dustEmitter->emit(particle, btVector3(0, speed * u * 0.03f, 0), (speedShare + u - 0.5f) * k * 0.5f,
                      (speedShare - 0.25f * u) * 0.75f);
}

void Vehicle::chooseRandomItem() { heldItem = itemFor(game->random.next()); }

ItemType Vehicle::itemFor(int randomValue) {
    // Five items, fifteen values of 0..74 each; never none.
    const int r = randomValue % 75;
    if (r < 15) return ItemType::greenShell;
    if (r < 30) return ItemType::redShell;
    if (r < 45) return ItemType::turbo;
    if (r < 60) return ItemType::star;
    return ItemType::flash;
}

std::string Vehicle::heldItemName() const {
    switch (heldItem) {
        case ItemType::greenShell: return "greenShell";
        case ItemType::redShell: return "redShell";
        case ItemType::turbo: return "turbo";
        case ItemType::star: return "star";
        case ItemType::flash: return "flash";
        case ItemType::none: return "none";
    }
    return "unknown";
}

void Vehicle::useItem(bool backwards) {
    const btTransform& transform = ghostObject->getWorldTransform();
    const btVector3 origin = transform.getOrigin();
    const btVector3 forward = transform.getBasis().getColumn(2);
    switch (heldItem) {
        case ItemType::greenShell: {
            if (!GreenShell::shape) break;  // shell classes not prepared: nothing to fire
            const float reach = 2.0f * (halfExtents.z() + GreenShell::halfExtents.z());
            const GreenShell* shell =
                new GreenShell(game, backwards ? origin - forward * reach : origin + forward * reach, yaw, backwards);
            game->events->shellLaunched(*this, *shell, ItemType::greenShell, backwards);
            break;
        }
        case ItemType::redShell: {
            if (!RedShell::shape) break;
            const float reach = 2.0f * (halfExtents.z() + RedShell::halfExtents.z());
            const RedShell* shell = new RedShell(game, origin + forward * reach, yaw, game->vehicleAhead(this));
            game->events->shellLaunched(*this, *shell, ItemType::redShell, false);
            break;
        }
        case ItemType::turbo:
            turboTimeLeft = turboDuration;
            maxSpeed = turboMaxSpeed;
            speed = turboMaxSpeed;
            game->events->turboUsed(*this);
            break;
        case ItemType::star:
            starTimeLeft = starDuration;
            game->events->starUsed(*this);
            break;
        case ItemType::flash: {
            const btAlignedObjectArray<Vehicle*> vehicles = game->getVehicles();
            for (int i = 0; i < vehicles.size(); ++i) {
                if (vehicles[i] != this) vehicles[i]->flashTimeLeft = flashRampTime * 2 + flashHoldTime;
            }
            game->events->flashUsed(*this);
            break;
        }
        case ItemType::none:
            break;
    }
    heldItem = ItemType::none;
}

void Vehicle::hit(const btVector3& direction, float strength) {
    if (starTimeLeft > 0) return;
    // A hit late in a spin adds a full turn; earlier ones do not extend it.
    if (spinTimeLeft < spinDuration * 0.25f) spinTimeLeft += spinDuration;
    pushDirection = direction;
    pushStrength = strength;
    game->events->kartHit(*this);
}

void Vehicle::onCollision(btPersistentManifold* manifold, float sign, const btCollisionObject*, EntityTag* otherTag,
                          float dt) {
    const btVector3 walk = normalizedOrZero(getWalkDirection());
    switch (otherTag->kind) {
        case EntityKind::Dynamic:
            pushRigidBody(manifold, sign, otherTag, dt);
            break;
        case EntityKind::Static:
            touchWall(manifold, sign, walk);
            break;
        case EntityKind::Vehicle:
            touchVehicle(static_cast<Vehicle*>(otherTag->entity));
            break;
        case EntityKind::Projectile:
            break;  // shells handle their own hits
        case EntityKind::ExtraField:
            static_cast<ExtraField*>(otherTag->entity)->pickUp(this);
            break;
    }
}

// The horizontal wall normal of a contact point that this kart drives into, or zero when the point
// is ground, a surface it moves away from, or has no horizontal part.
btVector3 Vehicle::wallFacing(const btManifoldPoint& point, float sign, const btVector3& walk) {
    const btVector3 n = normalizedOrZero(point.m_normalWorldOnB * sign);
    const btVector3 horizontal(n.x(), 0, n.z());
    if (!isWall(n) || walk.dot(n) >= 0 || horizontal.length2() == 0) return btVector3(0, 0, 0);
    return horizontal.normalized();
}

void Vehicle::touchWall(btPersistentManifold* manifold, float sign, const btVector3& walk) {
    bool bumped = false;
    for (int p = 0; p < manifold->getNumContacts(); ++p) {
        const btVector3 h = wallFacing(manifold->getContactPoint(p), sign, walk);
        if (h.isZero()) continue;
        const float facing = h.dot(walk);
        pushDirection = h;
        pushStrength = std::max(wallStrengthMin, std::min(wallStrengthMax, -facing * speed));
        speed = (facing + 1) * speed;
        bumped = true;
    }
    if (bumped) game->events->kartBumped(*this, pushStrength);
}

void Vehicle::pushRigidBody(btPersistentManifold* manifold, float sign, EntityTag* otherTag, float dt) {
    btRigidBody* body = static_cast<DynamicEntity*>(otherTag->entity)->getRigidBody();
    if (!body->isStaticObject()) {
        if (manifold->getNumContacts() == 0) return;
        const btManifoldPoint& point = manifold->getContactPoint(0);
        body->applyImpulse(getWalkDirection() * impulseFactor * dt, sign > 0 ? point.m_localPointB : point.m_localPointA);
        return;
    }
    // A body without mass is a wall that throws the kart back along its reflected path.
    const btVector3 walk = normalizedOrZero(getWalkDirection());
    for (int p = 0; p < manifold->getNumContacts(); ++p) {
        const btVector3 h = wallFacing(manifold->getContactPoint(p), sign, walk);
        if (h.isZero()) continue;
        const float facing = h.dot(walk);
        const btVector3 reflected(walk.x() - 2 * facing * h.x(), 0, walk.z() - 2 * facing * h.z());
        pushDirection = reflected.length2() > 0 ? reflected.normalized() : h;
        pushStrength = staticBodyWallStrength;
        speed = 0;
        game->events->kartBumped(*this, pushStrength);
    }
}

void Vehicle::touchVehicle(Vehicle* other) {
    // Both karts see the contact; only the one created later reacts, for both.
    if (serial < other->serial) return;
    const btVector3 own = ghostObject->getWorldTransform().getOrigin();
    const btVector3 d = normalizedOrZero(other->ghostObject->getWorldTransform().getOrigin() - own);
    if (starTimeLeft > 0 || other->starTimeLeft > 0) {
        if (starTimeLeft <= 0) {
            hit(-d, starHitStrength);
        } else {
            other->hit(d, starHitStrength);
        }
    } else {
        pushDirection = -d;
        other->pushDirection = d;
        pushStrength = bumpStrength;
        other->pushStrength = bumpStrength;
        speed *= 1 + pushDirection.dot(ghostObject->getWorldTransform().getBasis().getColumn(2));
        other->speed *= 1 + other->pushDirection.dot(other->ghostObject->getWorldTransform().getBasis().getColumn(2));
        game->events->kartBumped(*this, bumpStrength);
        game->events->kartBumped(*other, bumpStrength);
    }
    // A shrunken kart is knocked away by a full-size one.
    const bool ownFlash = flashTimeLeft > 0, otherFlash = other->flashTimeLeft > 0;
    if (ownFlash && !otherFlash) {
        hit(-d, starHitStrength);
    } else if (otherFlash && !ownFlash) {
        other->hit(d, starHitStrength);
    }
}

void Vehicle::applyScale(float newScale) {
    scale = newScale;
    convexShape->setLocalScaling(btVector3(scale, scale, scale));
    ghostObject->setCollisionShape(convexShape);
    for (const boost::shared_ptr<Mesh>& body : bodyMeshes) body->setScale(scale, scale, scale);
    if (wheelMesh) wheelMesh->setScale(scale, scale, scale);
    maxSpeed = (turboTimeLeft > 0 ? turboMaxSpeed : normalMaxSpeed) * scale;
}

void Vehicle::updateFlash(float dt) {
    if (flashTimeLeft <= 0) return;
    const float t = flashTimeLeft - dt;
    flashTimeLeft = t;
    const float r = flashRampTime, h = flashHoldTime, m = flashMinScale;
    float target;
    if (t > h + r) {
        target = 1 - (1 - m) * (2 * r + h - t) / r;  // shrinking
    } else if (t >= r) {
        target = m;  // holding
    } else if (t > 0) {
        target = m + (1 - m) * (r - t) / r;  // growing back
    } else {
        target = 1;
    }
    if (target != scale) applyScale(target);
}

void Vehicle::mirrorFor(int pose) {
    // Straight driving and right turns use the left-leaning poses mirrored.
    const btVector3 scaling = convexShape->getLocalScaling();
    if ((scaling.x() > 0) == (pose > 0)) return;
    convexShape->setLocalScaling(btVector3(-scaling.x(), scaling.y(), scaling.z()));
    ghostObject->setCollisionShape(convexShape);
    for (const boost::shared_ptr<Mesh>& body : bodyMeshes) body->setScale(-body->scale[0], body->scale[1], body->scale[2]);
}

void Vehicle::updateAction(btCollisionWorld* world, btScalar dt) {
    const btMatrix3x3& basis = ghostObject->getWorldTransform().getBasis();
    btVector3 move = normalizedOrZero(basis.getColumn(2)) * speed;
    if (onGround() && (driftHeld || driftTime > 0)) {
        const float slideSign = steer == 0 ? 0.0f : (steer < 0 ? 1.0f : -1.0f);
        const btVector3 side = basis.getColumn(0) * speed * slideFactor * slideSign;
        move += driftHeld ? side : side * driftTime / driftSpinTime;
    }
    if (starTimeLeft > 0) starTimeLeft -= dt;
    updateFlash(dt);
    if (turboTimeLeft > 0) {
        turboTimeLeft -= dt;
        if (turboTimeLeft <= 0) maxSpeed = normalMaxSpeed;
    }
    if (pushStrength > 0) {
        move += pushDirection * pushStrength;
        pushStrength -= pushDecay;
    }
    if (driftTime > driftSpinTime) {
        spinTimeLeft = spinDuration;
        driftTime = 0;
        spinDirection = steer < 0 ? -1 : 1;
        game->events->kartSpunOut(*this);
    }
    setWalkDirection(move);
    CharacterEntity::updateAction(world, dt);

    speed -= onGround() ? groundFriction : airFriction;
    speed = std::max(0.0f, std::min(turboMaxSpeed, speed));

    if (!bodyMeshes.empty()) {
        const int pose = poseIndex(steer, steerLimit, static_cast<int>(bodyMeshes.size()));
        mesh = bodyMeshes[std::abs(pose)];
        mirrorFor(pose);
    }

    if (-steerStep < steer && steer < steerStep) {
        steer = 0;
    } else {
        steer *= steeringReturn;
    }
    if (onGround() && speed > driftMinSpeed && steer != 0) {
        const bool boosted = driftTime > driftBoostTime;
        driftTime += std::fabs(steer) / steerLimit * dt;
        if (!boosted && driftTime > driftBoostTime) game->events->driftBoosted(*this);
    } else {
        driftTime = 0;
    }

    float turn = 0;
    if (spinTimeLeft != 0) {
        spinTimeLeft = std::max(0.0f, spinTimeLeft - dt);
        turn = (spinDirection * dt * 2) * spinPi / spinDuration;
    } else if (onGround() && speed != 0) {
        turn = steer * dt * ((driftHeld || driftTime > driftBoostTime) ? 1.5f : 1.0f);
    }
    yaw += turn;
    alignToGround();
}

void Vehicle::render() {
    if (starTimeLeft > 0) {
        const float e = std::fabs(std::sin(starTimeLeft * starGlowRate)) * starGlowStrength;
        const float glow[4] = {e, e, e, 1};
        glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, glow);
    }
    Entity::render();

    glPushMatrix();
    multiplyWorldTransform();
    const float* bodyScale = mesh ? mesh->scale : Renderable::scale;
    for (const btVector3* offset : {&wheelOffsetLeft, &wheelOffsetRight}) {
        glPushMatrix();
        glTranslatef(offset->x() * bodyScale[0], offset->y() * bodyScale[1], offset->z() * bodyScale[2]);
        glRotatef(steer * wheelSteerDegrees, 0, 1, 0);
        if (wheelMesh) wheelMesh->render();
        glPopMatrix();
    }
    glPopMatrix();

    if (starTimeLeft > 0) glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, noEmission);
}
