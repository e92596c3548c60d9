#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <LinearMath/btAlignedObjectArray.h>
#include <LinearMath/btVector3.h>

#include "game/PlayerControls.h"
#include "game/RaceRandom.h"
#include "game/RaceRecord.h"
#include "game/RaceSettings.h"

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
class RaceEvents;
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

    // Deletes the race's objects and loads the level again, inside the same physics world, for a
    // race on `settings` from its start: clock at zero, random draws from the seed.
    void restart();
    void initGL();
    // One frame: drawFrame over frameTime, then presentFrame.
    void renderFrame();
    // Draws the world, messages, display and ranking screen, moving the camera and particles on by
    // `timeStep` seconds (none while the race is paused).
    void drawFrame(float timeStep);
    // Shows the drawn frame (window and key events are handled while it swaps) and counts it into
    // the frame rate, over frameTime.
    void presentFrame();
    // Tick callback work: the player's controls, then the standings.
    void updateRace();

    void buildFrustumPlanes(const Camera& camera);
    bool isVisible(Renderable* object);
    std::string cullStatistics() const;

    // The player's controls for the coming sub-step, read once per sub-step; set by the entry (the
    // keyboard), a runner or a replay. Left empty, the player does nothing.
    std::function<PlayerControls()> readControls;
    // Hears what happens in the race; never null (a listener that ignores everything by default).
    RaceEvents* events;
    // Drawn see-through after the karts, touching nothing (a time trial's ghost); null for none. Not owned.
    Renderable* ghost;

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

    RaceSettings settings;  // of the race under way; restart() starts the next one on them
    int64_t raceSteps;      // sub-steps since the race began; stands still once it is over
    double raceTime() const { return raceSteps * static_cast<double>(subStep); }
    RaceRandom random;      // the race's draws, reseeded from settings.seed at each start
    bool computersDriving;  // false while the player holds the computer drivers

    static constexpr const char* levelFileName = "level.scene.xml";
    static constexpr float subStep = 1.0f / 60.0f;  // seconds of one physics sub-step

private:
    void applyControls(const PlayerControls& controls);
    void updateStandings();
    void deleteRaceObjects();

    btGhostPairCallback* ghostPairCallback;
};
