#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include "assets/Mesh.h"
#include "entities/Vehicle.h"
#include "game/Game.h"
#include "items/ExtraField.h"
#include "support/TestWorld.h"

namespace {

struct ExtraFieldTest : ::testing::Test {
    ExtraFieldTest() { world.addFloor(0, 1000); }
    // A pad 4 x 0.2 x 4 lying on the floor, as the level puts them on the road.
    ExtraField* fieldAt(float x, float z) {
        boost::shared_ptr<Mesh> pad = makeBoxMesh(btVector3(2, 0.1f, 2));
        return new ExtraField(world.game.get(), btVector3(x, 0.1f, z), btQuaternion::getIdentity(), pad,
                              pad->createSimplifiedHullShape());
    }
    void drive(Vehicle* kart, int steps) { world.stepUntil([] { return false; }, steps, kart); }
    TestWorld world;
};

}  // namespace

TEST_F(ExtraFieldTest, DrivingOverAFieldTakesItOnlyWithEmptyHands) {
    ExtraField* field = fieldAt(0, 30);
    fieldAt(50, 30);  // a second field, so that taking one does not bring them all back
    Vehicle* kart = world.addVehicle(btVector3(0, 1, 0));
    kart->heldItem = ItemType::star;
    world.step(20);
    drive(kart, 120);
    ASSERT_GT(kart->worldTransform().getOrigin().z(), 35.0f) << "drove over the pad";
    EXPECT_TRUE(field->active);
    EXPECT_EQ(kart->heldItem, ItemType::star);

    Vehicle* empty = world.addVehicle(btVector3(0, 1, 0));
    world.step(20);
    drive(empty, 120);
    EXPECT_FALSE(field->active);
    EXPECT_NE(empty->heldItem, ItemType::none);
    EXPECT_EQ(ExtraField::activeCount, 1);
}

TEST_F(ExtraFieldTest, TheLastFieldTakenBringsThemAllBackAndDeletedFieldsLeaveTheCount) {
    ExtraField* fields[] = {fieldAt(0, 0), fieldAt(10, 0), fieldAt(20, 0)};
    Vehicle* kart = world.addVehicle(btVector3(0, 1, -40));
    EXPECT_EQ(ExtraField::activeCount, 3);
    fields[0]->pickUp(kart);
    EXPECT_NE(kart->heldItem, ItemType::none);
    kart->heldItem = ItemType::none;
    fields[0]->pickUp(kart);  // inactive: nothing
    EXPECT_EQ(kart->heldItem, ItemType::none);
    fields[1]->pickUp(kart);
    EXPECT_EQ(ExtraField::activeCount, 1);
    kart->heldItem = ItemType::none;
    fields[2]->pickUp(kart);
    EXPECT_NE(kart->heldItem, ItemType::none) << "the last taker still gets an item";
    EXPECT_EQ(ExtraField::activeCount, 3);
    for (ExtraField* field : fields) EXPECT_TRUE(field->active);

    // Deleting an inactive field leaves the count, an active one lowers it.
    kart->heldItem = ItemType::none;
    fields[0]->pickUp(kart);
    ASSERT_EQ(ExtraField::activeCount, 2);
    world.game->entities.remove(fields[0]);
    delete fields[0];
    EXPECT_EQ(ExtraField::activeCount, 2);
    EXPECT_EQ(ExtraField::allFields.size(), 2u);
    world.game->entities.remove(fields[1]);
    delete fields[1];
    EXPECT_EQ(ExtraField::activeCount, 1);
    world.game.reset();
    EXPECT_EQ(ExtraField::activeCount, 0);
    EXPECT_TRUE(ExtraField::allFields.empty());
}

TEST_F(ExtraFieldTest, ASingleFieldIsNeverShownUpsideDown) {
    ExtraField* field = fieldAt(0, 0);
    Vehicle* kart = world.addVehicle(btVector3(0, 1, -40));
    for (int i = 0; i < 3; ++i) {
        kart->heldItem = ItemType::none;
        field->pickUp(kart);
        EXPECT_TRUE(field->active);
        EXPECT_NE(kart->heldItem, ItemType::none);
    }
}
