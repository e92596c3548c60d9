#include <gtest/gtest.h>

#include "support/GLTestWindow.h"

#include "game/Game.h"

TEST(FrameDrawing, EmptyLevelShowsTheSkyColour) {
    GLTestWindow window;
    Game game;
    game.initGL();
    game.renderFrame();
    // The sky colour (0.132, 0.522, 0.948) in 8-bit channels, away from the text.
    const GLTestWindow::Pixel sky = window.pixel(512, 400);
    EXPECT_NEAR(sky.r, 34, 2);
    EXPECT_NEAR(sky.g, 133, 2);
    EXPECT_NEAR(sky.b, 242, 2);
}
