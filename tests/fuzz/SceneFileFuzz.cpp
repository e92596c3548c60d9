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

const char* const solidMeshNames[] = {"Box.mesh.xml",      "VorbelC.mesh.xml",  "VorbelL2.mesh.xml",
                                      "VorbelL3.mesh.xml", "VorbelL4.mesh.xml", "VorbelL5.mesh.xml",
                                      "VorbelL6.mesh.xml", "VorbelL7.mesh.xml", "Wheel.mesh.xml",
                                      "DustSphere.mesh.xml"};

// A tetrahedron, so that scene nodes get shapes with some size.
const char* const solidMesh =
    "<mesh><submeshes><submesh><faces count=\"4\"><face v1=\"0\" v2=\"2\" v3=\"1\"/><face v1=\"0\" v2=\"1\" v3=\"3\"/>"
    "<face v1=\"1\" v2=\"2\" v3=\"3\"/><face v1=\"2\" v2=\"0\" v3=\"3\"/></faces><geometry vertexcount=\"4\">"
    "<vertexbuffer positions=\"true\"><vertex><position x=\"-1\" y=\"-1\" z=\"-1\"/></vertex><vertex><position "
    "x=\"1\" y=\"-1\" z=\"-1\"/></vertex><vertex><position x=\"0\" y=\"-1\" z=\"1\"/></vertex><vertex><position "
    "x=\"0\" y=\"1\" z=\"0\"/></vertex></vertexbuffer></geometry></submesh></submeshes></mesh>";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzMedia& media = FuzzMedia::started([](const TestMedia& folder) {
        for (const char* name : solidMeshNames) folder.write(std::string("meshes/") + name, solidMesh);
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
