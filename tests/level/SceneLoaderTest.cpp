#include <algorithm>
#include <cmath>

#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include "assets/Mesh.h"
#include "entities/DynamicEntity.h"
#include "entities/StaticEntity.h"
#include "entities/Vehicle.h"
#include "game/Game.h"
#include "items/ExtraField.h"
#include "level/Course.h"
#include "level/SceneLoader.h"
#include "support/TestWorld.h"

namespace {

// One scene node: a transform and, unless `mesh` is empty, an entity with the given properties.
std::string node(const std::string& mesh, const std::string& properties = "", const std::string& scale = "1",
                 const std::string& transform = "") {
    const std::string placement = transform.empty()
                                      ? "<position x=\"0\" y=\"5\" z=\"0\"/><quaternion x=\"0\" y=\"0\" z=\"0\" w=\"1\"/>"
                                        "<scale x=\"" + scale + "\" y=\"" + scale + "\" z=\"" + scale + "\"/>"
                                      : transform;
    const std::string entity =
        mesh.empty() ? "" : "<entity meshFile=\"" + mesh + "\"><userData>" + properties + "</userData></entity>";
    return "<node>" + placement + entity + "</node>";
}

// The same node under another element name.
std::string asElement(const std::string& name, std::string node) {
    node.replace(1, 4, name);
    node.replace(node.size() - 5, 4, name);
    return node;
}

std::string property(const std::string& name, const std::string& data) {
    return "<property name=\"" + name + "\" data=\"" + data + "\"/>";
}

struct SceneLoaderTest : ::testing::Test {
    SceneLoaderTest() {
        world.media.writeKartMeshes();
        world.media.writeBoxMesh("Box.mesh.xml", 1, 1, 1);
    }
    // Loads a scene of these nodes; returns what went to standard output.
    std::string load(const std::string& nodes, const std::string& name = "level.scene.xml") {
        world.media.write("meshes/" + name, "<scene><nodes>" + nodes + "</nodes></scene>");
        CapturedStream out(std::cout);
        loadScene(world.game.get(), name);
        return out.text();
    }
    TestWorld world;
};

}  // namespace

TEST_F(SceneLoaderTest, EveryObjectTypeIsCreatedAndAnnounced) {
    const std::string vehicle = node("Box.mesh", property("type", "vehicle") + property("mass", "3"));
    const std::string out =
        load(node("Box.mesh", property("type", "terrain")) + node("Box.mesh", property("type", "extrafield")) +
             vehicle + node("Box.mesh", property("type", "Terrain")) + node("Box.mesh", property("mass", "2")) +
             node("") + vehicle + vehicle + asElement("other", vehicle) + vehicle);
    for (const std::string kind : {"terrain", "extrafield", "static collision object", "dynamic rigid body"})
        EXPECT_NE(out.find("creating " + kind + " from mesh: Box.mesh.xml\n"), std::string::npos) << kind;

    Game& game = *world.game;
    ASSERT_EQ(game.entities.size(), 4);  // terrain, field, "Terrain" as a static object, the body with mass
    EXPECT_EQ(game.entities[0]->tag->kind, EntityKind::Static);
    EXPECT_EQ(game.entities[1]->tag->kind, EntityKind::ExtraField);
    EXPECT_EQ(game.entities[2]->tag->kind, EntityKind::Static) << "\"Terrain\" is not terrain";
    EXPECT_NE(dynamic_cast<StaticEntity*>(game.entities[2])->collisionObject->getCollisionShape()->getShapeType(),
              TRIANGLE_MESH_SHAPE_PROXYTYPE);
    EXPECT_EQ(game.entities[3]->tag->kind, EntityKind::Dynamic);
    EXPECT_FLOAT_EQ(1.0f / dynamic_cast<DynamicEntity*>(game.entities[3])->getRigidBody()->getInvMass(), 2.0f);

    // Five vehicle nodes, the fourth the player's; the node without entity and the element of
    // another name among the nodes count as nodes, the former creates nothing.
    const char* names[] = {"Computer 1", "Computer 2", "Computer 3", "Player", "Computer 5"};
    ASSERT_EQ(game.vehicles.size(), 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(game.vehicles[i]->getName(), names[i]);
    ASSERT_EQ(game.players.size(), 1u);
    EXPECT_EQ(game.players[0], game.vehicles[3]);
    ASSERT_EQ(game.cameras.size(), 1);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 9) << "one line per created object";
}

