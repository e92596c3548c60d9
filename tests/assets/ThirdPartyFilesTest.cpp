// Real mesh, material and scene files written by other people for other programs: the readers take
// what they can from them and say what they cannot, without crashing.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include <btBulletCollisionCommon.h>
#include <gtest/gtest.h>

#include "assets/MaterialLibrary.h"
#include "assets/Mesh.h"
#include "assets/MeshLibrary.h"
#include "assets/MeshPatch.h"
#include "assets/MeshPatchGeometry.h"
#include "assets/MeshPatchProperties.h"
#include "assets/MeshPatchVertexProperties.h"
#include "assets/Texture.h"
#include "game/Game.h"
#include "level/Course.h"
#include "level/SceneLoader.h"
#include "support/TestWorld.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(sharedTestData() + "/" + folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

#define SKIP_WITHOUT_THIRD_PARTY_FILES() \
    if (sharedTestData().empty()) GTEST_SKIP() << "no third-party test files here"

TEST(ThirdPartyFiles, MeshesGiveWhatTheyCanAndSayWhatTheyCannot) {
    SKIP_WITHOUT_THIRD_PARTY_FILES();
    // Per file: the vertices of each patch read, whether texture coordinates were read, and the
    // patches naming a material this game does not have. A file with shared geometry, which is no
    // part of this game's format, is refused as a whole.
    const std::map<std::string, std::tuple<std::vector<uint32_t>, bool, int>> expected = {
        {"assimp_TheThing_Mesh.mesh.xml", {{}, false, 0}},
        // The texture coordinates are in a second vertex buffer, which is not read.
        {"assimp_ogresdk_ninja.mesh.xml", {{781, 61}, false, 2}},
        {"assimp_ogresdk_razor.mesh.xml", {{}, false, 0}},
        {"leaprift_horloge.mesh.xml", {{}, false, 0}},
        {"pythonogre_ogrenewt_wheel.mesh.xml", {{72, 26}, true, 2}},
        {"rodolphe74_cube.mesh.xml", {{}, false, 0}},
    };
    const std::vector<std::string> names = filesIn("meshes");
    ASSERT_EQ(names.size(), expected.size());
    TestMedia media;
    {
        CapturedStream quiet(std::cerr);
        media.startLibraries();
    }
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        ASSERT_EQ(expected.count(name), 1u);
        const std::vector<uint32_t>& vertexCounts = std::get<0>(expected.at(name));
        const int unknownMaterials = std::get<2>(expected.at(name));
        media.write("meshes/" + name, readFile(sharedTestData() + "/meshes/" + name));
        CapturedStream errors(std::cerr);
        boost::shared_ptr<Mesh> mesh = MeshLibrary::instance().loadMesh(name);

        const bool refused = vertexCounts.empty();
        EXPECT_EQ(errors.count("ERROR: failed to load mesh file: " + media.meshes() + name +
                               " (submesh 0 has no geometry of its own)"),
                  refused ? 1 : 0);
        EXPECT_EQ(errors.count(" not found, returning default."), unknownMaterials);
        EXPECT_EQ(errors.count(""), unknownMaterials + (refused ? 1 : 0));
        ASSERT_EQ(mesh->patches.size(), vertexCounts.size());
        for (size_t i = 0; i < mesh->patches.size(); ++i) {
            const MeshPatch& patch = *mesh->patches[i];
            const MeshPatchGeometry& geometry = *patch.geometry;
            EXPECT_EQ(geometry.vertexCount, vertexCounts[i]);
            EXPECT_EQ(geometry.indexCount % 3, 0u);
            EXPECT_TRUE(patch.vertexProperties->normals);
            EXPECT_EQ(static_cast<bool>(patch.vertexProperties->texCoords), std::get<1>(expected.at(name)));
            for (uint32_t k = 0; k < geometry.indexCount; ++k) ASSERT_LT(geometry.indices[k], geometry.vertexCount);
            for (uint32_t k = 0; k < 3 * geometry.vertexCount; ++k) ASSERT_TRUE(std::isfinite(geometry.positions[k]));
        }

        // Every shape can be built from what was read.
        EXPECT_EQ(mesh->getBoundingRadius() > 0, !mesh->patches.empty());
        EXPECT_NE(mesh->createTriangleMeshShape(), nullptr);
        EXPECT_EQ(mesh->createBoxHullShape()->getNumPoints(), 8);
        EXPECT_GT(mesh->createConvexHullShape()->getNumPoints(), 0);
        EXPECT_GT(mesh->createSimplifiedHullShape()->getNumPoints(), 0);
    }
}

