#include <cmath>
#include <set>

#include <BulletCollision/CollisionDispatch/btGhostObject.h>
#include <GLFW/glfw3.h>
#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include "assets/Mesh.h"
#include "entities/DynamicEntity.h"
#include "entities/StaticEntity.h"
#include "entities/Vehicle.h"
#include "game/Camera.h"
#include "game/Game.h"
#include "items/Projectile.h"
#include "level/Course.h"
#include "support/TestWorld.h"

namespace {

// A small level: a floor and five karts, the fourth the player's.
const char* const smallLevel = R"(<scene><nodes>
  <node><position x="0" y="-1" z="0"/><quaternion x="0" y="0" z="0" w="1"/><scale x="1" y="1" z="1"/>
    <entity meshFile="Floor.mesh"><userData><property name="type" data="terrain"/></userData></entity></node>
  <node><position x="-10" y="1" z="-20"/><quaternion x="0" y="0" z="0" w="1"/><scale x="1" y="1" z="1"/>
    <entity meshFile="Kart.mesh"><userData><property name="type" data="vehicle"/></userData></entity></node>
  <node><position x="10" y="1" z="-20"/><quaternion x="0" y="0" z="0" w="1"/><scale x="1" y="1" z="1"/>
    <entity meshFile="Kart.mesh"><userData><property name="type" data="vehicle"/></userData></entity></node>
  <node><position x="-10" y="1" z="-30"/><quaternion x="0" y="0" z="0" w="1"/><scale x="1" y="1" z="1"/>
    <entity meshFile="Kart.mesh"><userData><property name="type" data="vehicle"/></userData></entity></node>
  <node><position x="10" y="1" z="-30"/><quaternion x="0" y="0" z="0" w="1"/><scale x="1" y="1" z="1"/>
    <entity meshFile="Kart.mesh"><userData><property name="type" data="vehicle"/></userData></entity></node>
  <node><position x="0" y="3" z="40"/><quaternion x="0" y="0" z="0" w="1"/><scale x="1" y="1" z="1"/>
    <entity meshFile="Crate.mesh"><userData><property name="type" data="crate"/><property name="mass" data="4"/></userData></entity></node>
</nodes></scene>)";

struct GameWithLevel : ::testing::Test {
    GameWithLevel() {
        world.media.writeKartMeshes();
        world.media.writeBoxMesh("Floor.mesh.xml", 500, 1, 500);
        world.media.writeBoxMesh("Kart.mesh.xml", 1, 1, 1);
        world.media.writeBoxMesh("Crate.mesh.xml", 1, 1, 1);
        world.media.write("meshes/level.scene.xml", smallLevel);
        world.media.write("meshes/level.raw", "-200 0 -100  -200 0 100  200 0 100  200 0 -100");
        world.game->restart();
    }
    TestWorld world;
};

}  // namespace

TEST(GameLists, VehiclesGetRecordsAtTheirIndexAndGetVehiclesIsACopy) {
    TestWorld world;
    Vehicle* first = world.addVehicle(btVector3(0, 1, 0));
    Vehicle* second = world.addVehicle(btVector3(10, 1, 0));
    Game& game = *world.game;
    ASSERT_EQ(game.vehicles.size(), 2);
    EXPECT_EQ(game.raceRecords.size(), 2u);
    EXPECT_EQ(game.vehicles[0], first);
    EXPECT_EQ(game.vehicles[1], second);
    EXPECT_EQ(game.raceRecords[1].rank, -1);
    EXPECT_FLOAT_EQ(game.raceRecords[1].progress, -1.0f);

    btAlignedObjectArray<Vehicle*> copy = game.getVehicles();
    copy.push_back(first);
    copy.clear();
    EXPECT_EQ(game.vehicles.size(), 2);
}

TEST(GameLists, SetCourseReplacesTheCourse) {
    TestWorld world;
    world.game->setCourse(Course::defaultPoints());
    world.game->setCourse({btVector3(0, 0, 0), btVector3(0, 0, 50), btVector3(50, 0, 50)});
    ASSERT_NE(world.game->course, nullptr);
    EXPECT_EQ(world.game->course->segmentCount(), 3);
    // A list no course can be built from gives the default course rather than a division by zero.
    world.game->setCourse({btVector3(0, 0, 0), btVector3(0, 0, 0)});
    EXPECT_EQ(world.game->course->segmentCount(), 5);
}