TEST_F(SceneLoaderTest, NodesOfOneMeshFileKeepTheirOwnScale) {
    load(node("Box.mesh", property("type", "terrain"), "1") + node("Box.mesh", property("type", "terrain"), "2") +
         node("Box.mesh", "", "3") + node("Box.mesh", "", "1"));
    Game& game = *world.game;
    ASSERT_EQ(game.entities.size(), 4);
    EXPECT_FLOAT_EQ(game.entities[2]->shape->getLocalScaling().y(), 3) << "static objects too";
    EXPECT_FLOAT_EQ(game.entities[3]->shape->getLocalScaling().y(), 1);
    EXPECT_FLOAT_EQ(game.entities[0]->mesh->scale[0], 1);
    EXPECT_FLOAT_EQ(game.entities[1]->mesh->scale[0], 2);
    EXPECT_FLOAT_EQ(game.entities[1]->shape->getLocalScaling().y(), 2);
    EXPECT_EQ(game.entities[0]->mesh->patches[0], game.entities[1]->mesh->patches[0]) << "the file is read once";
    // Vehicles are not scaled by their node.
    load(node("Box.mesh", property("type", "vehicle"), "3"));
    EXPECT_FLOAT_EQ(game.vehicles[0]->shape->getLocalScaling().y(), 1);
}

TEST_F(SceneLoaderTest, MissingPartsOfANodeGetDefaultsAndBadMassesAFallback) {
    CapturedStream errors(std::cerr);
    load(node("Box.mesh", property("type", "terrain"), "1", "<position x=\"4\" y=\"inf\"/>") +
         "<node><position x=\"0\" y=\"0\" z=\"0\"/><entity><userData/></entity></node>" +
         node("Box.mesh", property("mass", "nan")) + node("Box.mesh", property("mass", "-5")));
    Game& game = *world.game;
    ASSERT_EQ(game.entities.size(), 3);
    btTransform placed;
    game.entities[0]->getWorldTransform(placed);
    EXPECT_EQ(placed.getOrigin(), btVector3(4, 0, 0));
    EXPECT_EQ(placed.getRotation(), btQuaternion::getIdentity());
    EXPECT_FLOAT_EQ(game.entities[0]->mesh->scale[2], 1);
    EXPECT_EQ(errors.count("WARNING: scene node 0 (Box.mesh.xml):"), 1);
    EXPECT_EQ(errors.count("WARNING: scene node 1 has an entity without meshFile, skipped"), 1);
    for (int i : {1, 2}) {
        EXPECT_EQ(game.entities[i]->tag->kind, EntityKind::Dynamic) << "a mass that is not 0 makes a body";
        EXPECT_FLOAT_EQ(dynamic_cast<DynamicEntity*>(game.entities[i])->getRigidBody()->getInvMass(), 1.0f);
    }
    world.step(60);  // and the world stays sound
    game.entities[1]->getWorldTransform(placed);
    EXPECT_TRUE(std::isfinite(placed.getOrigin().y()));
}

TEST_F(SceneLoaderTest, AMissingSceneLeavesOnlyTheCourse) {
    world.media.write("meshes/level.raw", "0 0 0  0 0 50  50 0 50  50 0 0");
    CapturedStream errors(std::cerr);
    loadScene(world.game.get(), "level.scene.xml");
    EXPECT_EQ(errors.count("failed loading scene: "), 1);
    EXPECT_EQ(errors.count("failed loading scene: " + world.media.meshes() + "level.scene.xml"), 1);
    EXPECT_EQ(world.game->entities.size(), 0);
    EXPECT_EQ(world.game->course->segmentCount(), 4) << "the checkpoints were read all the same";

    // A name without a dot reads its checkpoints from an empty path: the default course.
    loadScene(world.game.get(), "level");
    EXPECT_EQ(errors.count("WARNING: Could not open checkpoints file , loading defaults."), 1);
    EXPECT_EQ(world.game->course->segmentCount(), 5);
}
