// Scene files: the XML parse and the level loader, which creates every entity and vehicle the
// scene names; a restart deletes them again after each run.
#include <cstdint>
#include <string>

#include <tinyxml.h>

#include "FuzzMedia.h"
#include "assets/XmlFile.h"
#include "game/Game.h"
#include "game/GameClock.h"
#include "level/SceneLoader.h"

namespace {

const char* const boxMeshNames[] = {"Box.mesh.xml",      "VorbelC.mesh.xml",  "VorbelL2.mesh.xml",
                                    "VorbelL3.mesh.xml", "VorbelL4.mesh.xml", "VorbelL5.mesh.xml",
                                    "VorbelL6.mesh.xml", "VorbelL7.mesh.xml", "Wheel.mesh.xml",
                                    "DustSphere.mesh.xml"};

// A unit cube of 12 triangles, so that scene nodes get shapes with some size.
std::string boxMesh() {
    std::string text = "<mesh><submeshes><submesh><faces count=\"12\">";
    const int faces[12][3] = {{0, 2, 1}, {1, 2, 3}, {4, 5, 6}, {5, 7, 6}, {0, 1, 4}, {1, 5, 4},
                              {2, 6, 3}, {3, 6, 7}, {0, 4, 2}, {2, 4, 6}, {1, 3, 5}, {3, 7, 5}};
    for (const auto& face : faces) {
        text += "<face v1=\"" + std::to_string(face[0]) + "\" v2=\"" + std::to_string(face[1]) + "\" v3=\"" +
                std::to_string(face[2]) + "\"/>";
    }
    text += "</faces><geometry vertexcount=\"8\"><vertexbuffer positions=\"true\" normals=\"true\">";
    for (int i = 0; i < 8; ++i) {
        text += "<vertex><position x=\"" + std::to_string((i & 1) ? 1 : -1) + "\" y=\"" +
                std::to_string((i & 2) ? 1 : -1) + "\" z=\"" + std::to_string((i & 4) ? 1 : -1) +
                "\"/><normal x=\"0\" y=\"1\" z=\"0\"/></vertex>";
    }
    return text + "</vertexbuffer></geometry></submesh></submeshes></mesh>";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzMedia& media = FuzzMedia::started([](const FuzzMedia& folder) {
        for (const char* name : boxMeshNames) folder.write(std::string("meshes/") + name, boxMesh());
    });
    static Game& game = *[] {
        GameClock::useSimulatedTime();
        return new Game();
    }();

    TiXmlDocument document;
    parseXmlText(document, FuzzMedia::text(data, size));
    loadSceneDocument(&game, document);
    // The restart deletes everything the scene created; the level file it then reads is not
    // there, so it creates nothing and only gives the game the default course again.
    game.restart();
    media.nextRun();
    return 0;
}