TEST_F(GameWithLevel, LevelLoadMakesThePlayerCameraAndRecords) {
    Game& game = *world.game;
    EXPECT_EQ(game.entities.size(), 2);  // floor and crate
    ASSERT_EQ(game.vehicles.size(), 4);
    EXPECT_EQ(game.raceRecords.size(), 4u);
    ASSERT_EQ(game.players.size(), 1u);
    EXPECT_EQ(game.players[0], game.vehicles[3]);
    EXPECT_EQ(game.players[0]->getName(), "Player");
    ASSERT_EQ(game.cameras.size(), 1);
    EXPECT_EQ(game.cameras[0]->target, game.players[0]);
    EXPECT_EQ(game.course->segmentCount(), 4);
}

TEST_F(GameWithLevel, RestartRebuildsTheLevelAndDropsEveryShell) {
    Game& game = *world.game;
    world.prepareShells();
    game.vehicles[0]->heldItem = ItemType::redShell;
    game.vehicles[0]->useItem(false);
    game.vehicles[1]->heldItem = ItemType::greenShell;
    game.vehicles[1]->useItem(false);
    game.raceRecords[2].lap = 3;
    game.raceOver = true;
    ASSERT_EQ(game.projectiles.size(), 2);
    const int objectsBefore = game.dynamicsWorld->getNumCollisionObjects();

    game.restart();
    EXPECT_EQ(game.projectiles.size(), 0);
    EXPECT_TRUE(Projectile::allProjectiles.empty());
    EXPECT_EQ(game.dynamicsWorld->getNumCollisionObjects(), objectsBefore - 2) << "no shell left in the world";
    EXPECT_EQ(game.vehicles.size(), 4);
    EXPECT_EQ(game.entities.size(), 2);
    EXPECT_EQ(game.cameras.size(), 1);
    EXPECT_EQ(game.players.size(), 1u);
    EXPECT_FALSE(game.raceOver);
    EXPECT_EQ(game.raceRecords[2].lap, 0);
    world.step(120);  // the new race runs
}

TEST(GameLists, DestroyingTheGameFreesEverythingItOwns) {
    // Run under a leak checker, this shows nothing left behind; here the world must at least be empty
    // before it goes, since every object takes itself out of it.
    TestWorld world;
    world.prepareShells();
    world.addFloor();
    Vehicle* kart = world.addVehicle(btVector3(0, 1, 0));
    world.game->addCamera(new Camera(kart));
    world.game->setCourse(Course::defaultPoints());
    kart->heldItem = ItemType::greenShell;
    kart->useItem(false);
    world.game.reset();
    EXPECT_TRUE(Projectile::allProjectiles.empty());
}

TEST(ContactNormals, TrackTrianglesPushAlongTheirFaceButBoxesKeepTheirNormal) {
    TestWorld world;
    // A ridge along x: two faces sloping down at 45 degrees to either side of z = 0.
    const std::vector<float> ridge = {-50, 0, 0, 50, 0, 0, 50, -50, 50, -50, -50, 50,
                                      -50, -50, -50, 50, -50, -50};
    const std::vector<unsigned int> faces = {0, 2, 1, 0, 3, 2, 0, 1, 5, 0, 5, 4};
    boost::shared_ptr<Mesh> mesh = makeMesh(ridge, faces);
    new StaticEntity(world.game.get(), btVector3(0, 0, 0), btQuaternion::getIdentity(), EntityKind::Static, mesh,
                     mesh->createTriangleMeshShape());
    // A ball resting on the ridge line touches both faces at their shared edge.
    boost::shared_ptr<btCollisionShape> ball(new btSphereShape(1));
    DynamicEntity* resting = new DynamicEntity(world.game.get(), btVector3(0, 0.99f, 0), 1, btQuaternion::getIdentity(),
                                               EntityKind::Dynamic, boost::shared_ptr<Mesh>(new Mesh()), ball);
    // A box beside it, on a box-shaped (not triangle-mesh) static object.
    boost::shared_ptr<btCollisionShape> block(new btBoxShape(btVector3(5, 5, 5)));
    new StaticEntity(world.game.get(), btVector3(200, -5, 0), btQuaternion::getIdentity(), EntityKind::Static,
                     boost::shared_ptr<Mesh>(new Mesh()), block);
    new DynamicEntity(world.game.get(), btVector3(200, 0.99f, 0), 1, btQuaternion::getIdentity(), EntityKind::Dynamic,
                      boost::shared_ptr<Mesh>(new Mesh()), ball);
    world.game->dynamicsWorld->performDiscreteCollisionDetection();

    const float faceY = std::sqrt(0.5f);
    int ridgePoints = 0, boxPoints = 0;
    btDispatcher* dispatcher = world.game->dynamicsWorld->getDispatcher();
    for (int m = 0; m < dispatcher->getNumManifolds(); ++m) {
        btPersistentManifold* manifold = dispatcher->getManifoldByIndexInternal(m);
        const bool ridgeContact = manifold->getBody0() == resting->getRigidBody() ||
                                  manifold->getBody1() == resting->getRigidBody();
        for (int p = 0; p < manifold->getNumContacts(); ++p) {
            const btVector3 normal = manifold->getContactPoint(p).m_normalWorldOnB;
            EXPECT_NEAR(normal.length(), 1.0f, 1e-4f) << "the length is kept";
            if (ridgeContact) {
                // Not the straight-up edge normal but one of the two face normals.
                EXPECT_NEAR(std::fabs(normal.y()), faceY, 1e-3f);
                EXPECT_NEAR(std::fabs(normal.z()), faceY, 1e-3f);
                ++ridgePoints;
            } else {
                EXPECT_NEAR(std::fabs(normal.y()), 1.0f, 1e-3f);
                ++boxPoints;
            }
        }
    }
    EXPECT_GT(ridgePoints, 0);
    EXPECT_GT(boxPoints, 0);
}

