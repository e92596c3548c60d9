#include "game/HeadsUpDisplay.h"

#include <sstream>

#include <GL/gl.h>
#include <GL/glu.h>

#include "entities/Vehicle.h"
#include "game/BitmapText.h"
#include "game/Game.h"
#include "game/RaceTimeText.h"
#include "game/RenderSettings.h"
#include "game/Window.h"

namespace {

// Pixel coordinates are eighths (or twelfths) of the window, truncated as integers.
void textAt(int x, int y, const std::string& text) {
    glRasterPos2f(static_cast<float>(x), static_cast<float>(y));
    drawBitmapText(text);
}

void beginScreenText() {
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0, windowWidth(), 0, windowHeight());
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glColor4f(1, 1, 1, 1);
}

void endScreenText() {
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

// Text that ends `margin` pixels left of the right edge, on the line at `y`, in the 9-pixel font.
void textRightAligned(int w, int y, const std::string& text) {
    const int glyphWidth = 9, margin = 16;
    textAt(w - margin - glyphWidth * static_cast<int>(text.size()), y, text);
}

// Only one character is written, so values of 10 and more show as the characters after '9'.
std::string digit(int value) { return std::string(1, static_cast<char>('0' + value)); }

}  // namespace

std::string fpsText(double fps) {
    std::ostringstream text;
    text << " FPS: " << fps;
    return text.str();
}

void drawHeadsUpDisplay(const Game& game, const Vehicle* target) {
    const int w = windowWidth(), h = windowHeight();
    beginScreenText();
    textAt(w / 8, h / 8, "Extra: " + (target ? target->heldItemName() : std::string("none")));
    const int index = game.vehicles.findLinearSearch(const_cast<Vehicle*>(target));
    if (target && index < game.vehicles.size()) {
        const RaceRecord& record = game.raceRecords[index];
        textAt(7 * w / 8, h / 8, "Rank: " + digit(record.rank));
        textAt(7 * w / 8, 2 * h / 8, "Lap: " + digit(record.lap));
        // The clock in the upper right corner, clear of the messages (upper left) and the frame rate.
        const int line = 20;
        if (!record.finished) textRightAligned(w, h - 30, "Lap " + raceTimeText(game.raceSteps - record.lapStartStep));
        textRightAligned(w, h - 30 - line, "Best " + raceTimeText(record.bestLapSteps));
        const int64_t raceSteps = record.finishSteps >= 0 ? record.finishSteps : game.raceSteps;
        textRightAligned(w, h - 30 - 2 * line, "Race " + raceTimeText(raceSteps));
    }
    if (renderSettings.showFps) textAt(5 * w / 8, 7 * h / 8, fpsText(game.fps));
    endScreenText();
}

std::string rankingText(const Game& game) {
    std::ostringstream text;
    text << "Ranking:" << "\n";
    for (int rank = 1; rank <= game.vehicles.size(); ++rank) {
        for (int j = 0; j < game.vehicles.size(); ++j) {
            const RaceRecord& record = game.raceRecords[j];
            if (record.rank != rank) continue;
            const std::string name = game.vehicles[j]->getName();
            text << rank << ": " << name;
            // A kart still racing, or stopped by E, has no time of its own; times line up in a column.
            const size_t timeColumn = 14;
            if (record.finishSteps >= 0) {
                text << std::string(name.size() + 2 < timeColumn ? timeColumn - name.size() : 2, ' ')
                     << raceTimeText(record.finishSteps);
            }
            text << "\n";
        }
    }
    text << "Press Enter to restart game";
    return text.str();
}

void drawRankingScreen(const Game& game) {
    const int w = windowWidth(), h = windowHeight();
    beginScreenText();
    int line = 8;
    glRasterPos2f(static_cast<float>(2 * w / 8), static_cast<float>(8 * h / 12));
    for (char c : rankingText(game)) {
        if (c == '\n') {
            --line;
            glRasterPos2f(static_cast<float>(2 * w / 8), static_cast<float>(line * h / 12));
        } else {
            drawBitmapText(std::string(1, c));
        }
    }
    endScreenText();
}

void drawScreenNote(const std::string& text, int twelfths) {
    const int glyphWidth = 9;  // pixels of a character of the bitmap font
    const int w = windowWidth(), h = windowHeight();
    beginScreenText();
    textAt((w - glyphWidth * static_cast<int>(text.size())) / 2, twelfths * h / 12, text);
    endScreenText();
}
