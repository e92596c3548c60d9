#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "assets/MaterialLibrary.h"
#include "assets/MeshPatchProperties.h"
#include "assets/Texture.h"
#include "support/TestMedia.h"

namespace {

std::vector<float> colour(const float* values) {
    return values ? std::vector<float>(values, values + 4) : std::vector<float>();
}

// A library of its own over a script path that does not exist, filled from text by readScript.
class MaterialScript : public ::testing::Test {
protected:
    void SetUp() override {
        {
            CapturedStream startup(std::cerr);  // the process-wide library finds no script either
            media.startLibraries();
        }
        CapturedStream errors(std::cerr);
        library.reset(new MaterialLibrary(media.meshes() + "none.material"));
        EXPECT_EQ(errors.text(), "Could not open material file " + media.meshes() + "none.material\n");
        defaults = library->getMaterial("");
    }

    void read(const std::string& script) {
        CapturedStream imageErrors(std::cerr);  // the textures named here do not exist
        std::istringstream stream(script);
        library->readScript(stream);
    }
    // The record of `name`, or null when the library answers with the default (and its message).
    boost::shared_ptr<MeshPatchProperties> find(const std::string& name) {
        CapturedStream errors(std::cerr);
        boost::shared_ptr<MeshPatchProperties> material = library->getMaterial(name);
        EXPECT_EQ(material == defaults, errors.text() == "Material " + name + " not found, returning default.\n")
            << errors.text();
        return material == defaults ? nullptr : material;
    }

