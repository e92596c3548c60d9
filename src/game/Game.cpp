#include "game/Game.h"

#include <cassert>
#include <cmath>
#include <sstream>

#include <BulletCollision/CollisionDispatch/btGhostObject.h>
#include <BulletCollision/CollisionShapes/btTriangleShape.h>
#include <btBulletDynamicsCommon.h>

#include "entities/Entity.h"
#include "entities/Renderable.h"
#include "entities/Vehicle.h"
#include "game/Camera.h"
#include "game/GameClock.h"
#include "game/RaceEvents.h"
#include "game/RenderSettings.h"
#include "game/Window.h"
#include "items/Projectile.h"
#include "level/Course.h"
#include "level/SceneLoader.h"

namespace {

const btVector3 gravity(0, -9.81f, 0);
const float brakeStep = 3.0f;  // speed taken off per sub-step while braking on the ground

// Listens to nothing: the race's events go here while no one else listens.
RaceEvents nobodyListening;

void onPhysicsTick(btDynamicsWorld* world, btScalar timeStep) {
    GameClock::tick(timeStep);
    static_cast<Game*>(world->getWorldUserInfo())->updateRace();
}

// Replaces the normal of a contact with a track triangle by the triangle's face normal, so that
// karts are pushed along the face also where the detection found one of its edges or corners.
void correctNormal(btManifoldPoint& point, const btCollisionObjectWrapper* wrapper) {
    if (wrapper->getCollisionShape()->getShapeType() != TRIANGLE_SHAPE_PROXYTYPE) return;
    if (wrapper->getCollisionObject()->getCollisionShape()->getShapeType() != TRIANGLE_MESH_SHAPE_PROXYTYPE) return;
    const btTriangleShape* triangle = static_cast<const btTriangleShape*>(wrapper->getCollisionShape());
    const btVector3* corner = triangle->m_vertices1;
    btVector3 faceNormal = wrapper->getWorldTransform().getBasis() * (corner[1] - corner[0]).cross(corner[2] - corner[0]);
    if (faceNormal.length2() < SIMD_EPSILON * SIMD_EPSILON) return;  // degenerate triangle: no face to follow
    faceNormal.normalize();
    float length = point.m_normalWorldOnB.length();
    btVector3 corrected = faceNormal.dot(point.m_normalWorldOnB) > 0 ? faceNormal * length : -faceNormal * length;
    point.m_normalWorldOnB = btVector3(corrected.x(), corrected.y(), corrected.z());
}

bool onContactAdded(btManifoldPoint& point, const btCollisionObjectWrapper* first, int, int,
                    const btCollisionObjectWrapper* second, int, int) {
    correctNormal(point, first);
    correctNormal(point, second);
    return true;
}

}  // namespace

Game::Game()
    : events(&nobodyListening),
      ghost(nullptr),
      collisionConfiguration(new btDefaultCollisionConfiguration()),
      dispatcher(new btCollisionDispatcher(collisionConfiguration)),
      worldAabbMin(-10000, -10000, -10000),
      worldAabbMax(10000, 10000, 10000),
      broadphase(new btAxisSweep3(worldAabbMin, worldAabbMax)),
      solver(new btSequentialImpulseConstraintSolver()),
      dynamicsWorld(new btDiscreteDynamicsWorld(dispatcher, broadphase, solver, collisionConfiguration)),
      course(nullptr),
      currentTime(0),
      previousTime(0),
      frameTime(0),
      fpsFrames(0),
      fpsElapsed(0),
      fps(0),
      cullCounts{0, 0, 0, 0, 0, 0},
      raceOver(false),
      raceSteps(0),
      computersDriving(true),
      ghostPairCallback(new btGhostPairCallback()) {
    dynamicsWorld->setGravity(gravity);
    // Ghost objects of the karts and shells need their overlapping pairs kept.
    broadphase->getOverlappingPairCache()->setInternalGhostPairCallback(ghostPairCallback);
    dynamicsWorld->setInternalTickCallback(onPhysicsTick, this);
    gContactAddedCallback = onContactAdded;
}

Game::~Game() {
    // Everything that takes itself out of the physics world goes before the world does.
    deleteRaceObjects();
    delete course;
    course = nullptr;
    if (gContactAddedCallback == onContactAdded) gContactAddedCallback = nullptr;
    delete dynamicsWorld;
    delete solver;
    delete broadphase;
    delete dispatcher;
    delete collisionConfiguration;
    delete ghostPairCallback;
}