TEST_F(GameWithLevel, DrivingKeysActOnThePlayerOnly) {
    Game& game = *world.game;
    Vehicle* player = game.players[0];
    world.step(30);
    std::set<int> held;
    game.keyDown = [&held](int key) { return held.count(key) > 0; };

    // The keys are read after each sub-step's driving update: the first throttle tick meets no friction.
    held = {GLFW_KEY_UP};
    world.step(20);
    EXPECT_NEAR(player->speed, 1.5f + 19 * 0.5f, 1e-3f);

    held = {GLFW_KEY_UP, GLFW_KEY_DOWN};  // both in one sub-step: friction, throttle, then brake
    world.step();
    EXPECT_NEAR(player->speed, 11.0f - 1.0f + 1.5f - 3.0f, 1e-3f);

    held = {GLFW_KEY_LEFT, GLFW_KEY_LEFT_CONTROL};
    world.step();
    EXPECT_GT(player->steer, 0.0f);
    EXPECT_TRUE(player->driftHeld);
    held = {};
    world.step();
    EXPECT_FALSE(player->driftHeld);

    held = {'R', 'F'};  // the last item key read wins
    world.step();
    EXPECT_EQ(player->heldItem, ItemType::flash);
    // Space is read before the item keys: the flash is used, then G hands over a green shell.
    held = {'G', GLFW_KEY_SPACE};
    world.step();
    EXPECT_EQ(player->heldItem, ItemType::greenShell);
    EXPECT_GT(game.vehicles[0]->flashTimeLeft, 11.9f);
}

TEST_F(GameWithLevel, EEndsTheRaceInTheSameSubStepAndEnterRestartsOnce) {
    Game& game = *world.game;
    world.step(10);
    std::vector<int> ranks;
    for (const RaceRecord& record : game.raceRecords) ranks.push_back(record.rank);
    std::set<int> held = {'E'};
    game.keyDown = [&held](int key) { return held.count(key) > 0; };
    world.step();
    EXPECT_TRUE(game.raceOver);
    for (size_t i = 0; i < ranks.size(); ++i) {
        EXPECT_TRUE(game.raceRecords[i].finished);
        EXPECT_EQ(game.raceRecords[i].rank, ranks[i]) << "ranks stay as they were";
    }

    held = {GLFW_KEY_UP};
    world.step(10);
    EXPECT_FLOAT_EQ(game.players[0]->speed, 0.0f) << "after the race the driving keys do nothing";

    held = {GLFW_KEY_ENTER};
    const Vehicle* before = game.players[0];
    world.step();
    EXPECT_FALSE(game.raceOver);
    EXPECT_NE(game.players[0], before) << "a new race with new karts";
    const Vehicle* restarted = game.players[0];
    world.step(30);  // Enter still held: the new race is not over, so no second restart
    EXPECT_EQ(game.players[0], restarted);
}

TEST(GameWithoutPlayer, PollIsSkippedAndTheRaceGoesOn) {
    TestWorld world;
    world.addFloor();
    world.addVehicle(btVector3(0, 1, 0), true, "Computer 1");
    world.game->setCourse(Course::defaultPoints());
    world.game->keyDown = [](int) { return true; };  // every key held, E included
    world.step(60);
    EXPECT_FALSE(world.game->raceOver);
}