TEST(ThirdPartyFiles, MaterialScriptsStopAtTheFirstValueTheyCannotRead) {
    SKIP_WITHOUT_THIRD_PARTY_FILES();
    TestMedia media;
    {
        CapturedStream quiet(std::cerr);
        media.startLibraries();
    }
    // Names each script should and should not define once read.
    const std::map<std::string, std::pair<std::vector<std::string>, std::vector<std::string>>> expected = {
        {"leaprift_Horloge.material", {{"Horloge"}, {}}},
        // "specular" with four numbers takes the next word for its fifth: the read ends there.
        {"ogre_DamagedHelmet.material", {{"DamagedHelmet_glTF", "DamagedHelmet_Filament"}, {"DamagedHelmet"}}},
        // Its first colour has three numbers: nothing is completed.
        {"ogre_Ogre.material", {{}, {"Ogre/Earring", "Ogre/Skin", "Ogre/Tusks", "Ogre/Eyes"}}},
        {"ogre_sibenik.material", {{"sibenik/Default", "sibenik/poplocenje", "sibenik/rozeta", "sibenik/kamen_zid"}, {}}},
        {"rodolphe74_green.material", {{"green"}, {}}},
    };
    const std::vector<std::string> names = filesIn("materials");
    ASSERT_EQ(names.size(), expected.size());
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        ASSERT_EQ(expected.count(name), 1u);
        CapturedStream errors(std::cerr);
        MaterialLibrary library(sharedTestData() + "/materials/" + name);
        // The textures they name are not here: the image library's lines only.
        EXPECT_EQ(errors.count("IL Error: ") * 2, errors.count(""));
        const boost::shared_ptr<MeshPatchProperties> defaults = library.getMaterial("");
        for (const std::string& material : expected.at(name).first) {
            EXPECT_NE(library.getMaterial(material), defaults) << material;
        }
        for (const std::string& material : expected.at(name).second) {
            EXPECT_EQ(library.getMaterial(material), defaults) << material;
        }
        if (name == "leaprift_Horloge.material") {
            const boost::shared_ptr<MeshPatchProperties> clock = library.getMaterial("Horloge");
            ASSERT_TRUE(clock->texture);
            EXPECT_EQ(clock->texture->name, media.textures() + "horloge.png");
            EXPECT_FLOAT_EQ(clock->diffuse[0], 0.6400000190734865f);  // as the file writes it
            EXPECT_FLOAT_EQ(clock->shininess, 12.5f);
        }
    }
}

TEST(ThirdPartyFiles, ScenesPlaceTheirEntitiesWithDefaultsForWhatTheyLack) {
    SKIP_WITHOUT_THIRD_PARTY_FILES();
    // Each of their nodes with an entity names a mesh that is not here and has its rotation in an
    // element this game does not read.
    const std::map<std::string, int> entities = {
        {"leaprift_blender2ogre-export.scene", 1}, {"ogre_dotscene_example.scene", 1}, {"rodolphe74_bishop.scene", 6}};
    const std::vector<std::string> names = filesIn("scenes");
    ASSERT_EQ(names.size(), entities.size());
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        ASSERT_EQ(entities.count(name), 1u);
        TestWorld world;
        world.media.write("meshes/" + name, readFile(sharedTestData() + "/scenes/" + name));
        CapturedStream errors(std::cerr);
        CapturedStream progress(std::cout);
        loadScene(world.game.get(), name);

        const int count = entities.at(name);
        EXPECT_EQ(world.game->entities.size(), count);
        EXPECT_EQ(progress.count("creating static collision object from mesh: "), count);
        EXPECT_EQ(progress.count(""), count);
        EXPECT_EQ(errors.count("no quaternion; using defaults"), count);
        EXPECT_EQ(errors.count("ERROR: failed to load mesh file: "), count);
        EXPECT_EQ(errors.count("WARNING: Could not open checkpoints file "), 1);
        EXPECT_EQ(errors.count(""), 2 * count + 1);
        // Without a checkpoints file the course is the default one.
        EXPECT_FLOAT_EQ(world.game->course->totalLength, 800);
    }
}

}  // namespace
