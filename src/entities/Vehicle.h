#pragma once

#include <memory>
#include <string>
#include <vector>

#include "entities/CharacterEntity.h"
#include "entities/ItemType.h"

class btManifoldPoint;
class ParticleEmitter;

// A race kart: the arcade driving model, held item and its effects, contact rules and drawing.
// Per-call constants act once per physics sub-step (60 per second).
class Vehicle : public CharacterEntity {
public:
    Vehicle(Game* game, const btVector3& position, std::string name, const btQuaternion& rotation,
            std::vector<boost::shared_ptr<Mesh>> bodyMeshes, boost::shared_ptr<Mesh> wheelMesh,
            boost::shared_ptr<btConvexShape> shape);
    ~Vehicle() override;

    void steerLeft();
    void steerRight();
    void accelerate();
    void useItem(bool backwards);
    void chooseRandomItem();
    std::string heldItemName() const;
    std::string getName() const { return name; }

    void hit(const btVector3& direction, float strength) override;
    void onCollision(btPersistentManifold* manifold, float sign, const btCollisionObject* other,
                     EntityTag* otherTag, float dt) override;
    void updateAction(btCollisionWorld* world, btScalar dt) override;
    void render() override;

    // The item a value of rand() draws.
    static ItemType itemFor(int randomValue);
    // Body pose chosen from steer: 0 straight, positive leaning left, negative leaning right.
    static int poseIndex(float steer, float steerLimit, int poseCount);

    std::string name;
    float steer;            // positive turns left (towards local +X)
    float steerStep;        // change per steering call
    float steerLimit;
    btVector3 wheelOffsetLeft;   // body-space position of the front wheel on the +X side
    btVector3 wheelOffsetRight;
    float wheelRadius;
    float wheelWidth;
    bool driftHeld;         // drift key held this sub-step
    float driftMinSpeed;    // speed above which hard steering accumulates drift time
    float driftBoostTime;   // drift seconds after which turning is 1.5 times faster
    float driftSpinTime;    // drift seconds after which the kart spins out
    float driftTime;        // seconds
    float slideFactor;      // sideways slide as a fraction of the forward speed
    float spinDuration;     // seconds of one spin-out turn
    float spinTimeLeft;
    int32_t spinDirection;  // +1 or -1
    float starDuration;
    float starTimeLeft;
    float flashHoldTime;    // seconds at minimum size
    float flashRampTime;    // seconds of shrinking, and of growing back
    float flashTimeLeft;
    float flashMinScale;
    float scale;            // uniform scale of body, wheels and shape (hides the renderable's scale)
    float normalMaxSpeed;   // units per second
    float turboMaxSpeed;    // also the absolute speed cap
    float maxSpeed;         // what accelerate drives towards
    float turboDuration;
    float turboTimeLeft;
    btVector3 halfExtents;  // half size of the body shape's box
    std::unique_ptr<ParticleEmitter> dustEmitter;
    bool dustFromLeft;      // side of the next dust particle
    std::vector<boost::shared_ptr<Mesh>> bodyMeshes;  // straight pose, then increasing lean
    boost::shared_ptr<Mesh> wheelMesh;
    ItemType heldItem;
    // Order of creation: decides which of two touching karts handles their contact, the same on
    // every run (memory addresses would not be).
    const uint64_t serial;

    static constexpr float throttleStep = 1.5f;       // per accelerate call
    static constexpr float groundFriction = 1.0f;     // per sub-step
    static constexpr float airFriction = 0.5f;        // per sub-step
    static constexpr float pushDecay = 0.5f;          // per sub-step
    static constexpr float steeringReturn = 0.95f;    // per sub-step
    static constexpr float wallStrengthMin = 20.0f;
    static constexpr float wallStrengthMax = 40.0f;
    static constexpr float staticBodyWallStrength = 51.0f;
    static constexpr float bumpStrength = 20.0f;      // two karts touching
    static constexpr float starHitStrength = 30.0f;
    static constexpr float wheelSteerDegrees = 8.0f;  // per unit of steer

private:
    static uint64_t vehiclesCreated;

    void updateFlash(float dt);
    void applyScale(float newScale);
    void mirrorFor(int pose);
    void emitDust();
    void touchVehicle(Vehicle* other);
    static btVector3 wallFacing(const btManifoldPoint& point, float sign, const btVector3& walk);
    void touchWall(btPersistentManifold* manifold, float sign, const btVector3& walk);
    void pushRigidBody(btPersistentManifold* manifold, float sign, EntityTag* otherTag, float dt);
};
