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

std::vector<float> colour(const float* values) { return std::vector<float>(values, values + 4); }

TEST(MaterialScript, BlocksNestCarryColoursOnButNotTexturesAndEndAtAValueThatIsNoNumber) {
    TestMedia media;
    {
        CapturedStream quiet(std::cerr);  // no script file here
        media.startLibraries();
    }
    MaterialLibrary& library = MaterialLibrary::instance();
    const boost::shared_ptr<MeshPatchProperties> defaults = library.getMaterial("");
    std::istringstream script(
        "material Plain { texture plain.png }\n"
        "material First\n{\n  technique\n  {\n    pass\n    {\n"
        "      ambient 0.1 0.2 0.3 0.4\n      diffuse 0.5 0.6 0.7 0.8\n      specular 0.9 0.8 0.7 0.6 12.5\n"
        "      texture_unit\n      {\n        texture first.png\n      }\n    }\n  }\n}\n"
        "material Second { pass { diffuse 0 1 0 1 } }\n"
        "material Cut { ambient 0.7 0.7 0\n texture cut.png }\n"
        "material After { diffuse 1 1 1 1 }\n");
    {
        CapturedStream imageErrors(std::cerr);  // the textures named do not exist
        library.readScript(script);
    }
    // Each unknown name is answered with the default material and a message, every time.
    CapturedStream errors(std::cerr);
    for (const char* name : {"Cut", "After", "Cut"}) EXPECT_EQ(library.getMaterial(name), defaults) << name;
    EXPECT_EQ(errors.count(" not found, returning default."), 3);
    const boost::shared_ptr<MeshPatchProperties> plain = library.getMaterial("Plain");
    const boost::shared_ptr<MeshPatchProperties> first = library.getMaterial("First");
    const boost::shared_ptr<MeshPatchProperties> second = library.getMaterial("Second");

    // Colours before any block gave them are the default material's.
    ASSERT_TRUE(plain->texture);
    EXPECT_EQ(colour(plain->diffuse), colour(defaults->diffuse));
    // The texture key inside the nested unit counts.
    ASSERT_TRUE(first->texture);
    EXPECT_EQ(first->texture->name, media.textures() + "first.png");
    EXPECT_EQ(colour(first->diffuse), (std::vector<float>{0.5f, 0.6f, 0.7f, 0.8f}));
    EXPECT_FLOAT_EQ(first->shininess, 12.5f);
    // A later block keeps the colours it leaves out, but not the texture.
    EXPECT_FALSE(second->texture);
    EXPECT_EQ(colour(second->diffuse), (std::vector<float>{0, 1, 0, 1}));
    EXPECT_EQ(colour(second->ambient), (std::vector<float>{0.1f, 0.2f, 0.3f, 0.4f}));
    EXPECT_FLOAT_EQ(second->shininess, 12.5f);
}

}  // namespace