    TestMedia media;
    std::unique_ptr<MaterialLibrary> library;
    boost::shared_ptr<MeshPatchProperties> defaults;
};

TEST_F(MaterialScript, DefaultMaterialAnswersEveryUnknownNameWithAMessage) {
    ASSERT_TRUE(defaults);
    EXPECT_FALSE(defaults->texture);
    EXPECT_EQ(colour(defaults->ambient), (std::vector<float>{0.2f, 0.2f, 0.2f, 1}));
    EXPECT_EQ(colour(defaults->specular), (std::vector<float>{1, 1, 1, 1}));
    read("");  // an empty script adds nothing
    // Every lookup of an unknown name says so, not only the first; find() checks the message.
    EXPECT_FALSE(find("Nope"));
    EXPECT_FALSE(find("Nope"));
}

TEST_F(MaterialScript, NestedBlocksAndWhatCarriesOver) {
    read("material Plain { texture plain.png }\n"
         "material First\n{\n  technique\n  {\n    pass\n    {\n"
         "      ambient 0.1 0.2 0.3 0.4\n      diffuse 0.5 0.6 0.7 0.8\n      specular 0.9 0.8 0.7 0.6 12.5\n"
         "      emissive 0.01 0.02 0.03 0.04\n      ambientish 9 9 9 9\n"
         "      texture_unit\n      {\n        texture first.png\n        colour_op_ex add src_texture src_current\n"
         "      }\n    }\n  }\n}\n"
         "material Second { pass { diffuse 0 1 0 1 } }\n");
    boost::shared_ptr<MeshPatchProperties> plain = find("Plain");
    boost::shared_ptr<MeshPatchProperties> first = find("First");
    boost::shared_ptr<MeshPatchProperties> second = find("Second");
    ASSERT_TRUE(plain && first && second);

    // Colour keys before any block gave them take the default material's values.
    ASSERT_TRUE(plain->texture);
    EXPECT_EQ(colour(plain->ambient), colour(defaults->ambient));
    EXPECT_EQ(colour(plain->diffuse), colour(defaults->diffuse));
    EXPECT_EQ(colour(plain->specular), colour(defaults->specular));
    EXPECT_EQ(colour(plain->emissive), colour(defaults->emissive));
    EXPECT_EQ(plain->shininess, defaults->shininess);

    // The texture key inside the nested unit counts; "ambientish" and "texture_unit" are other keys.
    ASSERT_TRUE(first->texture);
    EXPECT_EQ(first->texture->name, media.textures() + "first.png");
    EXPECT_EQ(colour(first->ambient), (std::vector<float>{0.1f, 0.2f, 0.3f, 0.4f}));
    EXPECT_EQ(colour(first->diffuse), (std::vector<float>{0.5f, 0.6f, 0.7f, 0.8f}));
    EXPECT_EQ(colour(first->specular), (std::vector<float>{0.9f, 0.8f, 0.7f, 0.6f}));
    EXPECT_EQ(colour(first->emissive), (std::vector<float>{0.01f, 0.02f, 0.03f, 0.04f}));
    EXPECT_FLOAT_EQ(first->shininess, 12.5f);

    // A block without texture after one with texture has none; the colours it leaves out are the
    // ones read last.
    EXPECT_FALSE(second->texture);
    EXPECT_EQ(colour(second->diffuse), (std::vector<float>{0, 1, 0, 1}));
    EXPECT_EQ(colour(second->ambient), colour(first->ambient));
    EXPECT_EQ(colour(second->emissive), colour(first->emissive));
    EXPECT_FLOAT_EQ(second->shininess, 12.5f);
    EXPECT_EQ(colour(first->diffuse), (std::vector<float>{0.5f, 0.6f, 0.7f, 0.8f}));
}

TEST_F(MaterialScript, LaterBlocksWinAndAStrayBraceShiftsTheCompletion) {
    read("material Twice { diffuse 1 0 0 1 texture once.png } material Twice { diffuse 0 0 1 1 }");
    boost::shared_ptr<MeshPatchProperties> twice = find("Twice");
    ASSERT_TRUE(twice);
    EXPECT_EQ(colour(twice->diffuse), (std::vector<float>{0, 0, 1, 1}));
    EXPECT_FALSE(twice->texture);

    // After the stray brace the depth runs one lower: a block is completed where its inner block
    // closes, and a flat block is never completed.
    read("}\nmaterial Nested { pass { ambient 1 0 0 1 } }\nmaterial Flat { ambient 0 1 0 1 }\n");
    boost::shared_ptr<MeshPatchProperties> nested = find("Nested");
    ASSERT_TRUE(nested);
    EXPECT_EQ(colour(nested->ambient), (std::vector<float>{1, 0, 0, 1}));
    EXPECT_FALSE(find("Flat"));
}

TEST_F(MaterialScript, ValueThatIsNotANumberEndsTheScript) {
    // Three colour numbers make the reader take the next word as the fourth: the read stops there.
    read("material Kept { ambient 1 1 1 1 }\n"
         "material Cut { ambient 0.7 0.7 0\n texture cut.png }\n"
         "material After { diffuse 1 1 1 1 }\n");
    EXPECT_TRUE(find("Kept"));
    EXPECT_FALSE(find("Cut"));
    EXPECT_FALSE(find("After"));

    read("material Shine { specular 1 1 1 1 high } material Later { diffuse 1 1 1 1 }");
    EXPECT_FALSE(find("Shine"));
    EXPECT_FALSE(find("Later"));

    // An unclosed block at the end is not stored either.
    read("material Open { diffuse 1 1 1 1");
    EXPECT_FALSE(find("Open"));
    EXPECT_TRUE(find("Kept"));
}

TEST(MaterialScriptFile, IsReadWhenTheLibrariesStartAndMissingLeavesTheDefaultOnly) {
    TestMedia media;
    {
        CapturedStream errors(std::cerr);
        media.startLibraries();
        EXPECT_EQ(errors.text(), "Could not open material file " + media.meshes() + "Scene.material\n");
        EXPECT_EQ(MaterialLibrary::instance().getMaterial("Track"), MaterialLibrary::instance().getMaterial(""));
    }
    media.write("meshes/Scene.material", "// the game's materials\n"
                                         "material Track\n{\n\tpass\n\t{\n\t\tdiffuse 0.3 0.3 0.3 1\n"
                                         "\t\ttexture_unit\n\t\t{\n\t\t\ttexture track.png\n\t\t}\n\t}\n}\n");
    CapturedStream errors(std::cerr);
    media.startLibraries();
    boost::shared_ptr<MeshPatchProperties> track = MaterialLibrary::instance().getMaterial("Track");
    ASSERT_TRUE(track->texture);
    EXPECT_EQ(track->texture->name, media.textures() + "track.png");
    EXPECT_EQ(colour(track->diffuse), (std::vector<float>{0.3f, 0.3f, 0.3f, 1}));
    // The texture file is missing: the image library says so, nothing else does.
    EXPECT_GE(errors.count("IL Error: "), 1);
    EXPECT_EQ(errors.count("texture file: " + media.textures() + "track.png"), errors.count("IL Error: "));
    EXPECT_EQ(errors.count(""), 2 * errors.count("IL Error: "));
}

}  // namespace
