#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include "assets/Mesh.h"
#include "entities/Vehicle.h"
#include "game/Game.h"
#include "items/ExtraField.h"
#include "support/TestWorld.h"

TEST(ExtraFields, OnlyEmptyHandsTakeOneAndTheLastOneTakenBringsThemAllBack) {
    TestWorld world;
    world.addFloor(0, 1000);
    ExtraField* fields[3];
    for (int i = 0; i < 3; ++i) {
        // Pads 4 x 0.2 x 4 lying on the road, as the level puts them.
        boost::shared_ptr<Mesh> pad = makeBoxMesh(btVector3(2, 0.1f, 2));
        fields[i] = new ExtraField(world.game.get(), btVector3(50.0f * i, 0.1f, 30), btQuaternion::getIdentity(), pad,
                                   pad->createSimplifiedHullShape());
    }
    Vehicle* kart = world.addVehicle(btVector3(0, 1, 0));
    world.step(20);
    world.stepUntil([] { return false; }, 120, kart);  // over the first pad with empty hands
    ASSERT_GT(kart->worldTransform().getOrigin().z(), 35.0f) << "drove over the pad";
    EXPECT_FALSE(fields[0]->active);
    EXPECT_NE(kart->heldItem, ItemType::none);
    fields[1]->pickUp(kart);  // hands full: nothing
    EXPECT_TRUE(fields[1]->active);

    kart->heldItem = ItemType::none;
    fields[0]->pickUp(kart);  // taken already: nothing
    EXPECT_EQ(kart->heldItem, ItemType::none);
    fields[1]->pickUp(kart);
    kart->heldItem = ItemType::none;
    fields[2]->pickUp(kart);
    EXPECT_NE(kart->heldItem, ItemType::none) << "the last taker still gets an item";
    for (ExtraField* field : fields) EXPECT_TRUE(field->active);
    EXPECT_EQ(ExtraField::activeCount, 3);

    // Deleting a taken field leaves the count; the game deletes the others with the rest.
    kart->heldItem = ItemType::none;
    fields[0]->pickUp(kart);
    world.game->entities.remove(fields[0]);
    delete fields[0];
    EXPECT_EQ(ExtraField::activeCount, 2);
    world.game.reset();
    EXPECT_EQ(ExtraField::activeCount, 0);
    EXPECT_TRUE(ExtraField::allFields.empty());
}
