// Real mesh, material and scene files written by other people for other programs: the readers take
// what they can from them and say what they cannot, without crashing.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <string>
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

struct MeshYield {
    std::vector<uint32_t> vertexCounts;
    std::vector<uint32_t> indexCounts;
    bool texCoords;
    std::vector<std::string> errorLines;  // with PATH for the file's path in the media folder
};

std::string withPath(std::string line, const std::string& path) {
    const size_t at = line.find("PATH");
    return at == std::string::npos ? line : line.replace(at, 4, path);
}

TEST(ThirdPartyFiles, MeshesGiveWhatTheyCanAndSayWhatTheyCannot) {
    SKIP_WITHOUT_THIRD_PARTY_FILES();
    // Shared geometry is no part of this game's format: such a file is refused as a whole.
    const std::string noOwnGeometry = "ERROR: failed to load mesh file: PATH (submesh 0 has no geometry of its own)";
    const std::map<std::string, MeshYield> expected = {
        {"assimp_TheThing_Mesh.mesh.xml", {{}, {}, false, {noOwnGeometry}}},
        {"assimp_ogresdk_ninja.mesh.xml",
         {{781, 61},
          {2712, 312},
          false,  // the texture coordinates are in a second vertex buffer, which is not read
          {"Material Examples/Ninja not found, returning default.",
           "Material Examples/Ninja not found, returning default."}}},
        {"assimp_ogresdk_razor.mesh.xml", {{}, {}, false, {noOwnGeometry}}},
        {"leaprift_horloge.mesh.xml", {{}, {}, false, {noOwnGeometry}}},
        {"pythonogre_ogrenewt_wheel.mesh.xml",
         {{72, 26},
          {360, 72},
          true,
          {"Material TIRE not found, returning default.", "Material WHEEL not found, returning default."}}},
        {"rodolphe74_cube.mesh.xml", {{}, {}, false, {noOwnGeometry}}},
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
        const MeshYield& yield = expected.at(name);
        media.write("meshes/" + name, readFile(sharedTestData() + "/meshes/" + name));
        CapturedStream errors(std::cerr);
        boost::shared_ptr<Mesh> mesh = MeshLibrary::instance().loadMesh(name);

        std::string lines;
        for (const std::string& line : yield.errorLines) lines += withPath(line, media.meshes() + name) + "\n";
        EXPECT_EQ(errors.text(), lines);
        ASSERT_EQ(mesh->patches.size(), yield.vertexCounts.size());
        for (size_t i = 0; i < mesh->patches.size(); ++i) {
            const MeshPatch& patch = *mesh->patches[i];
            const MeshPatchGeometry& geometry = *patch.geometry;
            EXPECT_EQ(geometry.vertexCount, yield.vertexCounts[i]);
            EXPECT_EQ(geometry.indexCount, yield.indexCounts[i]);
            EXPECT_TRUE(patch.vertexProperties->normals);
            EXPECT_EQ(static_cast<bool>(patch.vertexProperties->texCoords), yield.texCoords);
            for (uint32_t k = 0; k < geometry.indexCount; ++k) ASSERT_LT(geometry.indices[k], geometry.vertexCount);
            for (uint32_t k = 0; k < 3 * geometry.vertexCount; ++k) ASSERT_TRUE(std::isfinite(geometry.positions[k]));
        }

        // Every shape can be built from what was read.
        EXPECT_GE(mesh->getBoundingRadius(), 0);
        EXPECT_EQ(mesh->getBoundingRadius() > 0, !mesh->patches.empty());
        EXPECT_NE(mesh->createTriangleMeshShape(), nullptr);
        EXPECT_EQ(mesh->createBoxHullShape()->getNumPoints(), 8);
        EXPECT_GT(mesh->createConvexHullShape()->getNumPoints(), 0);
        EXPECT_GT(mesh->createSimplifiedHullShape()->getNumPoints(), 0);
    }
}

