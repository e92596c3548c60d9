#include "frontend/FrontEndView.h"

#include <algorithm>
#include <vector>

#include <GL/gl.h>
#include <GL/glu.h>

#include "NumberFormat.h"
#include "PixelFont.h"
#include "frontend/FrontEnd.h"
#include "game/BitmapText.h"
#include "game/RaceTimeText.h"
#include "game/Window.h"

namespace {

const int titleSize = 6;   // image pixels per pixel of the title's block font
const int titleBaseline = 660;
const int valueLeft = 220;     // of a row's value, right of its label
const int keyValueLeft = 160;  // of what a key does, right of the key
const int keySpacing = 24;
const int hintBaseline = 40;
const int noticeBaseline = 80;
const int progressWidth = 480;
const int progressHeight = 24;

struct Shade {
    float r, g, b;
};
const Shade background = {0.12f, 0.12f, 0.14f};  // the map sheet's own
const Shade textShade = {0.92f, 0.92f, 0.92f};
const Shade dimShade = {0.62f, 0.62f, 0.68f};
const Shade barShade = {0.9f, 0.47f, 0.04f};  // the selected row: the karts' orange
const Shade warningShade = {1.0f, 0.45f, 0.4f};
const Color titleColour{0.97, 0.62, 0.1};

struct Row {
    std::string label;
    std::string value;
};

void rectangle(int x0, int y0, int x1, int y1, const Shade& shade) {
    glColor3f(shade.r, shade.g, shade.b);
    glRecti(x0, y0, x1, y1);
}

// The raster colour is taken when the position is set.
void textAt(int x, int y, const std::string& line, const Shade& shade) {
    glColor3f(shade.r, shade.g, shade.b);
    glRasterPos2i(x, y);
    drawBitmapText(line);
}

std::string choice(const std::string& value) { return "<  " + value + "  >"; }

std::vector<Row> rowsOf(const FrontEnd& frontEnd) {
    const PlayerSettings& settings = frontEnd.settings();
    switch (frontEnd.screen()) {
        case FrontEnd::Screen::circuit:
            return {{"Circuit", frontEnd.circuitText() + (frontEnd.replacesOnDigit() ? "" : "_")}, {"Settings", ""}};
        case FrontEnd::Screen::race:
            return {{"Laps", choice(std::to_string(settings.race.laps))},
                    {"Computer drivers", choice(settings.race.computerDrivers == 0
                                                    ? std::string("0: time trial")
                                                    : std::to_string(settings.race.computerDrivers))},
                    {"Their pace", choice(paceName(settings.race.pace))},
                    {"Start the race", ""}};
        case FrontEnd::Screen::settings:
            return {{"Display", choice(settings.fullScreen ? "full screen" : "window")},
                    {"Volume", choice(std::to_string(settings.sound.volume) + " %")},
                    {"Sound", choice(settings.sound.muted ? "off" : "on")},
                    {"Keys", ""}};
        case FrontEnd::Screen::keys:
            break;
    }
    return {};
}

const char* headingOf(FrontEnd::Screen screen) {
    switch (screen) {
        case FrontEnd::Screen::circuit: return "Choose a circuit";
        case FrontEnd::Screen::race: return "The race";
        case FrontEnd::Screen::settings: return "Settings";
        case FrontEnd::Screen::keys: return "Keys";
    }
    return "";
}

const char* hintsOf(FrontEnd::Screen screen) {
    switch (screen) {
        case FrontEnd::Screen::circuit:
            return "Digits, Left/Right or R: circuit   Up/Down: row   Enter: choose   Escape: quit";
        case FrontEnd::Screen::race: return "Up/Down: row   Left/Right: change   Enter: start   Escape: back";
        case FrontEnd::Screen::settings: return "Up/Down: row   Left/Right: change   Enter: choose   Escape: back";
        case FrontEnd::Screen::keys: return "Enter or Escape: back";
    }
    return "";
}

const Row keyRows[] = {
    {"Up / Down", "throttle / brake"},
    {"Left / Right", "steer"},
    {"Left Ctrl", "drift: slide and turn faster"},
    {"Space", "use the held item (with Left Alt: drop a green shell behind)"},
    {"G, R, T, S, F", "take a green shell, red shell, turbo, star or flash"},
    {"E", "end the race now; Enter then restarts it"},
    {"Backspace", "after the race: back to the circuits"},
    {"P", "pause and resume"},
    {"F11", "window or full screen"},
    {"F2", "frame-rate line"},
    {"F3 to F9", "wireframe, texture filters, vertex modes, display lists, culling, particles"},
    {"A", "computer drivers on or off"},
    {"M", "sound on or off"},
    {"Escape", "quit"},
    {"Pad stick, d-pad", "steer; move in these screens"},
    {"Pad A / B", "throttle / brake (the triggers too); choose / back here"},
    {"Pad X / Y", "drift / use the held item (stick back: behind)"},
    {"Pad Start / Back", "pause; after the race: back to the circuits"},
};

}  // namespace

void FrontEndView::show(CircuitPreview::Picture shown) {
    picture = std::move(shown);
    mapUploaded = false;
}

