// Real mesh, material and scene files written by other people for other programs: the readers take
// what they can from them and say what they cannot, without crashing.
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "assets/MaterialLibrary.h"
#include "assets/Mesh.h"
#include "assets/MeshLibrary.h"
#include "assets/MeshPatch.h"
#include "assets/MeshPatchGeometry.h"
#include "game/Game.h"
#include "level/SceneLoader.h"
#include "support/TestWorld.h"

namespace {

#define SKIP_WITHOUT_THIRD_PARTY_FILES() \
    if (sharedTestData().empty()) GTEST_SKIP() << "no third-party test files here"

TEST(ThirdPartyFiles, MeshesAndMaterialScriptsGiveWhatTheyCanAndSayWhatTheyCannot) {
    SKIP_WITHOUT_THIRD_PARTY_FILES();
    TestWorld world;
    // Per mesh file: the vertices of each patch read, and the patches naming a material this game does
    // not have. A file with shared geometry, which is no part of this game's format, is refused.
    for (const auto& [name, expected] : std::map<std::string, std::pair<std::vector<uint32_t>, int>>{
             {"assimp_TheThing_Mesh.mesh.xml", {{}, 0}},
             {"assimp_ogresdk_ninja.mesh.xml", {{781, 61}, 2}},
             {"assimp_ogresdk_razor.mesh.xml", {{}, 0}},
             {"leaprift_horloge.mesh.xml", {{}, 0}},
             {"pythonogre_ogrenewt_wheel.mesh.xml", {{72, 26}, 2}},
             {"rodolphe74_cube.mesh.xml", {{}, 0}}}) {
        SCOPED_TRACE(name);
        world.media.write("meshes/" + name, readFile(sharedTestData() + "/meshes/" + name));
        CapturedStream errors(std::cerr);
        boost::shared_ptr<Mesh> mesh = MeshLibrary::instance().loadMesh(name);
        const int refused = expected.first.empty() ? 1 : 0;
        EXPECT_EQ(errors.count("(submesh 0 has no geometry of its own)"), refused);
        EXPECT_EQ(errors.count(" not found, returning default."), expected.second);
        EXPECT_EQ(errors.count(""), expected.second + refused);
        std::vector<uint32_t> vertexCounts;
        for (const auto& patch : mesh->patches) vertexCounts.push_back(patch->geometry->vertexCount);
        EXPECT_EQ(vertexCounts, expected.first);
    }

    // Names each material script should and should not define once read. DamagedHelmet: "specular"
    // with four numbers takes the next word for its fifth; Ogre: its first colour has three numbers.
    for (const auto& [name, names] :
         std::map<std::string, std::pair<std::vector<std::string>, std::vector<std::string>>>{
             {"leaprift_Horloge.material", {{"Horloge"}, {}}},
             {"ogre_DamagedHelmet.material", {{"DamagedHelmet_glTF", "DamagedHelmet_Filament"}, {"DamagedHelmet"}}},
             {"ogre_Ogre.material", {{}, {"Ogre/Earring", "Ogre/Skin", "Ogre/Tusks", "Ogre/Eyes"}}},
             {"ogre_sibenik.material",
              {{"sibenik/Default", "sibenik/poplocenje", "sibenik/rozeta", "sibenik/kamen_zid"}, {}}},
             {"rodolphe74_green.material", {{"green"}, {}}}}) {
        SCOPED_TRACE(name);
        CapturedStream errors(std::cerr);
        MaterialLibrary library(sharedTestData() + "/materials/" + name);
        EXPECT_EQ(errors.count("IL Error: ") * 2, errors.count(""));  // only the textures they name are missing
        const auto defaults = library.getMaterial("");
        for (const std::string& material : names.first) EXPECT_NE(library.getMaterial(material), defaults);
        for (const std::string& material : names.second) EXPECT_EQ(library.getMaterial(material), defaults);
    }
}

TEST(ThirdPartyFiles, ScenesPlaceTheirEntitiesWithDefaultsForWhatTheyLack) {
    SKIP_WITHOUT_THIRD_PARTY_FILES();
    // Each of their nodes with an entity names a mesh that is not here and has its rotation in an
    // element this game does not read.
    for (const auto& [name, count] : std::map<std::string, int>{{"leaprift_blender2ogre-export.scene", 1},
                                                                {"ogre_dotscene_example.scene", 1},
                                                                {"rodolphe74_bishop.scene", 6}}) {
        SCOPED_TRACE(name);
        TestWorld world;
        world.media.write("meshes/" + name, readFile(sharedTestData() + "/scenes/" + name));
        CapturedStream errors(std::cerr);
        loadScene(world.game.get(), name);
        EXPECT_EQ(world.game->entities.size(), count);
        EXPECT_EQ(errors.count("no quaternion; using defaults"), count);
        EXPECT_EQ(errors.count(""), 2 * count + 1);  // and the missing checkpoints file
    }
}

}  // namespace
