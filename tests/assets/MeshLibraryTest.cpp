#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <tinyxml.h>

#include "assets/MaterialLibrary.h"
#include "assets/Mesh.h"
#include "assets/MeshLibrary.h"
#include "assets/MeshPatch.h"
#include "assets/MeshPatchGeometry.h"
#include "assets/MeshPatchVertexProperties.h"
#include "assets/XmlFile.h"
#include "support/TestMedia.h"

namespace {

struct Face {
    int v1, v2, v3;
};

// Vertex i of submesh `base` lies at (base + i, 10 i, -i), has the normal (0, 1, i) and the
// texture coordinate (i / 4, base).
std::string vertices(int count, int base) {
    std::ostringstream text;
    for (int i = 0; i < count; ++i) {
        text << "<vertex><position x=\"" << base + i << "\" y=\"" << 10 * i << "\" z=\"" << -i
             << "\"/><normal x=\"0\" y=\"1\" z=\"" << i << "\"/><texcoord u=\"" << i / 4.0f << "\" v=\"" << base
             << "\"/></vertex>";
    }
    return text.str();
}

std::string faces(const std::vector<Face>& list) {
    std::ostringstream text;
    for (const Face& f : list) text << "<face v1=\"" << f.v1 << "\" v2=\"" << f.v2 << "\" v3=\"" << f.v3 << "\"/>";
    return text.str();
}

// A submesh with `vertexCount` vertices of vertices(), announced honestly.
std::string submesh(const std::vector<Face>& list, int vertexCount, int base, const std::string& attributes = "",
                    const std::string& buffer = "positions=\"true\" normals=\"true\" texture_coords=\"1\"") {
    return "<submesh" + attributes + "><faces count=\"" + std::to_string(list.size()) + "\">" + faces(list) +
           "</faces><geometry vertexcount=\"" + std::to_string(vertexCount) + "\"><vertexbuffer " + buffer + ">" +
           vertices(vertexCount, base) + "</vertexbuffer></geometry></submesh>";
}

std::string meshXml(const std::string& submeshes) { return "<mesh><submeshes>" + submeshes + "</submeshes></mesh>"; }

const MeshPatchGeometry& geometryOf(const boost::shared_ptr<Mesh>& mesh, size_t patch) {
    return *mesh->patches.at(patch)->geometry;
}

std::vector<unsigned int> indicesOf(const MeshPatchGeometry& geometry) {
    return std::vector<unsigned int>(geometry.indices.get(), geometry.indices.get() + geometry.indexCount);
}

std::vector<float> floats(const boost::shared_array<float>& values, size_t count) {
    return values ? std::vector<float>(values.get(), values.get() + count) : std::vector<float>();
}

class MeshFiles : public ::testing::Test {
protected:
    void SetUp() override {
        media.write("meshes/Scene.material", "material Known\n{\n diffuse 1 0 0 1\n}\n");
        media.startLibraries();
    }

    boost::shared_ptr<Mesh> load(const std::string& name) { return MeshLibrary::instance().loadMesh(name); }
    std::string path(const std::string& name) const { return media.meshes() + name; }

