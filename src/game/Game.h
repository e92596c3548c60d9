#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <LinearMath/btAlignedObjectArray.h>
#include <LinearMath/btVector3.h>

#include "game/RaceRecord.h"

class btAxisSweep3;
class btCollisionDispatcher;
class btDefaultCollisionConfiguration;
class btDiscreteDynamicsWorld;
class btGhostPairCallback;
class btSequentialImpulseConstraintSolver;
class Camera;
class Course;
class Entity;
class Light;
class Projectile;
class Renderable;
class Vehicle;

// One culling plane: a point x is inside when normal . x >= distance.
struct FrustumPlane {
    float distance = 0.0f;
    btVector3 normal = btVector3(0, 0, 0);
};

// The central object: owns the physics world and everything in it, the lists every frame walks,
// the race state and the frame clock.
class Game {
public:
    Game();
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    void addEntity(Entity* entity);
    void addVehicle(Vehicle* vehicle);
    btAlignedObjectArray<Vehicle*> getVehicles() const;
    Vehicle* vehicleAhead(Vehicle* vehicle) const;
    void addProjectile(Projectile* projectile);
    // Removes a projectile by moving the last one into its place (the order is not kept).
    void removeProjectile(Projectile* projectile);
    void addLight(Light* light);
    void addCamera(Camera* camera);
    void setCourse(std::vector<btVector3> points);

    // Deletes the race's objects and loads the level again, inside the same physics world.
    void restart();
    void initGL();
    void renderFrame();
    // Tick callback work: the driving keys, then the standings.
    void updateRace();

    void buildFrustumPlanes(const Camera& camera);
    bool isVisible(Renderable* object);
    std::string cullStatistics() const;

    // Answers whether a key (GLFW key code) is held; set by the entry to read the window,
    // left empty where no window exists.
    std::function<bool(int)> keyDown;

    btDefaultCollisionConfiguration* collisionConfiguration;
    btCollisionDispatcher* dispatcher;
    btVector3 worldAabbMin;  // declared before broadphase, which is built over this box
    btVector3 worldAabbMax;
    btAxisSweep3* broadphase;
    btSequentialImpulseConstraintSolver* solver;
    btDiscreteDynamicsWorld* dynamicsWorld;

    btAlignedObjectArray<Entity*> entities;
    btAlignedObjectArray<Vehicle*> vehicles;
    btAlignedObjectArray<Projectile*> projectiles;
    btAlignedObjectArray<Light*> lights;
    btAlignedObjectArray<Camera*> cameras;
    Course* course;

    double currentTime;
    double previousTime;
    double frameTime;  // seconds since the previous frame
    uint32_t fpsFrames;
    double fpsElapsed;
    double fps;

    FrustumPlane frustumPlanes[6];  // near, left, right, bottom, top, far
    uint32_t cullCounts[6];         // rejections per plane since construction

    std::vector<RaceRecord> raceRecords;
    bool raceOver;
    std::vector<Vehicle*> players;  // keyboard-driven vehicles, not owned

    static constexpr int raceLaps = 5;
    static constexpr const char* levelFileName = "level.scene.xml";

private:
    void pollDrivingKeys();
    void updateStandings();
    void deleteRaceObjects();
    bool isKeyDown(int key) const;

    btGhostPairCallback* ghostPairCallback;
};
