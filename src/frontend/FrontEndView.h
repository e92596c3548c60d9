#pragma once

#include <optional>
#include <string>
#include <vector>

#include "frontend/CircuitPreview.h"
#include "frontend/ImageTexture.h"
#include "records/RecordBook.h"

class FrontEnd;

// Draws the front end from its state, with the game's fixed-function OpenGL and bitmap font: the
// circuit's map (a texture of the map the generator draws) beside the screen's rows, the selected
// row on a bar, the figures of the circuit, a line of hints; and the progress of a race's start.
// Everything is laid out on a 1024 x 768 area in the middle of the window. Each draw saves and
// restores the OpenGL state it changes, so the race finds its own state as it left it.
class FrontEndView {
public:
    // Its textures are made on the first draw and deleted with it, while the context is current.
    FrontEndView() = default;

    // The circuit picture to show from now on.
    void show(CircuitPreview::Picture picture);
    // The screen of `frontEnd`, with `notice` (a line on what went wrong, or "") above the hints, and
    // the circuit's `records` under its figures.
    void draw(const FrontEnd& frontEnd, const std::string& notice, const std::vector<CircuitRecord>& records = {});
    // A race about to start: "Generating circuit N" with the share done (0 to 1), or "Loading
    // circuit N" without one.
    void drawStart(int circuit, std::optional<double> generated);
    // A line over a bar showing the share done (0 to 1), or the line alone without one.
    void drawProgress(const std::string& line, std::optional<double> share);

    static constexpr int areaWidth = 1024;  // pixels of the laid-out area
    static constexpr int areaHeight = 768;
    static constexpr int mapSize = 448;     // pixels of the map's side
    static constexpr int mapLeft = 40;      // of the area
    static constexpr int mapBottom = 150;
    static constexpr int rowsLeft = 540;
    static constexpr int firstRowBaseline = 560;
    static constexpr int rowSpacing = 36;

private:
    void beginDrawing();
    void endDrawing();
    void drawMap(const FrontEnd& frontEnd);
    void drawRecords(const FrontEnd& frontEnd, const std::vector<CircuitRecord>& records);
    void drawRows(const FrontEnd& frontEnd);
    void drawKeys();
    void drawTitle();

    std::optional<CircuitPreview::Picture> picture;
    bool mapUploaded = false;  // the picture's map is in mapTexture
    ImageTexture mapTexture;
    ImageTexture titleTexture;
    int left = 0;  // window pixels left of and below the area
    int bottom = 0;
};