void FrontEndView::draw(const FrontEnd& frontEnd, const std::string& notice,
                        const std::vector<CircuitRecord>& records) {
    beginDrawing();
    drawTitle();
    const bool keys = frontEnd.screen() == FrontEnd::Screen::keys;
    textAt(left + (keys ? mapLeft : rowsLeft), bottom + firstRowBaseline + 2 * rowSpacing, headingOf(frontEnd.screen()),
           textShade);
    if (keys) {
        drawKeys();
    } else {
        drawRows(frontEnd);
        if (frontEnd.screen() != FrontEnd::Screen::settings) {
            drawMap(frontEnd);
            drawRecords(frontEnd, records);
        }
    }
    if (!notice.empty()) textAt(left + mapLeft, bottom + noticeBaseline, notice, warningShade);
    textAt(left + mapLeft, bottom + hintBaseline, hintsOf(frontEnd.screen()), dimShade);
    endDrawing();
}

void FrontEndView::drawStart(int circuit, std::optional<double> generated) {
    drawProgress((generated ? "Generating circuit " : "Loading circuit ") + std::to_string(circuit), generated);
}

void FrontEndView::drawProgress(const std::string& line, std::optional<double> done) {
    beginDrawing();
    drawTitle();
    const int x = left + (areaWidth - progressWidth) / 2, y = bottom + areaHeight / 2;
    textAt(x, y + progressHeight + 16, line, textShade);
    if (done) {
        const double share = std::max(0.0, std::min(1.0, *done));
        rectangle(x, y, x + progressWidth, y + progressHeight, dimShade);
        rectangle(x + 2, y + 2, x + progressWidth - 2, y + progressHeight - 2, background);
        rectangle(x + 2, y + 2, x + 2 + static_cast<int>(share * (progressWidth - 4)), y + progressHeight - 2, barShade);
    }
    endDrawing();
}

void FrontEndView::beginDrawing() {
    // The area sits in the middle of a larger window, or from its corner in a smaller one.
    left = std::max(0, (windowWidth() - areaWidth) / 2);
    bottom = std::max(0, (windowHeight() - areaHeight) / 2);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0, windowWidth(), 0, windowHeight());
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glClearColor(background.r, background.g, background.b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void FrontEndView::endDrawing() {
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}

void FrontEndView::drawTitle() {
    if (titleTexture.empty()) {
        // In the generator's block font: the bitmap font is too small for a title.
        const std::string title = "VORBEL RACE";
        Image image(PixelFont::width(title, titleSize), PixelFont::glyphHeight * titleSize);
        image.fillRect(0, 0, image.getWidth(), image.getHeight(), {background.r, background.g, background.b});
        PixelFont::draw(image, title, 0, 0, titleSize, titleColour);
        titleTexture.upload(image);
    }
    titleTexture.draw(left + mapLeft, bottom + titleBaseline);
}

void FrontEndView::drawMap(const FrontEnd& frontEnd) {
    const int x = left + mapLeft, y = bottom + mapBottom;
    const int circuit = frontEnd.settings().circuit;
    const bool current = picture && picture->number == circuit;
    if (current && picture->map) {
        if (!mapUploaded) mapTexture.upload(*picture->map);
        mapUploaded = true;
        mapTexture.draw(x, y);
    } else {
        rectangle(x, y, x + mapSize, y + mapSize, {0.16f, 0.16f, 0.19f});
        const std::string line = current ? "No draft of circuit " + std::to_string(circuit) + " passes the checks"
                                         : "Drawing the map of circuit " + std::to_string(circuit);
        textAt(x + 24, y + mapSize / 2, line, dimShade);
    }
    if (!current || !picture->map) return;
    const Row figures[] = {{"Lap", formatNumber(picture->length, 0) + " units"},
                           {"Curves", std::to_string(picture->curves)},
                           {"Heights", formatNumber(picture->heightRange, 0) + " units apart"}};
    int baseline = bottom + mapBottom + 2 * rowSpacing;
    for (const Row& figure : figures) {
        textAt(left + rowsLeft, baseline, figure.label, dimShade);
        textAt(left + rowsLeft + valueLeft, baseline, figure.value, dimShade);
        baseline -= rowSpacing;
    }
}

void FrontEndView::drawRecords(const FrontEnd& frontEnd, const std::vector<CircuitRecord>& records) {
    // The records over the lap count chosen, below the figures.
    const int laps = frontEnd.settings().race.laps;
    std::string value = "none yet";
    for (const CircuitRecord& record : records) {
        if (record.laps == laps) value = raceTimeText(record.bestRaceSteps) + ", lap " + raceTimeText(record.bestLapSteps);
    }
    const int baseline = bottom + mapBottom - rowSpacing;
    textAt(left + rowsLeft, baseline, "Best, " + std::to_string(laps) + (laps == 1 ? " lap" : " laps"), dimShade);
    textAt(left + rowsLeft + valueLeft, baseline, value, dimShade);
}

void FrontEndView::drawRows(const FrontEnd& frontEnd) {
    const std::vector<Row> rows = rowsOf(frontEnd);
    int baseline = bottom + firstRowBaseline;
    for (size_t i = 0; i < rows.size(); ++i) {
        const bool selected = static_cast<int>(i) == frontEnd.row();
        if (selected) {
            rectangle(left + rowsLeft - 12, baseline - 12, left + areaWidth - 40, baseline + rowSpacing - 14, barShade);
        }
        textAt(left + rowsLeft, baseline, rows[i].label, textShade);
        textAt(left + rowsLeft + valueLeft, baseline, rows[i].value, textShade);
        baseline -= rowSpacing;
    }
}

void FrontEndView::drawKeys() {
    int baseline = bottom + firstRowBaseline;
    for (const Row& key : keyRows) {
        textAt(left + mapLeft, baseline, key.label, textShade);
        textAt(left + mapLeft + keyValueLeft, baseline, key.value, dimShade);
        baseline -= keySpacing;
    }
}
