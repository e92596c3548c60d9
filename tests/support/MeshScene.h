#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <boost/shared_ptr.hpp>

class Game;
class GLTestWindow;
class Light;
class Mesh;

// A lit scene for mesh drawing tests. The window's media get a material script with a textured
// material "Sheet" (a 6x6 image of four coloured quadrants) and an untextured grey "Plain", and the
// libraries are restarted on them; GL is set up the way the game does it, with one directional light.
class MeshScene {
public:
    explicit MeshScene(GLTestWindow& window);
    ~MeshScene();

    // Writes the sheet mesh file under `fileName` and loads it through the mesh library. Each name is a
    // file of its own, so its patches (and their display lists and buffers) are new. The sheet lies
    // over x, y in [-6, 6] with texture coordinates from 0 to 1 across it (material "Sheet");
    // beside it on the right, from x = 7 to 10, lies a flat tile of material "Plain" without texture
    // coordinates, as a second submesh.
    boost::shared_ptr<Mesh> loadSheet(const std::string& fileName);
    // Clears the window, draws `mesh` 20 units in front of the eye and returns the image.
    std::vector<uint8_t> draw(Mesh& mesh);

    // Window pixels well inside each quadrant of the sheet, in the order lower left (red texels),
    // lower right (green), upper left (blue), upper right (yellow); and one on the plain tile.
    static constexpr int quadrantPoints[4][2] = {{422, 294}, {602, 294}, {422, 474}, {602, 474}};
    static constexpr int plainTilePoint[2] = {768, 384};
    static constexpr int centrePoint[2] = {512, 384};

private:
    GLTestWindow& window;
    std::unique_ptr<Game> game;
    std::unique_ptr<Light> light;
};