    TestMedia media;
};

TEST_F(MeshFiles, ReadsSubmeshesInFileOrder) {
    media.write("meshes/Two.mesh.xml",
                meshXml(submesh({{0, 1, 2}}, 3, 0) + submesh({{0, 1, 2}, {3, 2, 1}}, 4, 100, " material=\"Known\"")));
    CapturedStream errors(std::cerr);
    boost::shared_ptr<Mesh> mesh = load("Two.mesh.xml");
    EXPECT_EQ(errors.text(), "");

    ASSERT_EQ(mesh->patches.size(), 2u);
    EXPECT_EQ(geometryOf(mesh, 0).vertexCount, 3u);
    EXPECT_EQ(indicesOf(geometryOf(mesh, 0)), (std::vector<unsigned int>{0, 1, 2}));
    EXPECT_EQ(floats(geometryOf(mesh, 0).positions, 9), (std::vector<float>{0, 0, 0, 1, 10, -1, 2, 20, -2}));

    const MeshPatchGeometry& second = geometryOf(mesh, 1);
    EXPECT_EQ(second.vertexCount, 4u);
    EXPECT_EQ(indicesOf(second), (std::vector<unsigned int>{0, 1, 2, 3, 2, 1}));
    EXPECT_EQ(floats(second.positions, 12), (std::vector<float>{100, 0, 0, 101, 10, -1, 102, 20, -2, 103, 30, -3}));
    const MeshPatchVertexProperties& attributes = *mesh->patches[1]->vertexProperties;
    EXPECT_EQ(floats(attributes.normals, 12), (std::vector<float>{0, 1, 0, 0, 1, 1, 0, 1, 2, 0, 1, 3}));
    EXPECT_EQ(floats(attributes.texCoords, 8), (std::vector<float>{0, 100, 0.25f, 100, 0.5f, 100, 0.75f, 100}));
    EXPECT_FALSE(attributes.colors);  // mesh files cannot give colours

    // No material attribute is the default material, silently; a known name is its record.
    EXPECT_EQ(mesh->patches[0]->properties, MaterialLibrary::instance().getMaterial(""));
    EXPECT_EQ(mesh->patches[1]->properties, MaterialLibrary::instance().getMaterial("Known"));
    EXPECT_NE(mesh->patches[1]->properties, mesh->patches[0]->properties);
}

TEST_F(MeshFiles, TextureCoordinatesOnlyForOneSetAndUnknownMaterialsOnceEach) {
    const std::string common = "positions=\"true\" normals=\"true\"";
    const std::string missing = " material=\"Missing\"";
    media.write("meshes/Sets.mesh.xml", meshXml(submesh({{0, 1, 2}}, 3, 0, missing, common + " texture_coords=\"1\"") +
                                                submesh({{0, 1, 2}}, 3, 0, missing, common + " texture_coords=\"2\"") +
                                                submesh({{0, 1, 2}}, 3, 0, "", common) +
                                                submesh({{0, 1, 2}}, 3, 0, "", "positions=\"true\" normals=\"True\"")));
    CapturedStream errors(std::cerr);
    boost::shared_ptr<Mesh> mesh = load("Sets.mesh.xml");
    ASSERT_EQ(mesh->patches.size(), 4u);
    EXPECT_TRUE(mesh->patches[0]->vertexProperties->texCoords);
    EXPECT_FALSE(mesh->patches[1]->vertexProperties->texCoords);
    EXPECT_FALSE(mesh->patches[2]->vertexProperties->texCoords);
    EXPECT_TRUE(mesh->patches[2]->vertexProperties->normals);
    // Only the exact "true" asks for normals.
    EXPECT_FALSE(mesh->patches[3]->vertexProperties->normals);
    EXPECT_EQ(floats(geometryOf(mesh, 3).positions, 3), (std::vector<float>{0, 0, 0}));

    // One message per patch with an unknown material, which gets the default; the patches are built
    // once per file, so a second load says nothing.
    EXPECT_EQ(mesh->patches[1]->properties, MaterialLibrary::instance().getMaterial(""));
    load("Sets.mesh.xml");
    EXPECT_EQ(errors.text(), "Material Missing not found, returning default.\n"
                             "Material Missing not found, returning default.\n");
}

TEST_F(MeshFiles, CopiesShareTheFilePatchesButNotTheirScale) {
    media.write("meshes/Box.mesh.xml", meshXml(submesh({{0, 1, 2}}, 3, 0)));
    media.write("meshes/box.mesh.xml", meshXml(submesh({{0, 1, 2}}, 3, 0) + submesh({{0, 1, 2}}, 3, 0)));
    boost::shared_ptr<Mesh> one = load("Box.mesh.xml");
    boost::shared_ptr<Mesh> two = load("Box.mesh.xml");
    ASSERT_NE(one, two);
    ASSERT_EQ(one->patches.size(), 1u);
    EXPECT_EQ(one->patches, two->patches);

    one->setScale(2, 3, 4);
    EXPECT_EQ(std::vector<float>(two->scale, two->scale + 3), (std::vector<float>{1, 1, 1}));
    EXPECT_FALSE(two->nonUniformScale);
    // A copy made after the change starts from the file's own state again.
    EXPECT_FLOAT_EQ(load("Box.mesh.xml")->scale[1], 1);

    // Names are compared byte by byte: the lower-case name is a file and a cache entry of its own.
    boost::shared_ptr<Mesh> lower = load("box.mesh.xml");
    ASSERT_EQ(lower->patches.size(), 2u);
    EXPECT_NE(lower->patches[0], one->patches[0]);
}

TEST_F(MeshFiles, FilesWithoutAMeshGiveAnEmptyOneAndFailuresAreReportedOnceAndCached) {
    // Another root element, or no submeshes: empty, silently.
    media.write("meshes/Other.mesh.xml", "<skeleton><submeshes>" + submesh({{0, 1, 2}}, 3, 0) + "</submeshes></skeleton>");
    media.write("meshes/Bare.mesh.xml", "<mesh/>");
    media.write("meshes/Broken.mesh.xml", "<mesh><submeshes><submesh>");
    CapturedStream errors(std::cerr);
    EXPECT_TRUE(load("Other.mesh.xml")->patches.empty());
    EXPECT_TRUE(load("Bare.mesh.xml")->patches.empty());
    EXPECT_TRUE(load("Absent.mesh.xml")->patches.empty());
    EXPECT_TRUE(load("Broken.mesh.xml")->patches.empty());
    // Fixing the files later changes nothing: the failures stay cached.
    media.write("meshes/Absent.mesh.xml", meshXml(submesh({{0, 1, 2}}, 3, 0)));
    media.write("meshes/Broken.mesh.xml", meshXml(submesh({{0, 1, 2}}, 3, 0)));
    EXPECT_TRUE(load("Absent.mesh.xml")->patches.empty());
    EXPECT_TRUE(load("Broken.mesh.xml")->patches.empty());
    EXPECT_EQ(errors.text(), "ERROR: failed to load mesh file: " + path("Absent.mesh.xml") +
                                 "\nERROR: failed to load mesh file: " + path("Broken.mesh.xml") + "\n");
}

TEST_F(MeshFiles, ElementsAfterTheFirstFaceOrVertexCountWhateverTheirName) {
    media.write("meshes/Odd.mesh.xml",
                "<mesh><submeshes><submesh><faces count=\"3\"><face v1=\"0\" v2=\"1\" v3=\"2\"/>"
                "<triangle v1=\"2\" v2=\"1\" v3=\"0\"/><face/></faces><geometry vertexcount=\"3\">"
                "<vertexbuffer positions=\"true\" normals=\"false\"><vertex><position x=\"1\" y=\"2\" z=\"3\"/>"
                "</vertex><point><position x=\"4\" y=\"5\" z=\"6\"/></point><vertex><position x=\"7\" y=\"8\" "
                "z=\"9\"/></vertex></vertexbuffer></geometry></submesh>"
                "<extra><faces count=\"1\"><face v1=\"0\" v2=\"0\" v3=\"0\"/></faces><geometry vertexcount=\"1\">"
                "<vertexbuffer positions=\"true\"><vertex><position x=\"5\" y=\"5\" z=\"5\"/></vertex>"
                "</vertexbuffer></geometry></extra></submeshes></mesh>");
    CapturedStream errors(std::cerr);
    boost::shared_ptr<Mesh> mesh = load("Odd.mesh.xml");
    EXPECT_EQ(errors.text(), "");
    ASSERT_EQ(mesh->patches.size(), 2u);
    EXPECT_EQ(indicesOf(geometryOf(mesh, 0)), (std::vector<unsigned int>{0, 1, 2, 2, 1, 0, 0, 0, 0}));
    EXPECT_EQ(floats(geometryOf(mesh, 0).positions, 9), (std::vector<float>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_FALSE(mesh->patches[0]->vertexProperties->normals);
    EXPECT_EQ(floats(geometryOf(mesh, 1).positions, 3), (std::vector<float>{5, 5, 5}));
}

TEST_F(MeshFiles, SubmeshesNothingSoundCanBeTakenFromRejectTheFile) {
    const std::string vertex3 = vertices(3, 0);
    const std::string buffer = "<vertexbuffer positions=\"true\" normals=\"true\">" + vertex3 + "</vertexbuffer>";
    const std::string geometry3 = "<geometry vertexcount=\"3\">" + buffer + "</geometry>";
    const std::string face = "<faces count=\"1\"><face v1=\"0\" v2=\"1\" v3=\"2\"/></faces>";
    const std::string good = submesh({{0, 1, 2}}, 3, 0);
    auto withBuffer = [&](const std::string& attributes) {
        return meshXml("<submesh>" + face + "<geometry vertexcount=\"3\"><vertexbuffer " + attributes + ">" + vertex3 +
                       "</vertexbuffer></geometry></submesh>");
    };
    struct Case {
        std::string name, text, reason;
    };
    const std::vector<Case> cases = {
        {"NoFaces", meshXml("<submesh>" + geometry3 + "</submesh>"), "submesh 0 has no faces"},
        {"NoGeometry", meshXml("<submesh usesharedvertices=\"true\">" + face + "</submesh>"),
         "submesh 0 has no geometry of its own"},
        {"NoBuffer", meshXml("<submesh>" + face + "<geometry vertexcount=\"3\"/></submesh>"),
         "submesh 0 has no vertexbuffer"},
        {"NoPositions", withBuffer("normals=\"true\""), "submesh 0 has no vertex positions"},
        {"FalsePositions", withBuffer("positions=\"false\""), "submesh 0 has no vertex positions"},
        {"NegativeFaces", meshXml("<submesh><faces count=\"-1\"/>" + geometry3 + "</submesh>"),
         "submesh 0 has a negative face count"},
        {"NegativeVertices", meshXml("<submesh>" + face + "<geometry vertexcount=\"-2\">" + buffer + "</geometry></submesh>"),
         "submesh 0 has a negative vertex count"},
        {"IndexPastEnd", meshXml(good + submesh({{0, 1, 3}}, 3, 0)), "submesh 1 face 0 uses vertex 3 of 3"},
        {"NegativeIndex", meshXml(submesh({{0, 1, 2}, {-1, 1, 2}}, 3, 0)), "submesh 0 face 1 uses vertex -1 of 3"},
        // The index is checked against the vertices that are really there, not the announced count.
        {"IndexPastVerticesRead",
         meshXml("<submesh><faces count=\"1\"><face v1=\"0\" v2=\"1\" v3=\"5\"/></faces><geometry vertexcount=\"10\">" +
                 buffer + "</geometry></submesh>"),
         "submesh 0 face 0 uses vertex 5 of 3"},
        {"BrokenAfterGood", meshXml(good + good + "<submesh/>"), "submesh 2 has no faces"},
    };
    for (const Case& bad : cases) {
        SCOPED_TRACE(bad.name);
        const std::string name = bad.name + ".mesh.xml";
        media.write("meshes/" + name, bad.text);
        CapturedStream errors(std::cerr);
        EXPECT_TRUE(load(name)->patches.empty());
        EXPECT_TRUE(load(name)->patches.empty());
        EXPECT_EQ(errors.text(), "ERROR: failed to load mesh file: " + path(name) + " (" + bad.reason + ")\n");
    }
}

TEST_F(MeshFiles, CountsThatLieAreRepairedWithOneWarning) {
    // More elements than announced: the extra ones are not read.
    media.write("meshes/More.mesh.xml",
                "<mesh><submeshes><submesh><faces count=\"1\">" + faces({{0, 1, 2}, {2, 1, 0}}) +
                    "</faces><geometry vertexcount=\"3\"><vertexbuffer positions=\"true\">" + vertices(4, 0) +
                    "</vertexbuffer></geometry></submesh></submeshes></mesh>");
    // Fewer: the counts shrink to what is there, however large they claim to be.
    media.write("meshes/Fewer.mesh.xml",
                "<mesh><submeshes><submesh><faces count=\"2147483647\">" + faces({{0, 1, 2}}) +
                    "</faces><geometry vertexcount=\"2147483647\"><vertexbuffer positions=\"true\" normals=\"true\" "
                    "texture_coords=\"1\">" +
                    vertices(3, 0) + "</vertexbuffer></geometry></submesh></submeshes></mesh>");
    CapturedStream errors(std::cerr);
    boost::shared_ptr<Mesh> more = load("More.mesh.xml");
    boost::shared_ptr<Mesh> fewer = load("Fewer.mesh.xml");
    load("Fewer.mesh.xml");

    ASSERT_EQ(more->patches.size(), 1u);
    EXPECT_EQ(indicesOf(geometryOf(more, 0)), (std::vector<unsigned int>{0, 1, 2}));
    EXPECT_EQ(geometryOf(more, 0).vertexCount, 3u);
    ASSERT_EQ(fewer->patches.size(), 1u);
    EXPECT_EQ(geometryOf(fewer, 0).indexCount, 3u);
    EXPECT_EQ(geometryOf(fewer, 0).vertexCount, 3u);
    EXPECT_EQ(floats(fewer->patches[0]->vertexProperties->texCoords, 6), (std::vector<float>{0, 0, 0.25f, 0, 0.5f, 0}));

    EXPECT_EQ(errors.count("WARNING: mesh file " + path("More.mesh.xml") + ": "), 1);
    EXPECT_EQ(errors.count("WARNING: mesh file " + path("Fewer.mesh.xml") + ": "), 1);
    EXPECT_EQ(errors.count("2147483647 faces but holds 1"), 1);
    EXPECT_EQ(errors.count("2147483647 vertices but holds 3"), 1);
    EXPECT_EQ(errors.count(""), 2) << "nothing else";
}

TEST_F(MeshFiles, MissingOrUnusableVertexValuesReadAsZero) {
    media.write("meshes/Holes.mesh.xml",
                "<mesh><submeshes><submesh><faces count=\"1\"><face v1=\"0\" v2=\"1\" v3=\"2\"/></faces>"
                "<geometry vertexcount=\"3\"><vertexbuffer positions=\"true\" normals=\"true\" texture_coords=\"1\">"
                "<vertex><normal x=\"1\" y=\"2\" z=\"3\"/><texcoord u=\"0.5\" v=\"0.25\"/></vertex>"
                "<vertex><position x=\"nan\" y=\"inf\" z=\"2e6\"/><texcoord u=\"-1e6\" v=\"1e6\"/></vertex>"
                "<vertex><position x=\"1.5\" z=\"-1e300\"/><normal x=\"abc\" y=\"1\" z=\"-inf\"/></vertex>"
                "</vertexbuffer></geometry></submesh></submeshes></mesh>");
    CapturedStream errors(std::cerr);
    boost::shared_ptr<Mesh> mesh = load("Holes.mesh.xml");
    ASSERT_EQ(mesh->patches.size(), 1u);
    EXPECT_EQ(floats(geometryOf(mesh, 0).positions, 9), (std::vector<float>{0, 0, 0, 0, 0, 0, 1.5f, 0, 0}));
    const MeshPatchVertexProperties& attributes = *mesh->patches[0]->vertexProperties;
    EXPECT_EQ(floats(attributes.normals, 9), (std::vector<float>{1, 2, 3, 0, 0, 0, 0, 1, 0}));
    EXPECT_EQ(floats(attributes.texCoords, 6), (std::vector<float>{0.5f, 0.25f, -1e6f, 1e6f, 0, 0}));
    EXPECT_EQ(errors.count("WARNING: mesh file " + path("Holes.mesh.xml") + ": "), 1);
    EXPECT_EQ(errors.count("without position"), 1);
    EXPECT_EQ(errors.count("not finite or out of range"), 1);
    EXPECT_EQ(errors.count(""), 1);  // one line in all
}

// The XML parser recurses once per element level, so deep nesting is refused before it runs,
// also where the nesting hides behind markup that looks as if it closed elements.
TEST_F(MeshFiles, DeepNestingIsRefusedBeforeParsing) {
    auto nested = [](int levels, const std::string& open, const std::string& close) {
        std::string text;
        for (int i = 0; i < levels; ++i) text += open;
        for (int i = 0; i < levels; ++i) text += close;
        return text;
    };
    const std::string content = "<submeshes>" + submesh({{0, 1, 2}}, 3, 0) + "</submeshes>";
    // The mesh element is level 1, so 199 more levels are just allowed.
    media.write("meshes/Deep.mesh.xml", "<mesh>" + nested(199, "<x>", "</x>") + content + "</mesh>");
    media.write("meshes/TooDeep.mesh.xml", "<mesh>" + nested(200, "<x>", "</x>") + content + "</mesh>");
    CapturedStream errors(std::cerr);
    EXPECT_EQ(load("Deep.mesh.xml")->patches.size(), 1u);
    EXPECT_EQ(errors.text(), "");
    EXPECT_TRUE(load("TooDeep.mesh.xml")->patches.empty());
    EXPECT_EQ(errors.text(), "ERROR: failed to load mesh file: " + path("TooDeep.mesh.xml") + "\n");

    // Each opens an element, and the end tag in it is none to the parser.
    for (const char* open : {"<a b=\"/>\">", "<a b='</a>'>", "<a>/>", "<a><!--</a>-->", "<a><![CDATA[</a>]]>",
                             "<a><?xml x=\"y version='z\" > </a> '?>", "<a>&#x</a>x;"}) {
        TiXmlDocument document;
        EXPECT_FALSE(parseXmlText(document, "<mesh>" + nested(60000, open, "</a>") + "</mesh>")) << open;
    }
    TiXmlDocument outside;  // outside every element, an end tag is markup the parser reads over
    EXPECT_FALSE(parseXmlText(outside, nested(60000, "</a>", "<a>")));
}

// Read byte by byte whatever the text declares: a byte that could lead a multi-byte character takes
// no quote or tag with it, nor the end of the text after an unfinished construct.
TEST(XmlFile, ReadsByteByByte) {
    for (const std::string opening : {"", "\xEF\xBB\xBF", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"}) {
        TiXmlDocument document;
        ASSERT_TRUE(parseXmlText(document, opening + "<mesh a=\"\xE9\"><b>\xE0</b><!--\xF0--></mesh>")) << opening;
        EXPECT_STREQ(document.RootElement()->Attribute("a"), "\xE9");
        for (const char* unfinished : {"\xF0", "<b a='\xF0", "<!--", "<![CDATA[", "<?xml version=\"", "&#x"}) {
            TiXmlDocument broken;
            EXPECT_FALSE(parseXmlText(broken, opening + "<mesh>" + unfinished)) << unfinished;
        }
    }
}

}  // namespace
