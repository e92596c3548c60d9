#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <boost/shared_ptr.hpp>
#include <LinearMath/btQuaternion.h>
#include <LinearMath/btVector3.h>

#include "support/TestMedia.h"

class Game;
class Mesh;
class StaticEntity;
class Vehicle;

// A mesh of one patch with the default material, built in memory.
boost::shared_ptr<Mesh> makeMesh(const std::vector<float>& positions, const std::vector<unsigned int>& indices);
// A closed box of 12 triangles with outward faces.
boost::shared_ptr<Mesh> makeBoxMesh(const btVector3& halfExtents, const btVector3& centre = btVector3(0, 0, 0));
// Corner positions and triangles of a box, appended to the given arrays.
void appendBox(std::vector<float>& positions, std::vector<unsigned int>& indices, const btVector3& halfExtents,
               const btVector3& centre);

// A physics world without a window: the game, test media with the libraries started, and helpers
// to furnish it the way the level loader would.
class TestWorld {
public:
    TestWorld();
    ~TestWorld();

    struct Block {
        btVector3 centre;
        btVector3 halfExtents;
    };
    // Boxes joined into one static triangle mesh (kind Static), like the track with its barriers: a
    // moving character always overlaps it, so its sweeps see every part of it.
    StaticEntity* addTerrain(const std::vector<Block>& blocks);
    // A flat floor whose top is at height y.
    StaticEntity* addFloor(float y = 0, float halfSize = 400);
    static Block floorBlock(float y = 0, float halfSize = 400);
    // A kart whose body meshes are boxes of `halfExtents`; of no size, meshes without patches.
    Vehicle* addVehicle(const btVector3& position, bool computer = false, const std::string& name = "Kart",
                        const btVector3& halfExtents = kartHalfExtents);
    // Gives both shell classes a small box as mesh and shape, as the entry does with the shell meshes.
    void prepareShells();
    // Runs fixed 1/60 s physics sub-steps, each followed by the tick callback.
    void step(int subSteps = 1);
    // Runs sub-steps, with the throttle of `driver` held if one is given, until `done` holds after one
    // or `limit` have run; returns the sub-steps taken, or -1 when `done` never held.
    int stepUntil(const std::function<bool()>& done, int limit, Vehicle* driver = nullptr);

    static constexpr float subStep = 1.0f / 60.0f;
    static const btVector3 kartHalfExtents;

    TestMedia media;
    std::unique_ptr<Game> game;
};
