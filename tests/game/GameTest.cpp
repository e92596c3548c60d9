#include <cmath>
#include <set>
#include <string>

#include <GLFW/glfw3.h>
#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include "assets/Mesh.h"
#include "entities/DynamicEntity.h"
#include "entities/StaticEntity.h"
#include "entities/Vehicle.h"
#include "game/Camera.h"
#include "game/Game.h"
#include "input/KeyboardControls.h"
#include "items/Projectile.h"
#include "level/Course.h"
#include "replay/RaceCheck.h"
#include "support/TestWorld.h"

namespace {

std::string node(int x, int y, int z, const std::string& mesh, const std::string& type) {
    return "<node><position x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\" z=\"" +
           std::to_string(z) + "\"/><quaternion x=\"0\" y=\"0\" z=\"0\" w=\"1\"/><scale x=\"1\" y=\"1\" z=\"1\"/>" +
           "<entity meshFile=\"" + mesh + "\"><userData>" + type + "</userData></entity></node>";
}

// The window's sticky keys: a key released after it was read while down is read once more, however
// long ago that was.
struct StickyKeyboard {
    std::set<int> down, stuck;
    void press(int key) { down.insert(key); }
    void release(int key) {
        if (down.erase(key)) stuck.insert(key);
    }
    bool read(int key) { return down.count(key) > 0 || stuck.erase(key) > 0; }
};

// A small level loaded by restart(): a floor, four karts (the fourth the player's) and a crate.
struct GameWithLevel : ::testing::Test {
    GameWithLevel() {
        world.media.writeKartMeshes();
        world.media.writeBoxMesh("Floor.mesh.xml", 500, 1, 500);
        world.media.writeBoxMesh("Box.mesh.xml", 1, 1, 1);
        const std::string kart = "<property name=\"type\" data=\"vehicle\"/>";
        world.media.write("meshes/level.scene.xml",
                          "<scene><nodes>" + node(0, -1, 0, "Floor.mesh", "<property name=\"type\" data=\"terrain\"/>") +
                              node(-10, 1, -20, "Box.mesh", kart) + node(10, 1, -20, "Box.mesh", kart) +
                              node(-10, 1, -30, "Box.mesh", kart) + node(10, 1, -30, "Box.mesh", kart) +
                              node(0, 3, 40, "Box.mesh", "<property name=\"mass\" data=\"4\"/>") + "</nodes></scene>");
        world.media.write("meshes/level.raw", "-200 0 -100  -200 0 100  200 0 100  200 0 -100");
        world.game->restart();
        world.game->readControls = [this] { return keys.read(); };
    }
    void hold(std::set<int> keys) { keyboard.down = keys; }
    TestWorld world;
    StickyKeyboard keyboard;
    KeyboardControls keys{[this](int key) { return keyboard.read(key); }};
};

}  // namespace

TEST(GameLists, RecordsFollowVehiclesAndTheGameFreesWhatItOwns) {
    TestWorld world;
    world.prepareShells();
    world.addFloor();
    Vehicle* first = world.addVehicle(btVector3(0, 1, 0));
    world.addVehicle(btVector3(10, 1, 0));
    ASSERT_EQ(world.game->raceRecords.size(), 2u);
    // Under a leak checker this shows nothing left behind; here every object leaves the lists.
    world.game->addCamera(new Camera(first));
    first->heldItem = ItemType::greenShell;
    first->useItem(false);
    ASSERT_EQ(Projectile::allProjectiles.size(), 1u);
    world.game.reset();
    EXPECT_TRUE(Projectile::allProjectiles.empty());
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
    EXPECT_TRUE(Projectile::allProjectiles.empty());
    EXPECT_EQ(game.dynamicsWorld->getNumCollisionObjects(), objectsBefore - 2) << "no shell left in the world";
    EXPECT_EQ(game.vehicles.size(), 4);
    EXPECT_EQ(game.entities.size(), 2);
    ASSERT_EQ(game.players.size(), 1u);
    EXPECT_EQ(game.players[0], game.vehicles[3]);
    ASSERT_EQ(game.cameras.size(), 1);
    EXPECT_EQ(game.cameras[0]->target, game.players[0]);
    EXPECT_FALSE(game.raceOver);
    EXPECT_EQ(game.raceRecords[2].lap, 0);
    world.step(120);  // the new race runs
}

