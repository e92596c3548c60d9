#include <cmath>
#include <vector>

#include <btBulletCollisionCommon.h>
#include <boost/weak_ptr.hpp>
#include <gtest/gtest.h>

#include "assets/Mesh.h"
#include "assets/MeshPatch.h"
#include "assets/MeshPatchGeometry.h"
#include "support/TestWorld.h"

namespace {

const float tolerance = 1e-5f;

void expectPoint(const btVector3& actual, const btVector3& expected) {
    EXPECT_LT(actual.distance(expected), tolerance);
}

TEST(MeshShapes, EveryShapeAndTheRadiusTakeEveryPatch) {
    // A box spanning x 1..3, y 0..2, z -1..1, and a patch of one triangle over four vertices reaching
    // on to x = 5, the last vertex unused.
    boost::shared_ptr<Mesh> mesh = makeBoxMesh(btVector3(1, 1, 1), btVector3(2, 1, 0));
    mesh->addPatch(makeMesh({1, 0, -1, 3, 2, 1, 5, 0, 1, 1, 2, 1}, {0, 1, 2})->patches[0]);
    boost::shared_ptr<btBvhTriangleMeshShape> shape = mesh->createTriangleMeshShape();
    EXPECT_NEAR(mesh->getBoundingRadius(), std::sqrt(6.0f), tolerance);  // half the diagonal of the whole box
    // The box hull has the size of the whole box, centred on the mesh origin.
    const btConvexHullShape& box = *mesh->createBoxHullShape();
    ASSERT_EQ(box.getNumPoints(), 8);
    expectPoint(box.getUnscaledPoints()[0], btVector3(2, 1, 1));
    expectPoint(box.getUnscaledPoints()[7], btVector3(-2, -1, -1));
    EXPECT_EQ(mesh->createConvexHullShape()->getNumPoints(), 8 + 4);
    btVector3 min, max;  // the reduced hull's box stands out by its margins
    mesh->createSimplifiedHullShape()->getAabb(btTransform::getIdentity(), min, max);
    EXPECT_LT(min.distance(btVector3(1, 0, -1)), 0.25f);
    EXPECT_LT(max.distance(btVector3(5, 2, 1)), 0.25f);

    // The triangle mesh keeps the geometry it reads for exactly its own life.
    boost::weak_ptr<MeshPatchGeometry> geometry = mesh->patches[0]->geometry;
    mesh.reset();
    EXPECT_FALSE(geometry.expired());
    shape.reset();
    EXPECT_TRUE(geometry.expired());
}

TEST(MeshShapes, MeshesWithoutTrianglesStillGiveSoundShapes) {
    const std::vector<boost::shared_ptr<Mesh>> meshes = {
        boost::shared_ptr<Mesh>(new Mesh()),  // no patches
        makeMesh({}, {}),                     // a patch of nothing
        makeMesh({4, 4, 4, 5, 5, 5}, {}),     // vertices but no faces
    };
    for (size_t i = 0; i < meshes.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(meshes[i]->getBoundingRadius(), 0);  // from a degenerate triangle standing in at the origin
        // No box and no points: the small default box; with vertices the point hulls take them.
        const boost::shared_ptr<btConvexHullShape> hulls[] = {meshes[i]->createBoxHullShape(),
                                                              meshes[i]->createConvexHullShape(),
                                                              meshes[i]->createSimplifiedHullShape()};
        for (size_t h = 0; h < (i < 2 ? 3 : 1); ++h) {
            ASSERT_EQ(hulls[h]->getNumPoints(), 8);
            expectPoint(hulls[h]->getUnscaledPoints()[0], btVector3(0.1f, 0.1f, 0.1f));
        }
    }
}

}  // namespace