std::vector<float> colour(const float* values) { return std::vector<float>(values, values + 4); }

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
        {"ogre_sibenik.material",
         {{"sibenik/Default", "sibenik/poplocenje", "sibenik/kuce", "sibenik/staklo_zuto", "sibenik/kamen_zid_prozor",
           "sibenik/pod-rub", "sibenik/staklo_plavo", "sibenik/staklo_crveno", "sibenik/sprljci",
           "sibenik/staklo_zeleno", "sibenik/rozeta", "sibenik/kamen_zid_parape", "sibenik/zid_vani", "sibenik/glas",
           "sibenik/pod", "sibenik/pod_tepih", "sibenik/stupovi", "sibenik/kamen_zid"},
          {}}},
        {"rodolphe74_green.material", {{"green"}, {}}},
    };
    const std::vector<std::string> names = filesIn("materials");
    ASSERT_EQ(names.size(), expected.size());
    std::map<std::string, std::unique_ptr<MaterialLibrary>> libraries;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        ASSERT_EQ(expected.count(name), 1u);
        CapturedStream errors(std::cerr);
        libraries[name].reset(new MaterialLibrary(sharedTestData() + "/materials/" + name));
        // The textures they name are not here: the image library's lines only.
        EXPECT_EQ(errors.count("IL Error: ") * 2, errors.count(""));
        const boost::shared_ptr<MeshPatchProperties> defaults = libraries[name]->getMaterial("");
        for (const std::string& material : expected.at(name).first) {
            EXPECT_NE(libraries[name]->getMaterial(material), defaults) << material;
        }
        for (const std::string& material : expected.at(name).second) {
            EXPECT_EQ(libraries[name]->getMaterial(material), defaults) << material;
        }
    }

    MaterialLibrary& horloge = *libraries["leaprift_Horloge.material"];
    const boost::shared_ptr<MeshPatchProperties> clock = horloge.getMaterial("Horloge");
    ASSERT_TRUE(clock->texture);
    EXPECT_EQ(clock->texture->name, media.textures() + "horloge.png");
    EXPECT_EQ(colour(clock->ambient), (std::vector<float>{0.8f, 0.8f, 0.8f, 1}));
    const float diffuse = 0.6400000190734865f;  // as the file writes it
    EXPECT_EQ(colour(clock->diffuse), (std::vector<float>{diffuse, diffuse, diffuse, 1}));
    EXPECT_EQ(colour(clock->specular), (std::vector<float>{0.5f, 0.5f, 0.5f, 1}));
    EXPECT_FLOAT_EQ(clock->shininess, 12.5f);

    MaterialLibrary& sibenik = *libraries["ogre_sibenik.material"];
    EXPECT_FALSE(sibenik.getMaterial("sibenik/Default")->texture);
    ASSERT_TRUE(sibenik.getMaterial("sibenik/poplocenje")->texture);
    EXPECT_EQ(sibenik.getMaterial("sibenik/poplocenje")->texture, sibenik.getMaterial("sibenik/kuce")->texture);
    // Colour values are taken as they stand, also an alpha above 1.
    EXPECT_FLOAT_EQ(sibenik.getMaterial("sibenik/staklo_zuto")->diffuse[3], 1.19f);

    const boost::shared_ptr<MeshPatchProperties> green = libraries["rodolphe74_green.material"]->getMaterial("green");
    EXPECT_EQ(colour(green->diffuse), (std::vector<float>{0, 1, 0, 1}));
    EXPECT_FLOAT_EQ(green->specular[0], 0.5f);
    EXPECT_FLOAT_EQ(green->shininess, 0);
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
        EXPECT_EQ(world.game->vehicles.size(), 0);
        EXPECT_EQ(progress.count("creating static collision object from mesh: "), count);
        EXPECT_EQ(progress.count(""), count);
        EXPECT_EQ(errors.count("no quaternion; using defaults"), count);
        EXPECT_EQ(errors.count("ERROR: failed to load mesh file: "), count);
        EXPECT_EQ(errors.count("WARNING: Could not open checkpoints file "), 1);
        EXPECT_EQ(errors.count("failed loading scene"), 0);
        EXPECT_EQ(errors.count(""), 2 * count + 1);
        // Without a checkpoints file the course is the default one.
        EXPECT_FLOAT_EQ(world.game->course->totalLength, 800);
    }
}

}  // namespace