// The settings of the next race reach its grid: as many computer karts as asked for, the player
// always; their pace; and draws that follow the seed alone.
TEST_F(GameWithLevel, RestartLinesUpTheRaceItsSettingsAskFor) {
    Game& game = *world.game;
    const struct {
        int computers;
        Pace pace;
        uint32_t seed;
    } races[] = {{0, Pace::normal, 1}, {1, Pace::relaxed, 3}, {3, Pace::fast, 1}};
    std::vector<ItemType> firstDraws;
    for (const auto& race : races) {
        SCOPED_TRACE(race.computers);
        game.settings.computerDrivers = race.computers;
        game.settings.pace = race.pace;
        game.settings.seed = race.seed;
        game.restart();
        ASSERT_EQ(game.vehicles.size(), race.computers + 1);
        ASSERT_EQ(game.players.size(), 1u);
        EXPECT_EQ(game.players[0]->getName(), "Player");
        for (int i = 0; i < game.vehicles.size(); ++i) {
            if (game.vehicles[i] == game.players[0]) continue;
            const float player = game.players[0]->normalMaxSpeed, computer = game.vehicles[i]->normalMaxSpeed;
            EXPECT_TRUE(race.pace == Pace::relaxed ? computer < player
                        : race.pace == Pace::fast  ? computer > player
                                                   : computer == player);
        }
        if (race.computers > 0) firstDraws.push_back(game.vehicles[0]->heldItem);
    }
    ASSERT_EQ(firstDraws.size(), 2u);
    // Seed 1 draws the same first item with one computer kart or three; seed 3 draws another.
    game.settings = RaceSettings();
    game.settings.computerDrivers = 1;
    game.restart();
    EXPECT_EQ(game.vehicles[0]->heldItem, firstDraws[1]);
    EXPECT_NE(game.vehicles[0]->heldItem, firstDraws[0]);
}

TEST(ContactNormals, TrackTrianglesPushAlongTheirFaceButBoxesKeepTheirNormal) {
    TestWorld world;
    // A ridge along x: two faces sloping down at 45 degrees to either side of z = 0; beside it a box.
    const std::vector<float> ridge = {-50, 0, 0, 50, 0, 0, 50, -50, 50, -50, -50, 50, -50, -50, -50, 50, -50, -50};
    boost::shared_ptr<Mesh> mesh = makeMesh(ridge, {0, 2, 1, 0, 3, 2, 0, 1, 5, 0, 5, 4});
    new StaticEntity(world.game.get(), btVector3(0, 0, 0), btQuaternion::getIdentity(), EntityKind::Static, mesh,
                     mesh->createTriangleMeshShape());
    boost::shared_ptr<Mesh> none(new Mesh());
    new StaticEntity(world.game.get(), btVector3(200, -5, 0), btQuaternion::getIdentity(), EntityKind::Static, none,
                     boost::shared_ptr<btCollisionShape>(new btBoxShape(btVector3(5, 5, 5))));
    // A ball resting on the ridge line touches both faces at their shared edge; another lies on the box.
    boost::shared_ptr<btCollisionShape> ball(new btSphereShape(1));
    for (float x : {0, 200})
        new DynamicEntity(world.game.get(), btVector3(x, 0.99f, 0), 1, btQuaternion::getIdentity(), EntityKind::Dynamic,
                          none, ball);
    world.game->dynamicsWorld->performDiscreteCollisionDetection();

    int points[2] = {};  // on the ridge, on the box
    btDispatcher* dispatcher = world.game->dynamicsWorld->getDispatcher();
    for (int m = 0; m < dispatcher->getNumManifolds(); ++m) {
        btPersistentManifold* manifold = dispatcher->getManifoldByIndexInternal(m);
        const bool onRidge = manifold->getBody0()->getWorldTransform().getOrigin().x() < 100 &&
                             manifold->getBody1()->getWorldTransform().getOrigin().x() < 100;
        for (int p = 0; p < manifold->getNumContacts(); ++p) {
            const btVector3 normal = manifold->getContactPoint(p).m_normalWorldOnB;
            EXPECT_NEAR(normal.length(), 1.0f, 1e-4f) << "the length is kept";
            // On the ridge not the straight-up edge normal but one of the two face normals.
            EXPECT_NEAR(std::fabs(normal.y()), onRidge ? std::sqrt(0.5f) : 1.0f, 1e-3f);
            ++points[onRidge ? 0 : 1];
        }
    }
    EXPECT_GT(points[0], 0);
    EXPECT_GT(points[1], 0);
}

TEST_F(GameWithLevel, DrivingKeysActOnThePlayerOnly) {
    Game& game = *world.game;
    Vehicle* player = game.players[0];
    world.step(30);

    // The keys are read after each sub-step's driving update: the first throttle tick meets no friction.
    hold({GLFW_KEY_UP});
    world.step(20);
    EXPECT_NEAR(player->speed, 1.5f + 19 * 0.5f, 1e-3f);
    hold({GLFW_KEY_UP, GLFW_KEY_DOWN});  // both in one sub-step: friction, throttle, then brake
    world.step();
    EXPECT_NEAR(player->speed, 11.0f - 1.0f + 1.5f - 3.0f, 1e-3f);
    hold({GLFW_KEY_DOWN});
    world.step(10);
    EXPECT_FLOAT_EQ(player->speed, 0.0f) << "braking never goes below zero";

    hold({GLFW_KEY_LEFT, GLFW_KEY_LEFT_CONTROL});
    world.step();
    EXPECT_GT(player->steer, 0.0f);
    EXPECT_TRUE(player->driftHeld);
    hold({});
    world.step();
    EXPECT_FALSE(player->driftHeld);

    hold({'R', 'F'});  // the last item key read wins
    world.step();
    EXPECT_EQ(player->heldItem, ItemType::flash);
    // Space is read before the item keys: the flash is used, then G hands over a green shell.
    hold({'G', GLFW_KEY_SPACE});
    world.step();
    EXPECT_EQ(player->heldItem, ItemType::greenShell);
    EXPECT_GT(game.vehicles[0]->flashTimeLeft, 11.9f);
}

