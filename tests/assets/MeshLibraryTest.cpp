#include <iostream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>
#include <tinyxml.h>

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

// A submesh whose announced counts need not match the faces and vertices it holds.
std::string lyingSubmesh(const std::string& faceCount, const std::vector<Face>& list, const std::string& vertexCount,
                         const std::string& vertexElements,
                         const std::string& buffer = "positions=\"true\" normals=\"true\"") {
    return "<submesh><faces count=\"" + faceCount + "\">" + faces(list) + "</faces><geometry vertexcount=\"" +
           vertexCount + "\"><vertexbuffer " + buffer + ">" + vertexElements + "</vertexbuffer></geometry></submesh>";
}

// A submesh of three vertices of vertices(), announced honestly.
std::string submesh(const std::vector<Face>& list) {
    return lyingSubmesh(std::to_string(list.size()), list, "3", vertices(3, 0),
                        "positions=\"true\" normals=\"true\" texture_coords=\"1\"");
}

std::string meshXml(const std::string& submeshes) { return "<mesh><submeshes>" + submeshes + "</submeshes></mesh>"; }

std::vector<float> floats(const boost::shared_array<float>& values, size_t count) {
    return values ? std::vector<float>(values.get(), values.get() + count) : std::vector<float>();
}

class MeshFiles : public ::testing::Test {
protected:
    void SetUp() override { media.startLibraries(); }

    boost::shared_ptr<Mesh> load(const std::string& name) { return MeshLibrary::instance().loadMesh(name); }
    std::string path(const std::string& name) const { return media.meshes() + name; }

    TestMedia media;
};

// Each gives an empty mesh and one message, however often the file is asked for.
TEST_F(MeshFiles, FilesNothingSoundCanBeTakenFromAreRefused) {
    const std::string face = "<faces count=\"1\"><face v1=\"0\" v2=\"1\" v3=\"2\"/></faces>";
    const std::string good = submesh({{0, 1, 2}});
    // Name, text (none: no file), and the reason the message gives.
    const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
        {"Absent", "", ""},
        {"Unparsable", "<mesh><submeshes><submesh>", ""},
        {"NoFacesAfterGood", meshXml(good + good + "<submesh/>"), " (submesh 2 has no faces)"},
        {"NoGeometry", meshXml("<submesh>" + face + "</submesh>"), " (submesh 0 has no geometry of its own)"},
        {"NoBuffer", meshXml("<submesh>" + face + "<geometry/></submesh>"), " (submesh 0 has no vertexbuffer)"},
        {"NoPositions", meshXml(lyingSubmesh("1", {{0, 1, 2}}, "3", vertices(3, 0), "positions=\"false\"")),
         " (submesh 0 has no vertex positions)"},
        {"IndexPastEnd", meshXml(good + submesh({{0, 1, 3}})), " (submesh 1 face 0 uses vertex 3 of 3)"},
        {"NegativeIndex", meshXml(submesh({{0, 1, 2}, {-1, 1, 2}})), " (submesh 0 face 1 uses vertex -1 of 3)"},
        // Indices are checked against the vertices really there, not the announced count.
        {"IndexPastVerticesHeld", meshXml(lyingSubmesh("1", {{0, 1, 5}}, "9", vertices(3, 0))),
         " (submesh 0 face 0 uses vertex 5 of 3)"},
    };
    for (const auto& [file, text, reason] : cases) {
        SCOPED_TRACE(file);
        const std::string name = file + ".mesh.xml";
        if (!text.empty()) media.write("meshes/" + name, text);
        CapturedStream errors(std::cerr);
        EXPECT_TRUE(load(name)->patches.empty());
        EXPECT_TRUE(load(name)->patches.empty());
        EXPECT_EQ(errors.text(), "ERROR: failed to load mesh file: " + path(name) + reason + "\n");
    }
}

// Lying counts shrink to what the file holds, so nothing huge is allocated, and elements beyond them
// are not read. Missing and non-finite values read as 0, and so do values so far out that one such
// vertex would stretch a track's physics triangle tree until every kart's query met every triangle.
TEST_F(MeshFiles, FaultsThatCanBeRepairedAreWithOneWarningForAllCopies) {
    const std::string holes =
        "<vertex><normal x=\"1\" y=\"2\" z=\"3\"/></vertex><vertex><position x=\"nan\" y=\"inf\" z=\"2e6\"/>"
        "<normal x=\"abc\" y=\"-inf\" z=\"1\"/></vertex><vertex><position x=\"1.5\" y=\"-1e6\" z=\"-1e300\"/>"
        "<normal y=\"1\"/></vertex>";
    media.write("meshes/Repaired.mesh.xml", meshXml(lyingSubmesh("2147483647", {{0, 1, 2}}, "2147483647", holes) +
                                                    lyingSubmesh("1", {{0, 1, 2}, {2, 1, 0}}, "3", vertices(4, 0))));
    CapturedStream errors(std::cerr);
    boost::shared_ptr<Mesh> mesh = load("Repaired.mesh.xml");
    ASSERT_EQ(mesh->patches.size(), 2u);
    // A second copy shares the patches and their radius, computed once for the file, not its scale.
    boost::shared_ptr<Mesh> copy = load("Repaired.mesh.xml");
    EXPECT_EQ(copy->patches, mesh->patches);
    EXPECT_GT(copy->radius, 0);
    mesh->setScale(2, 3, 4);
    EXPECT_FLOAT_EQ(copy->scale[1], 1);
    for (const boost::shared_ptr<MeshPatch>& patch : mesh->patches) {
        EXPECT_EQ(patch->geometry->indexCount, 3u);
        EXPECT_EQ(patch->geometry->vertexCount, 3u);
    }
    EXPECT_EQ(floats(mesh->patches[0]->geometry->positions, 9), (std::vector<float>{0, 0, 0, 0, 0, 0, 1.5f, -1e6f, 0}));
    EXPECT_EQ(floats(mesh->patches[0]->vertexProperties->normals, 9), (std::vector<float>{1, 2, 3, 0, 0, 1, 0, 1, 0}));
    EXPECT_EQ(floats(mesh->patches[1]->geometry->positions, 9), (std::vector<float>{0, 0, 0, 1, 10, -1, 2, 20, -2}));
    EXPECT_EQ(errors.text(), "WARNING: mesh file " + path("Repaired.mesh.xml") +
                                 ": submesh 0 announces 2147483647 faces but holds 1; submesh 0 announces "
                                 "2147483647 vertices but holds 3; submesh 0 has vertices without position, read as "
                                 "0; submesh 1 holds more faces than the 1 it announces; submesh 1 holds more "
                                 "vertices than the 3 it announces; values that are not finite or out of range are "
                                 "read as 0\n");
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
    const std::string content = "<submeshes>" + submesh({{0, 1, 2}}) + "</submeshes>";
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
