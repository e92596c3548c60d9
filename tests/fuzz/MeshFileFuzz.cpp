// Mesh files: the XML parse, the mesh reader, every collision shape and the bounding radius.
#include <cstdint>
#include <cstdlib>

#include <BulletCollision/CollisionShapes/btTriangleCallback.h>
#include <btBulletCollisionCommon.h>
#include <tinyxml.h>

#include "FuzzMedia.h"
#include "assets/Mesh.h"
#include "assets/MeshLibrary.h"
#include "assets/XmlFile.h"

namespace {

// Deepest element nesting of a parsed document, walked without recursion.
int elementDepth(const TiXmlNode& document) {
    int deepest = 0;
    int depth = 0;
    const TiXmlNode* node = document.FirstChild();
    while (node) {
        if (node->ToElement() && depth + 1 > deepest) deepest = depth + 1;
        if (node->FirstChild()) {
            node = node->FirstChild();
            ++depth;
            continue;
        }
        while (node != &document && !node->NextSibling()) {
            node = node->Parent();
            --depth;
        }
        node = node == &document ? nullptr : node->NextSibling();
    }
    return deepest;
}

// Reads every triangle corner, so that freed vertex or index memory would be touched.
struct CornerSum : btTriangleCallback {
    void processTriangle(btVector3* triangle, int, int) override {
        for (int k = 0; k < 3; ++k) sum += triangle[k];
    }
    btVector3 sum{0, 0, 0};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzMedia::started().nextRun();

    TiXmlDocument document;
    parseXmlText(document, FuzzMedia::text(data, size));
    // The parser recurses per level: a document deeper than the guard allows means the guard missed it.
    if (elementDepth(document) > maxXmlNesting) std::abort();

    // The compact layout is read straight from the bytes, anything else through the document.
    boost::shared_ptr<Mesh> mesh = MeshLibrary::readMeshText(FuzzMedia::text(data, size), "fuzz.mesh.xml");
    mesh->setScale(1, 2, 3);
    mesh->getBoundingRadius();
    mesh->createBoxHullShape();
    mesh->createConvexHullShape();
    mesh->createSimplifiedHullShape();
    boost::shared_ptr<btBvhTriangleMeshShape> triangles = mesh->createTriangleMeshShape();

    // The triangle shape must keep its arrays alive on its own.
    mesh.reset();
    CornerSum corners;
    triangles->processAllTriangles(&corners, btVector3(-1e7f, -1e7f, -1e7f), btVector3(1e7f, 1e7f, 1e7f));
    return 0;
}