TEST_F(GameWithLevel, OnlyALeftAltHeldWithSpaceThrowsAGreenShellBackwards) {
    world.prepareShells();
    Vehicle* player = world.game->players[0];
    // Returns the launch speed of the shell thrown while `keys` are pressed for one sub-step.
    auto throwWith = [&](const std::set<int>& keys) {
        player->heldItem = ItemType::greenShell;
        for (int key : keys) keyboard.press(key);
        world.step();
        for (int key : keys) keyboard.release(key);
        world.step(2);
        return Projectile::allProjectiles.back()->launchSpeed;
    };
    keyboard.press(GLFW_KEY_LEFT_ALT);  // an Alt-Tab long before
    world.step();
    keyboard.release(GLFW_KEY_LEFT_ALT);
    world.step(60);
    EXPECT_GT(throwWith({GLFW_KEY_SPACE}), 0.0f) << "thrown forwards";
    EXPECT_EQ(throwWith({GLFW_KEY_LEFT_ALT, GLFW_KEY_SPACE}), 0.0f) << "dropped behind";
}

// With sticky keys an E held past the end of the race must not end the next one, nor an Enter held
// over the restart skip the next ranking.
TEST_F(GameWithLevel, EEndsTheRaceAndEnterRestartsOnceWhateverIsHeldOver) {
    Game& game = *world.game;
    world.step(10);
    std::vector<int> ranks;
    for (const RaceRecord& record : game.raceRecords) ranks.push_back(record.rank);
    keyboard.press('E');
    world.step();
    ASSERT_TRUE(game.raceOver) << "in the same sub-step";
    for (size_t i = 0; i < ranks.size(); ++i) EXPECT_EQ(game.raceRecords[i].rank, ranks[i]) << "ranks stay";
    world.step(2);
    keyboard.release('E');
    keyboard.press(GLFW_KEY_UP);
    world.step(10);
    EXPECT_FLOAT_EQ(game.players[0]->speed, 0.0f) << "after the race the driving keys do nothing";
    keyboard.release(GLFW_KEY_UP);

    // New karts may take the old ones' memory: creation numbers tell them apart.
    const uint64_t before = game.players[0]->serial;
    keyboard.press(GLFW_KEY_ENTER);
    world.step();
    ASSERT_FALSE(game.raceOver);
    const uint64_t restarted = game.players[0]->serial;
    EXPECT_GT(restarted, before) << "a new race with new karts";
    world.step(30);
    EXPECT_EQ(game.players[0]->serial, restarted) << "Enter still held: the old E press ended the new race";
    keyboard.release(GLFW_KEY_ENTER);
    world.step(30);
    EXPECT_FALSE(game.raceOver);

    keyboard.press('E');
    world.step();
    keyboard.release('E');
    world.step(30);
    EXPECT_TRUE(game.raceOver) << "the old Enter press does not skip the ranking";
    EXPECT_EQ(game.players[0]->serial, restarted);
}

// The fault: a race restarted inside a step runs otherwise than the same race in a new game, so that
// a replay of it would not check: the bodies made inside the step miss the gravity of the rest of it,
// and the crate here falls a few sub-steps late.
TEST_F(GameWithLevel, ARaceRestartedInsideAStepRunsAsInANewGame) {
    auto drive = [](Game& game) {
        game.readControls = [&game] {
            PlayerControls controls;
            controls.set(PlayerControls::throttle);
            controls.set(PlayerControls::steerLeft, game.raceSteps % 90 < 30);
            controls.set(PlayerControls::restart, game.raceOver);
            return controls;
        };
    };
    auto checkValuesAt = [](Game& game, std::vector<int64_t> steps) {
        std::vector<uint32_t> values;
        for (int64_t step : steps) {
            while (game.raceSteps < step) game.dynamicsWorld->stepSimulation(Game::subStep, 1, Game::subStep);
            values.push_back(raceCheckValue(game));
        }
        return values;
    };
    Game& used = *world.game;
    drive(used);
    world.step(200);
    used.raceOver = true;
    // A slow frame: the restart comes with the first of five sub-steps, the new race runs the others.
    used.dynamicsWorld->stepSimulation(5.5f * Game::subStep, 10, Game::subStep);
    ASSERT_EQ(used.raceSteps, 4);
    Game fresh;
    drive(fresh);
    fresh.restart();
    EXPECT_EQ(checkValuesAt(used, {20, 300}), checkValuesAt(fresh, {20, 300}));
}

TEST(GameWithoutPlayer, PollIsSkippedAndTheRaceGoesOn) {
    TestWorld world;
    world.addFloor();
    world.addVehicle(btVector3(0, 1, 0), true, "Computer 1");
    world.game->setCourse(Course::defaultPoints());
    world.game->readControls = [] { return PlayerControls{0xffff}; };  // every control held, the end included
    world.step(60);
    EXPECT_FALSE(world.game->raceOver);
}
