#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <GL/glew.h>
#include <GLFW/glfw3.h>

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

// The test world starts the simulated clock at 0 and stamps the message list then.
const double start = 0.0;
const int glyphWidth = 9;

// Bands around the base lines of the display in a 1024x768 window, wide enough to show text that
// starts anywhere else on its line.
const PixelArea extraLine = {0, 86, 600, 116};       // "Extra: " at (W/8, H/8) = (128, 96)
const PixelArea rankLine = {600, 86, 1024, 116};     // "Rank: " at (7W/8, H/8) = (896, 96)
const PixelArea lapLine = {600, 182, 1024, 212};     // "Lap: " at (7W/8, 2H/8) = (896, 192)
const PixelArea fpsLine = {0, 662, 1024, 692};       // " FPS: " at (5W/8, 7H/8) = (640, 672)
const int rankingLeft = 256;                         // 2W/8
const int rankingLines[3] = {512, 448, 384};         // 8H/12, 7H/12, 6H/12
const PixelArea rankingScreen = {0, 374, 1024, 532};
// The messages start at the upper left, in eye coordinates (-6, 6, -10) under the perspective.
const PixelArea messageArea = {0, 700, 600, 768};

PixelArea lineAt(int baseline) { return {0, baseline - 10, 1024, baseline + 20}; }

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

TEST_F(HeadsUpDisplayDrawing, LinesOfTheFollowedVehicleStartWhereTheyBelong) {
    const std::vector<uint8_t> image = frameAt(start);
    // The frame-rate text starts with a blank.
    const struct {
        PixelArea area;
        int left;
    } lines[] = {{extraLine, 128}, {rankLine, 896}, {lapLine, 896}, {fpsLine, 640 + glyphWidth}};
    std::vector<int> counts;
    for (const auto& line : lines) {
        const PixelBounds text = whitePixels(image, line.area);
        ASSERT_GT(text.count, 0) << "line at x " << line.left;
        EXPECT_GE(text.minX, line.left);
        EXPECT_LT(text.minX, line.left + glyphWidth);
        counts.push_back(text.count);
    }
    // "Extra: greenShell" is 17 characters long.
    const PixelBounds extra = whitePixels(image, extraLine);
    EXPECT_GT(extra.maxX, 128 + 16 * glyphWidth);
    EXPECT_LE(extra.maxX, 128 + 17 * glyphWidth);

    // A release is no press; F2 then removes the frame-rate line and only that.
    onKey(GLFW_KEY_F2, GLFW_RELEASE);
    EXPECT_EQ(whitePixels(frameAt(start), fpsLine).count, counts[3]);
    onKey(GLFW_KEY_F2, GLFW_PRESS);
    const std::vector<uint8_t> withoutFps = frameAt(start);
    EXPECT_EQ(whitePixels(withoutFps, fpsLine).count, 0);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(whitePixels(withoutFps, lines[i].area).count, counts[i]);
    onKey(GLFW_KEY_F2, GLFW_PRESS);
    EXPECT_EQ(whitePixels(frameAt(start), fpsLine).count, counts[3]);
}

TEST_F(HeadsUpDisplayDrawing, RankingScreenIsShownOnlyWhenTheRaceIsOver) {
    EXPECT_EQ(whitePixels(frameAt(start), rankingScreen).count, 0);

    world.game->raceOver = true;
    const std::vector<uint8_t> image = frameAt(start);
    // "Ranking:", "1: Kart" and "Press Enter to restart game", one line each.
    const int lengths[3] = {8, 7, 27};
    for (int line = 0; line < 3; ++line) {
        SCOPED_TRACE("ranking line " + std::to_string(line));
        const PixelBounds text = whitePixels(image, lineAt(rankingLines[line]));
        ASSERT_GT(text.count, 0);
        EXPECT_GE(text.minX, rankingLeft);
        EXPECT_LT(text.minX, rankingLeft + glyphWidth);
        EXPECT_GT(text.maxX, rankingLeft + (lengths[line] - 1) * glyphWidth);
        EXPECT_LE(text.maxX, rankingLeft + lengths[line] * glyphWidth);
        EXPECT_GE(text.minY, rankingLines[line] - 4);
        EXPECT_LE(text.maxY, rankingLines[line] + 12);
    }

    world.game->raceOver = false;
    EXPECT_EQ(whitePixels(frameAt(start), rankingScreen).count, 0);
}

TEST_F(HeadsUpDisplayDrawing, TestOutputMessageFadesOutOverThreeSeconds) {
    const std::vector<uint8_t> fresh = frameAt(start);
    EXPECT_GT(whitePixels(fresh, messageArea).count, 0);

    // Half-way it is an even mix of white and the sky behind it, also with the display's own text
    // drawn after it in the same frame.
    const std::vector<uint8_t> halfWay = frameAt(start + 1.5);
    EXPECT_EQ(whitePixels(halfWay, messageArea).count, 0);
    EXPECT_NEAR(redRange(halfWay, messageArea).high, (255 + skyColour.r) / 2, 8);
    EXPECT_EQ(MessageLog::instance().getTexts(), std::vector<std::string>{"test output"});

    // Gone, leaving the sky colour.
    const std::vector<uint8_t> expired = frameAt(start + 3.5);
    EXPECT_EQ(pixelsUnlike(expired, messageArea, skyColour, 3).count, 0);
    EXPECT_TRUE(MessageLog::instance().getTexts().empty());
}
