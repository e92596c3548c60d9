// Real mesh, material and scene files written by other people for other programs: the readers take
// what they can from them and say what they cannot, without crashing.
#include <iostream>
#include <map>
#include <string>
#include <tuple>
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

TEST(ThirdPartyFiles, ReadersGiveWhatTheyCanAndSayWhatTheyCannot) {
    if (sharedTestData().empty()) GTEST_SKIP() << "no third-party test files here";
    // The vertices of each patch read; a file with shared geometry, no part of this game's format,
    // is refused.
    TestWorld world;
    for (const auto& [name, expected] : std::map<std::string, std::vector<uint32_t>>{
             {"assimp_TheThing_Mesh.mesh.xml", {}},
             {"assimp_ogresdk_ninja.mesh.xml", {781, 61}},
             {"assimp_ogresdk_razor.mesh.xml", {}},
             {"leaprift_horloge.mesh.xml", {}},
             {"pythonogre_ogrenewt_wheel.mesh.xml", {72, 26}},
             {"rodolphe74_cube.mesh.xml", {}}}) {
        world.media.write("meshes/" + name, readFile(sharedTestData() + "/meshes/" + name));
        CapturedStream errors(std::cerr);
        const boost::shared_ptr<Mesh> mesh = MeshLibrary::instance().loadMesh(name);
        std::vector<uint32_t> vertexCounts;
        for (const auto& patch : mesh->patches) vertexCounts.push_back(patch->geometry->vertexCount);
        EXPECT_EQ(vertexCounts, expected) << name;
        EXPECT_EQ(errors.count("(submesh 0 has no geometry of its own)"), expected.empty() ? 1 : 0) << name;
    }

    // A material each script defines, and one it does not. DamagedHelmet: "specular" with four numbers
    // takes the next word for its fifth; Ogre: its first colour has three numbers.
    for (const auto& [name, defined, lost] : std::vector<std::tuple<std::string, std::string, std::string>>{
             {"leaprift_Horloge.material", "Horloge", "Horloge2"},
             {"ogre_DamagedHelmet.material", "DamagedHelmet_Filament", "DamagedHelmet"},
             {"ogre_Ogre.material", "", "Ogre/Skin"},
             {"ogre_sibenik.material", "sibenik/kamen_zid", "sibenik"},
             {"rodolphe74_green.material", "green", "red"}}) {
        CapturedStream errors(std::cerr);  // the textures they name are not here
        MaterialLibrary library(sharedTestData() + "/materials/" + name);
        const auto defaults = library.getMaterial("");
        if (!defined.empty()) {
            EXPECT_NE(library.getMaterial(defined), defaults) << name;
        }
        EXPECT_EQ(library.getMaterial(lost), defaults) << name;
    }

    // Each of their nodes with an entity names a mesh that is not here and has its rotation in an
    // element this game does not read.
    for (const auto& [name, count] : std::map<std::string, int>{{"leaprift_blender2ogre-export.scene", 1},
                                                                {"ogre_dotscene_example.scene", 1},
                                                                {"rodolphe74_bishop.scene", 6}}) {
        world.game->restart();
        world.media.write("meshes/" + name, readFile(sharedTestData() + "/scenes/" + name));
        CapturedStream errors(std::cerr);
        loadScene(world.game.get(), name);
        EXPECT_EQ(world.game->entities.size(), count) << name;
        EXPECT_EQ(errors.count("no quaternion; using defaults"), count) << name;
    }
}