void Game::deleteRaceObjects() {
    // Shells first: a red shell points at a vehicle, and each shell removes itself from the list.
    while (projectiles.size() > 0) delete projectiles[projectiles.size() - 1];
    for (int i = 0; i < entities.size(); ++i) delete entities[i];
    entities.clear();
    for (int i = 0; i < vehicles.size(); ++i) delete vehicles[i];
    vehicles.clear();
    players.clear();
    for (int i = 0; i < cameras.size(); ++i) delete cameras[i];
    cameras.clear();
    raceRecords.clear();
}

void Game::addEntity(Entity* entity) { entities.push_back(entity); }

void Game::addVehicle(Vehicle* vehicle) {
    vehicles.push_back(vehicle);
    raceRecords.push_back(RaceRecord());
}

btAlignedObjectArray<Vehicle*> Game::getVehicles() const { return vehicles; }

void Game::addProjectile(Projectile* projectile) { projectiles.push_back(projectile); }

void Game::removeProjectile(Projectile* projectile) {
    int index = projectiles.findLinearSearch(projectile);
    if (index == projectiles.size()) return;
    projectiles[index] = projectiles[projectiles.size() - 1];
    projectiles.pop_back();
}

void Game::addLight(Light* light) { lights.push_back(light); }

void Game::addCamera(Camera* camera) { cameras.push_back(camera); }

void Game::setCourse(std::vector<btVector3> points) {
    delete course;
    course = new Course(points);
}

void Game::restart() {
    deleteRaceObjects();
    // With the world empty, the broadphase hands out its handles from the first again, in order, as in
    // a new game: a pair's order, and so the order contacts are worked in, follows the handles.
    broadphase->resetPool(dispatcher);
    raceOver = false;
    raceSteps = 0;
    random.reseed(settings.seed);
    loadScene(this, levelFileName);
}

void Game::updateRace() {
    const PlayerControls controls = readControls ? readControls() : PlayerControls();
    if (raceOver) {
        // After the race only the restart counts; the bookkeeping stays frozen.
        if (controls.has(PlayerControls::restart)) {
            restart();
            // The world gave gravity to the old race's bodies as this step began; the new ones get it
            // now, for the sub-steps left in it, as they would at the start of a step of their own.
            dynamicsWorld->applyGravity();
        }
        return;
    }
    ++raceSteps;
    applyControls(controls);
    updateStandings();
}

void Game::applyControls(const PlayerControls& controls) {
    computersDriving = !controls.has(PlayerControls::computersHeld);
    if (players.empty()) return;
    Vehicle* vehicle = players[0];
    if (controls.has(PlayerControls::steerLeft)) vehicle->steerLeft();
    if (controls.has(PlayerControls::steerRight)) vehicle->steerRight();
    if (controls.has(PlayerControls::throttle)) vehicle->accelerate();
    if (controls.has(PlayerControls::brake) && vehicle->onGround()) {
        vehicle->speed -= brakeStep;
        if (vehicle->speed < 0) vehicle->speed = 0;
    }
    vehicle->driftHeld = controls.has(PlayerControls::drift);
    if (controls.has(PlayerControls::useItem)) vehicle->useItem(controls.has(PlayerControls::backwards));
    // In this order, so that the last item asked for wins.
    const struct {
        PlayerControls::Flag flag;
        ItemType item;
    } itemChoices[] = {{PlayerControls::takeRedShell, ItemType::redShell},
                       {PlayerControls::takeGreenShell, ItemType::greenShell},
                       {PlayerControls::takeTurbo, ItemType::turbo},
                       {PlayerControls::takeStar, ItemType::star},
                       {PlayerControls::takeFlash, ItemType::flash}};
    for (const auto& choice : itemChoices) {
        if (controls.has(choice.flag)) vehicle->heldItem = choice.item;
    }
    if (controls.has(PlayerControls::endRace)) {
        for (RaceRecord& record : raceRecords) record.finished = true;
    }
}

