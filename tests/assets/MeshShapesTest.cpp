#include <cmath>
#include <vector>

#include <BulletCollision/CollisionShapes/btTriangleCallback.h>
#include <btBulletCollisionCommon.h>
#include <boost/weak_ptr.hpp>
#include <gtest/gtest.h>

#include "assets/Mesh.h"
#include "assets/MeshPatch.h"
#include "assets/MeshPatchGeometry.h"
#include "support/TestWorld.h"

namespace {

const float tolerance = 1e-5f;
// Bullet's hull support points stand out by the convex margin in the sampled direction.
const float hullMargin = 0.04f;

std::vector<btVector3> pointsOf(const btConvexHullShape& hull) {
    return std::vector<btVector3>(hull.getUnscaledPoints(), hull.getUnscaledPoints() + hull.getNumPoints());
}

void expectPoint(const btVector3& actual, const btVector3& expected) {
    EXPECT_LT(actual.distance(expected), tolerance) << "(" << actual.x() << ", " << actual.y() << ", " << actual.z()
                                                    << ")";
}

// Collects the corners of every triangle the shape reports.
struct TriangleCollector : btTriangleCallback {
    void processTriangle(btVector3* triangle, int, int) override {
        for (int k = 0; k < 3; ++k) corners.push_back(triangle[k]);
    }
    std::vector<btVector3> corners;
};

std::vector<btVector3> trianglesOf(btBvhTriangleMeshShape& shape) {
    TriangleCollector collector;
    shape.processAllTriangles(&collector, btVector3(-1e6, -1e6, -1e6), btVector3(1e6, 1e6, 1e6));
    return collector.corners;
}

// Vertices spanning x 1..3, y 0..2, z -1..1.
boost::shared_ptr<Mesh> offCentreBox() { return makeBoxMesh(btVector3(1, 1, 1), btVector3(2, 1, 0)); }

// The off-centre box and a patch of four vertices (two pairs of repeated positions, one triangle).
boost::shared_ptr<Mesh> twoPatches() {
    boost::shared_ptr<Mesh> mesh(new Mesh());
    mesh->addPatch(offCentreBox()->patches[0]);
    mesh->addPatch(makeMesh({1, 0, -1, 1, 0, -1, 3, 2, 1, 3, 2, 1}, {0, 2, 3})->patches[0]);
    return mesh;
}

TEST(MeshShapes, BoxHullIsCentredOnTheMeshOrigin) {
    const std::vector<btVector3> points = pointsOf(*offCentreBox()->createBoxHullShape());
    ASSERT_EQ(points.size(), 8u);
    const btVector3 expected[8] = {{1, 1, 1},  {1, 1, -1},  {1, -1, 1},  {1, -1, -1},
                                   {-1, 1, 1}, {-1, 1, -1}, {-1, -1, 1}, {-1, -1, -1}};
    for (int i = 0; i < 8; ++i) expectPoint(points[i], expected[i]);
}

TEST(MeshShapes, TriangleMeshHasOneIndexedMeshPerPatchInOrder) {
    boost::shared_ptr<Mesh> mesh = twoPatches();
    boost::shared_ptr<btBvhTriangleMeshShape> shape = mesh->createTriangleMeshShape();
    const btTriangleIndexVertexArray* array = static_cast<const btTriangleIndexVertexArray*>(shape->getMeshInterface());
    ASSERT_EQ(array->getNumSubParts(), 2);
    for (int part = 0; part < 2; ++part) {
        const btIndexedMesh& indexed = array->getIndexedMeshArray()[part];
        const MeshPatchGeometry& geometry = *mesh->patches[part]->getGeometry();
        EXPECT_EQ(indexed.m_numTriangles, static_cast<int>(geometry.indexCount / 3));
        EXPECT_EQ(indexed.m_numVertices, static_cast<int>(geometry.vertexCount));
    }
    EXPECT_EQ(trianglesOf(*shape).size(), 3u * (12 + 1));
}

TEST(MeshShapes, FullHullTakesEveryVertexAndTheReducedOneWholeTriangles) {
    boost::shared_ptr<Mesh> mesh = twoPatches();
    const std::vector<btVector3> full = pointsOf(*mesh->createConvexHullShape());
    ASSERT_EQ(full.size(), 12u);
    const float* positions = mesh->patches[0]->getGeometry()->positions.get();
    for (int v = 0; v < 8; ++v) {
        expectPoint(full[v], btVector3(positions[3 * v], positions[3 * v + 1], positions[3 * v + 2]));
    }
    expectPoint(full[8], btVector3(1, 0, -1));
    expectPoint(full[9], btVector3(1, 0, -1));

    const std::vector<btVector3> reduced = pointsOf(*mesh->createSimplifiedHullShape());
    EXPECT_GE(reduced.size(), 12u);  // at least a tetrahedron
    EXPECT_EQ(reduced.size() % 3, 0u);
    const btVector3 low(1, 0, -1), high(3, 2, 1);
    for (const btVector3& point : reduced) {
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_GE(point[axis], low[axis] - hullMargin - tolerance);
            EXPECT_LE(point[axis], high[axis] + hullMargin + tolerance);
        }
    }
}

