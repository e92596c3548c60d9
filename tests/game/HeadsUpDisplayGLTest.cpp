#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <btBulletCollisionCommon.h>

#include "assets/Mesh.h"
#include "entities/StaticEntity.h"
#include "entities/Vehicle.h"
#include "game/Camera.h"
#include "game/Game.h"
#include "game/GameClock.h"
#include "game/KeyInput.h"
#include "game/MessageLog.h"
#include "support/GLTestWindow.h"
#include "support/ImageChecks.h"
#include "support/TestWorld.h"

namespace {

const int glyphWidth = 9;
// The messages start at the upper left, in eye coordinates (-6, 6, -10) under the perspective.
const PixelArea messageArea = {0, 700, 600, 768};

// A band around a line of text that starts at `left` on the base line `baseline`: wide enough to
// show text that starts elsewhere, narrow enough to miss the other text on that line.
PixelArea band(int left, int baseline) {
    return {std::max(0, left - 128), baseline - 10, std::min(1024, left + 384), baseline + 20};
}

// White text of `length` characters starts at `left` on the line at `baseline`; returns its pixels.
int expectText(const std::vector<uint8_t>& image, int left, int baseline, int length) {
    const PixelBounds text = whitePixels(image, band(left, baseline));
    EXPECT_GE(text.minX, left) << "line at " << left << ", " << baseline;
    EXPECT_LT(text.minX, left + glyphWidth) << "line at " << left << ", " << baseline;
    EXPECT_GT(text.maxX, left + (length - 1) * glyphWidth) << "line at " << left << ", " << baseline;
    EXPECT_LE(text.maxX, left + length * glyphWidth) << "line at " << left << ", " << baseline;
    return text.count;
}

}  // namespace

// A world with one vehicle and the camera that follows it, drawn by the game's own frame.
class HeadsUpDisplayDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        vehicle = world.addVehicle(btVector3(0, 0, 0));
        vehicle->heldItem = ItemType::greenShell;
        world.game->raceRecords[0].rank = 1;
        world.game->raceRecords[0].lap = 2;
        world.game->addCamera(new Camera(vehicle));
        world.game->initGL();
    }

    std::vector<uint8_t> frameAt(double time) {
        GameClock::useSimulatedTime(time);
        world.game->renderFrame();
        glFinish();
        return window.image();
    }

    GLTestWindow window;
    TestWorld world;
    Vehicle* vehicle = nullptr;
};

// "Extra: greenShell" at (W/8, H/8), "Rank: 1" and "Lap: 2" at 7W/8, the frame rate after a blank at 5W/8;
// the lap clock in the upper right corner, its lines ending 16 pixels from the edge, clear of them all.
TEST_F(HeadsUpDisplayDrawing, LinesOfTheFollowedVehicleStartWhereTheyBelong) {
    world.game->raceSteps = 3723;
    world.game->raceRecords[0].lapStartStep = 3600;
    world.game->raceRecords[0].bestLapSteps = 1590;
    const std::vector<uint8_t> image = frameAt(0);
    expectText(image, 128, 96, 17);
    expectText(image, 896, 96, 7);
    expectText(image, 896, 192, 6);
    const PixelBounds fpsLine = whitePixels(image, band(640, 672));
    EXPECT_GT(fpsLine.count, 0);
    EXPECT_GE(fpsLine.minX, 640 + glyphWidth);
    EXPECT_LT(fpsLine.maxX, 880) << "the frame rate keeps clear of the lap clock";
    expectText(image, 1008 - 11 * glyphWidth, 738, 11);  // "Lap 0:02.05"
    expectText(image, 1008 - 12 * glyphWidth, 718, 12);  // "Best 0:26.50"
    expectText(image, 1008 - 12 * glyphWidth, 698, 12);  // "Race 1:02.05"
}

// "Ranking:", "1: Kart" with its time and "Press Enter to restart game" at 2W/8, from 8H/12 down, one
// line each.
TEST_F(HeadsUpDisplayDrawing, RankingScreenIsShownOnlyWhenTheRaceIsOver) {
    const PixelArea rankingScreen = {0, 374, 1024, 532};
    EXPECT_EQ(whitePixels(frameAt(0), rankingScreen).count, 0);
    world.game->raceOver = true;
    world.game->raceRecords[0].finishSteps = 3723;
    const std::vector<uint8_t> image = frameAt(0);
    expectText(image, 256, 512, 8);
    expectText(image, 256, 448, 24);  // its race time in a column after the name: "1: Kart          1:02.05"
    expectText(image, 256, 384, 27);
    world.game->raceOver = false;
    EXPECT_EQ(whitePixels(frameAt(0), rankingScreen).count, 0);
}

TEST_F(HeadsUpDisplayDrawing, TestOutputMessageFadesOutOverThreeSeconds) {
    EXPECT_GT(whitePixels(frameAt(0), messageArea).count, 0);
    // Half-way it is an even mix of white and the sky behind it, also with the display's own text
    // drawn after it in the same frame.
    const std::vector<uint8_t> halfWay = frameAt(1.5);
    EXPECT_EQ(whitePixels(halfWay, messageArea).count, 0);
    EXPECT_NEAR(redRange(halfWay, messageArea).high, (255 + skyColour.r) / 2, 8);
    // Gone, leaving the sky colour.
    const std::vector<uint8_t> expired = frameAt(3.5);
    EXPECT_EQ(pixelsUnlike(expired, messageArea, skyColour, 3).count, 0);
    EXPECT_TRUE(MessageLog::instance().getTexts().empty());
}

// Culling leaves out what the camera cannot see, and only that: a box ahead of the camera is drawn,
// one behind it is counted culled in every frame, until F8 turns culling off.
TEST_F(HeadsUpDisplayDrawing, CullingLeavesOutOnlyWhatLiesOutOfView) {
    frameAt(0);  // places the camera
    const Camera& camera = *world.game->cameras[0];
    for (const float distance : {40.0f, -40.0f}) {
        const boost::shared_ptr<Mesh> box = makeBoxMesh(btVector3(3, 3, 3));
        new StaticEntity(world.game.get(), camera.eye + camera.viewDirection * distance, btQuaternion::getIdentity(),
                         EntityKind::Static, box, box->createBoxHullShape());
    }
    for (const uint32_t culledPerFrame : {1u, 0u}) {
        const uint32_t culled = world.game->cullCounts[0];
        EXPECT_EQ(pixelsUnlike(frameAt(0), {502, 374, 522, 394}, skyColour, 10).count, 400);
        EXPECT_EQ(world.game->cullCounts[0] - culled, culledPerFrame);
        onKey(GLFW_KEY_F8, GLFW_PRESS);
    }
}
