#include <gtest/gtest.h>

#include <GL/gl.h>

#include "frontend/FrontEnd.h"
#include "frontend/FrontEndView.h"
#include "support/GLTestWindow.h"
#include "support/ImageChecks.h"

namespace {

const Rgb barColour = {230, 120, 10};  // the selected row's

// Pixels of the area within a few levels of `colour`.
int pixelsLike(const std::vector<uint8_t>& image, const PixelArea& area, const Rgb& colour) {
    return (area.x1 - area.x0) * (area.y1 - area.y0) - pixelsUnlike(image, area, colour, 8).count;
}

// Right of the row's label and value, where only its bar shows.
PixelArea rowBand(int row) {
    const int baseline = FrontEndView::firstRowBaseline - row * FrontEndView::rowSpacing;
    return {FrontEndView::rowsLeft + 360, baseline - 8, FrontEndView::rowsLeft + 440, baseline + 18};
}

struct FrontEndViewGL : ::testing::Test {
    std::vector<uint8_t> draw(const FrontEnd& frontEnd) {
        view.draw(frontEnd, "");
        glFinish();
        return window.image();
    }
    GLTestWindow window;
    FrontEndView view;
};

TEST_F(FrontEndViewGL, TheMapShowsPixelForPixelAndTheBarMarksTheSelectedRowOnly) {
    const CircuitPreview::Picture picture = CircuitPreview::make(0, FrontEndView::mapSize);
    view.show(picture);
    FrontEnd frontEnd(PlayerSettings(), 1);
    std::vector<uint8_t> image = draw(frontEnd);
    for (int y = 0; y < FrontEndView::mapSize; y += 7) {
        for (int x = 0; x < FrontEndView::mapSize; x += 7) {
            const Color expected = picture.map->get(x, y);
            const Rgb shown = pixelAt(image, FrontEndView::mapLeft + x, FrontEndView::mapBottom + y);
            ASSERT_NEAR(shown.r, expected.r * 255, 1) << x << ", " << y;
            ASSERT_NEAR(shown.g, expected.g * 255, 1) << x << ", " << y;
            ASSERT_NEAR(shown.b, expected.b * 255, 1) << x << ", " << y;
        }
    }
    // Row by row down the circuit screen, then the race screen's.
    const struct {
        MenuAction::Kind move;
        int rows;
    } screens[] = {{MenuAction::down, FrontEnd::circuitRows}, {MenuAction::up, FrontEnd::raceRows}};
    for (const auto& screen : screens) {
        if (screen.move == MenuAction::up) frontEnd.handle({MenuAction::choose});
        for (int step = 0; step < screen.rows; ++step) {
            image = draw(frontEnd);
            for (int row = 0; row < screen.rows; ++row) {
                const int bar = pixelsLike(image, rowBand(row), barColour);
                if (row == frontEnd.row()) {
                    EXPECT_EQ(bar, 80 * 26) << "row " << row << " selected";
                    // The label in the bar's own lighter text.
                    const PixelArea label = {FrontEndView::rowsLeft, rowBand(row).y0, FrontEndView::rowsLeft + 60,
                                             rowBand(row).y1};
                    EXPECT_GT(pixelsUnlike(image, label, barColour, 60).count, 20) << "row " << row;
                } else {
                    EXPECT_EQ(bar, 0) << "row " << row << " while " << frontEnd.row() << " is selected";
                }
            }
            frontEnd.handle({screen.move});
        }
    }
}

TEST_F(FrontEndViewGL, TheRaceFindsItsStateAsItLeftItAndProgressFillsItsBar) {
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    draw(FrontEnd(PlayerSettings(), 1));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    const struct {
        double share;
        int low, high;  // bar pixels on one row across the progress box, about 476 in all
    } cases[] = {{0.0, 0, 1}, {0.5, 230, 245}, {1.0, 470, 480}, {3.0, 470, 480}};
    for (const auto& c : cases) {
        view.drawStart(7, c.share);
        glFinish();
        const int y = FrontEndView::areaHeight / 2 + 12;
        const int bar = pixelsLike(window.image(), {0, y, GLTestWindow::width, y + 1}, barColour);
        EXPECT_GE(bar, c.low) << c.share;
        EXPECT_LE(bar, c.high) << c.share;
    }
}

// The fault: the records of another lap count shown as the ones of the race chosen, or none shown.
TEST_F(FrontEndViewGL, TheCircuitScreenShowsTheRecordOverTheLapsChosen) {
    const std::vector<CircuitRecord> records = {{3, 1800, "2024-05-01T00:00:00Z", 6000, "2024-05-01T00:00:00Z"},
                                                {5, 2400, "2024-05-02T00:00:00Z", 12087, "2024-05-02T00:00:00Z"}};
    const Rgb background = {31, 31, 36};
    const int baseline = FrontEndView::mapBottom - FrontEndView::rowSpacing, valueLeft = FrontEndView::rowsLeft + 220;
    for (int laps : {5, 4}) {
        PlayerSettings settings;
        settings.race.laps = laps;
        view.draw(FrontEnd(settings, 1), "", records);
        glFinish();
        // "3:21.45, lap 0:40.00" over five laps, "none yet" over four: 20 or 8 characters of 9 pixels.
        const PixelBounds value = pixelsUnlike(window.image(), {valueLeft, baseline - 4, 1024, baseline + 12}, background, 40);
        EXPECT_NEAR(value.maxX - valueLeft, laps == 5 ? 20 * 9 : 8 * 9, 9) << laps;
    }
}

}  // namespace