TEST(MeshShapes, BoundingRadiusIsHalfTheBoxDiagonalUnderTheMeshScale) {
    boost::shared_ptr<Mesh> mesh = offCentreBox();
    EXPECT_NEAR(mesh->getBoundingRadius(), std::sqrt(3.0f), tolerance);
    mesh->setScale(1, -3, 2);
    EXPECT_NEAR(mesh->getBoundingRadius(), 3 * std::sqrt(3.0f), tolerance);

    // A scale set before the first query counts too.
    boost::shared_ptr<Mesh> scaled = offCentreBox();
    scaled->setScale(0.5f, 0.5f, 0.5f);
    EXPECT_NEAR(scaled->getBoundingRadius(), 0.5f * std::sqrt(3.0f), tolerance);
}

TEST(MeshShapes, MeshesWithoutTrianglesStillGiveSoundShapes) {
    const std::vector<boost::shared_ptr<Mesh>> meshes = {
        boost::shared_ptr<Mesh>(new Mesh()),  // no patches
        makeMesh({}, {}),                     // a patch of nothing
        makeMesh({4, 4, 4, 5, 5, 5}, {}),     // vertices but no faces
    };
    const btVector3 defaultCorner(0.1f, 0.1f, 0.1f);
    for (size_t i = 0; i < meshes.size(); ++i) {
        SCOPED_TRACE(i);
        const boost::shared_ptr<Mesh>& mesh = meshes[i];
        EXPECT_EQ(mesh->getBoundingRadius(), 0);

        // One degenerate triangle at the origin: a box of zero size.
        btVector3 min, max;
        mesh->createTriangleMeshShape()->getAabb(btTransform::getIdentity(), min, max);
        expectPoint(min, btVector3(0, 0, 0));
        expectPoint(max, btVector3(0, 0, 0));

        // No triangles, no box: the small default box stands in, as for hulls without points; with
        // vertices the hulls take them.
        std::vector<boost::shared_ptr<btConvexHullShape>> hulls = {mesh->createBoxHullShape()};
        if (i < 2) hulls.insert(hulls.end(), {mesh->createConvexHullShape(), mesh->createSimplifiedHullShape()});
        for (const boost::shared_ptr<btConvexHullShape>& hull : hulls) {
            const std::vector<btVector3> box = pointsOf(*hull);
            ASSERT_EQ(box.size(), 8u);
            expectPoint(box[0], defaultCorner);
            expectPoint(box[7], -defaultCorner);
        }
        if (i == 2) {
            EXPECT_EQ(mesh->createConvexHullShape()->getNumPoints(), 2);
            EXPECT_EQ(mesh->createSimplifiedHullShape()->getNumPoints() % 3, 0);
        }
    }
}

TEST(MeshShapes, TriangleMeshKeepsItsDataAfterTheMeshIsGone) {
    boost::shared_ptr<Mesh> mesh = makeMesh({0, 0, 0, 4, 0, 0, 0, 0, 4}, {0, 1, 2});
    boost::shared_ptr<btBvhTriangleMeshShape> shape = mesh->createTriangleMeshShape();
    boost::weak_ptr<MeshPatch> patch = mesh->patches[0];
    mesh.reset();
    EXPECT_TRUE(patch.expired());

    const std::vector<btVector3> corners = trianglesOf(*shape);
    ASSERT_EQ(corners.size(), 3u);
    expectPoint(corners[1], btVector3(4, 0, 0));
    expectPoint(corners[2], btVector3(0, 0, 4));

    // And it still collides: a ray straight down hits the triangle.
    btCollisionObject object;
    object.setCollisionShape(shape.get());
    const btTransform from(btQuaternion::getIdentity(), btVector3(1, 5, 1));
    const btTransform to(btQuaternion::getIdentity(), btVector3(1, -5, 1));
    btCollisionWorld::ClosestRayResultCallback hit(from.getOrigin(), to.getOrigin());
    btCollisionWorld::rayTestSingle(from, to, &object, shape.get(), btTransform::getIdentity(), hit);
    ASSERT_TRUE(hit.hasHit());
    EXPECT_NEAR(hit.m_hitPointWorld.y(), 0, tolerance);
}

}  // namespace