void Game::updateStandings() {
    assert(raceRecords.size() == static_cast<size_t>(vehicles.size()) && "one record per vehicle");
    if (!course || course->segmentCount() == 0) return;
    const int last = course->segmentCount() - 1;
    for (int i = 0; i < vehicles.size(); ++i) {
        RaceRecord& record = raceRecords[i];
        if (record.finished) continue;
        bool finishing = false;
        btTransform transform;
        vehicles[i]->getWorldTransform(transform);
        const btVector3 origin = transform.getOrigin();
        const int segment = findCheckpoint(origin, *course);

        if (record.segment == 0 && segment == last) {
            record.crossedBackwards = true;
        } else if (record.segment == last && segment == 0) {
            if (!record.crossedBackwards) {
                record.lap += 1;
                // The lap before the first crossing starts on the grid: it is not a whole lap.
                const int64_t lapSteps = raceSteps - record.lapStartStep;
                if (record.lap > 1 && (record.bestLapSteps < 0 || lapSteps < record.bestLapSteps)) {
                    record.bestLapSteps = lapSteps;
                }
                record.lapStartStep = raceSteps;
                events->lineCrossed(*vehicles[i], record.lap);
            }
            finishing = record.lap > settings.laps;
            record.crossedBackwards = false;
        }
        record.segment = segment;
        // Outside every slab there is nothing to measure in: the last progress stands.
        if (segment >= 0) record.progress = course->lapFraction(segment, origin);

        // One place down for every vehicle ahead: a finisher placed before this one, or more laps
        // (a lap less while back over the line), or as many laps and more progress. A finisher counts
        // one place like any other; setting the rank to the finisher's rank + 1 would depend on the
        // order of the list and let later finishers share a rank.
        const int ownLaps = record.lap - (record.crossedBackwards ? 1 : 0);
        int rank = 1;
        for (const RaceRecord& other : raceRecords) {
            const int otherLaps = other.lap - (other.crossedBackwards ? 1 : 0);
            const bool finishedAhead = other.finished && other.rank < record.rank;
            if (finishedAhead || otherLaps > ownLaps || (otherLaps == ownLaps && other.progress > record.progress)) {
                rank += 1;
            }
        }
        record.rank = rank;
        if (finishing) {
            record.finished = true;
            record.finishSteps = raceSteps;
            events->kartFinished(*vehicles[i], rank);
        }
    }

    // A level without a player has no one whose finish could end the race.
    if (players.empty()) return;
    size_t finishedPlayers = 0;
    for (Vehicle* player : players) {
        int index = vehicles.findLinearSearch(player);
        if (index < vehicles.size() && raceRecords[index].finished) ++finishedPlayers;
    }
    if (finishedPlayers == players.size()) raceOver = true;
}

Vehicle* Game::vehicleAhead(Vehicle* vehicle) const {
    assert(raceRecords.size() == static_cast<size_t>(vehicles.size()) && "one record per vehicle");
    int index = vehicles.findLinearSearch(vehicle);
    int wanted = static_cast<int>(raceRecords.size());
    if (index < vehicles.size() && raceRecords[index].rank != 1) wanted = raceRecords[index].rank - 1;
    for (int i = 0; i < vehicles.size(); ++i) {
        if (raceRecords[i].rank == wanted) return vehicles[i];
    }
    return vehicle;
}

void Game::buildFrustumPlanes(const Camera& camera) {
    const btVector3 up(0, 1, 0);
    const btVector3& eye = camera.eye;
    const btVector3& view = camera.viewDirection;
    const float nearDistance = static_cast<float>(nearPlaneDistance);
    const float farDistance = static_cast<float>(farPlaneDistance);
    const btVector3 right = view.cross(up);
    const float nearHeight = 2.0f * std::tan(static_cast<float>(fieldOfViewDegrees / 2.0) * SIMD_RADS_PER_DEG) * nearDistance;
    const float nearWidth = nearHeight * static_cast<float>(windowWidth()) / static_cast<float>(windowHeight());
    const btVector3 nearCentre = eye + view * nearDistance;
    const btVector3 farCentre = eye + view * farDistance;

    auto sidePlane = [&eye](FrustumPlane& plane, const btVector3& normal) {
        plane.normal = normal;
        plane.distance = normal.dot(eye);
    };
    frustumPlanes[0].normal = view;
    frustumPlanes[0].distance = view.dot(nearCentre);
    const btVector3 left = (nearCentre - right * (nearWidth / 2) - eye).normalized();
    sidePlane(frustumPlanes[1], left.cross(up));
    const btVector3 rightEdge = (nearCentre + right * (nearWidth / 2) - eye).normalized();
    sidePlane(frustumPlanes[2], up.cross(rightEdge));
    const btVector3 bottom = (nearCentre - up * (nearHeight / 2) - eye).normalized();
    sidePlane(frustumPlanes[3], right.cross(bottom));
    const btVector3 top = (nearCentre + up * (nearHeight / 2) - eye).normalized();
    sidePlane(frustumPlanes[4], top.cross(right));
    frustumPlanes[5].normal = -view;
    frustumPlanes[5].distance = (-view).dot(farCentre);
}

bool Game::isVisible(Renderable* object) {
    if (!renderSettings.frustumCulling) return true;
    for (int i = 0; i < 6; ++i) {
        const btVector3 centre = object->getBoundingCenter();
        const float radius = object->getBoundingRadius();
        if (frustumPlanes[i].normal.dot(centre) < frustumPlanes[i].distance - radius) {
            ++cullCounts[i];
            return false;
        }
    }
    return true;
}

std::string Game::cullStatistics() const {
    std::ostringstream line;
    line << "culled objects / plane:";
    for (int i = 0; i < 6; ++i) line << " " << i << " (" << cullCounts[i] << ")";
    return line.str();
}
