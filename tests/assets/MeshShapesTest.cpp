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
    EXPECT_NEAR(actual.x(), expected.x(), tolerance);
    EXPECT_NEAR(actual.y(), expected.y(), tolerance);
    EXPECT_NEAR(actual.z(), expected.z(), tolerance);
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

TEST(MeshShapes, BoxHullIsCentredOnTheMeshOrigin) {
    boost::shared_ptr<btConvexHullShape> hull = offCentreBox()->createBoxHullShape();
    const std::vector<btVector3> points = pointsOf(*hull);
    ASSERT_EQ(points.size(), 8u);
    const btVector3 expected[8] = {{1, 1, 1},  {1, 1, -1},  {1, -1, 1},  {1, -1, -1},
                                   {-1, 1, 1}, {-1, 1, -1}, {-1, -1, 1}, {-1, -1, -1}};
    for (int i = 0; i < 8; ++i) expectPoint(points[i], expected[i]);
}

TEST(MeshShapes, TriangleMeshHasOneIndexedMeshPerPatchInOrder) {
    boost::shared_ptr<Mesh> first = offCentreBox();
    boost::shared_ptr<Mesh> second = makeMesh({0, 0, 0, 1, 0, 0, 0, 1, 0, 5, 5, 5}, {0, 1, 2, 1, 3, 2});
    boost::shared_ptr<Mesh> mesh(new Mesh());
    mesh->addPatch(first->patches[0]);
    mesh->addPatch(second->patches[0]);

    boost::shared_ptr<btBvhTriangleMeshShape> shape = mesh->createTriangleMeshShape();
    const btTriangleIndexVertexArray* array = static_cast<const btTriangleIndexVertexArray*>(shape->getMeshInterface());
    ASSERT_EQ(array->getNumSubParts(), 2);
    for (int part = 0; part < 2; ++part) {
        SCOPED_TRACE(part);
        const btIndexedMesh& indexed = array->getIndexedMeshArray()[part];
        const MeshPatchGeometry& geometry = *mesh->patches[part]->getGeometry();
        // The shape reads the patch arrays in place.
        EXPECT_EQ(indexed.m_vertexBase, reinterpret_cast<const unsigned char*>(geometry.positions.get()));
        EXPECT_EQ(indexed.m_triangleIndexBase, reinterpret_cast<const unsigned char*>(geometry.indices.get()));
        EXPECT_EQ(indexed.m_numTriangles, static_cast<int>(geometry.indexCount / 3));
        EXPECT_EQ(indexed.m_numVertices, static_cast<int>(geometry.vertexCount));
        EXPECT_EQ(indexed.m_vertexStride, 12);
        EXPECT_EQ(indexed.m_triangleIndexStride, 12);
        EXPECT_EQ(indexed.m_indexType, PHY_INTEGER);
    }
    EXPECT_EQ(trianglesOf(*shape).size(), 3u * (12 + 2));
}

TEST(MeshShapes, FullHullTakesEveryVertexAndTheReducedOneWholeTriangles) {
    // Two patches with repeated positions: 8 + 4 vertices.
    boost::shared_ptr<Mesh> box = offCentreBox();
    boost::shared_ptr<Mesh> repeats = makeMesh({1, 0, -1, 1, 0, -1, 3, 2, 1, 3, 2, 1}, {0, 2, 3});
    boost::shared_ptr<Mesh> mesh(new Mesh());
    mesh->addPatch(box->patches[0]);
    mesh->addPatch(repeats->patches[0]);

    const std::vector<btVector3> full = pointsOf(*mesh->createConvexHullShape());
    ASSERT_EQ(full.size(), 12u);
    const float* positions = box->patches[0]->getGeometry()->positions.get();
    for (int v = 0; v < 8; ++v) {
        expectPoint(full[v], btVector3(positions[3 * v], positions[3 * v + 1], positions[3 * v + 2]));
    }
    expectPoint(full[8], btVector3(1, 0, -1));
    expectPoint(full[9], btVector3(1, 0, -1));

    const std::vector<btVector3> reduced = pointsOf(*mesh->createSimplifiedHullShape());
    EXPECT_GE(reduced.size(), 12u);  // at least a tetrahedron
    EXPECT_EQ(reduced.size() % 3, 0u);
    for (const btVector3& point : reduced) {
        EXPECT_GE(point.x(), 1 - hullMargin - tolerance);
        EXPECT_LE(point.x(), 3 + hullMargin + tolerance);
        EXPECT_GE(point.y(), 0 - hullMargin - tolerance);
        EXPECT_LE(point.y(), 2 + hullMargin + tolerance);
        EXPECT_GE(point.z(), -1 - hullMargin - tolerance);
        EXPECT_LE(point.z(), 1 + hullMargin + tolerance);
    }
}

TEST(MeshShapes, BoundingRadiusIsHalfTheBoxDiagonalUnderTheMeshScale) {
    boost::shared_ptr<Mesh> mesh = offCentreBox();
    EXPECT_FLOAT_EQ(mesh->radius, -1);
    EXPECT_NEAR(mesh->getBoundingRadius(), std::sqrt(3.0f), tolerance);
    mesh->setScale(2, 2, 2);
    EXPECT_NEAR(mesh->getBoundingRadius(), 2 * std::sqrt(3.0f), tolerance);
    mesh->setScale(1, -3, 2);
    EXPECT_NEAR(mesh->getBoundingRadius(), 3 * std::sqrt(3.0f), tolerance);

    // A scale set before the first query counts too.
    boost::shared_ptr<Mesh> scaled = offCentreBox();
    scaled->setScale(0.5f, 0.5f, 0.5f);
    EXPECT_NEAR(scaled->getBoundingRadius(), 0.5f * std::sqrt(3.0f), tolerance);
    EXPECT_NEAR(scaled->radius, std::sqrt(3.0f), tolerance);
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
        boost::shared_ptr<btBvhTriangleMeshShape> triangles = mesh->createTriangleMeshShape();
        btTransform identity;
        identity.setIdentity();
        btVector3 min, max;
        triangles->getAabb(identity, min, max);
        expectPoint(min, btVector3(0, 0, 0));
        expectPoint(max, btVector3(0, 0, 0));

        // No triangles, no box: the small default box stands in, as for hulls without points.
        const std::vector<btVector3> box = pointsOf(*mesh->createBoxHullShape());
        ASSERT_EQ(box.size(), 8u);
        expectPoint(box[0], defaultCorner);
        expectPoint(box[7], -defaultCorner);

        const std::vector<btVector3> reduced = pointsOf(*mesh->createSimplifiedHullShape());
        if (i < 2) {
            // Without any vertex both hulls are the small default box.
            const std::vector<btVector3> full = pointsOf(*mesh->createConvexHullShape());
            ASSERT_EQ(full.size(), 8u);
            ASSERT_EQ(reduced.size(), 8u);
            expectPoint(full[0], defaultCorner);
            expectPoint(full[7], -defaultCorner);
            expectPoint(reduced[0], defaultCorner);
            expectPoint(reduced[7], -defaultCorner);
        } else {
            EXPECT_EQ(mesh->createConvexHullShape()->getNumPoints(), 2);
            EXPECT_EQ(reduced.size() % 3, 0u);
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
    expectPoint(corners[0], btVector3(0, 0, 0));
    expectPoint(corners[1], btVector3(4, 0, 0));
    expectPoint(corners[2], btVector3(0, 0, 4));

    // And it still collides: a ray straight down hits the triangle.
    btCollisionObject object;
    object.setCollisionShape(shape.get());
    btTransform identity;
    identity.setIdentity();
    btCollisionWorld::ClosestRayResultCallback hit(btVector3(1, 5, 1), btVector3(1, -5, 1));
    btCollisionWorld::rayTestSingle(btTransform(btQuaternion::getIdentity(), btVector3(1, 5, 1)),
                                    btTransform(btQuaternion::getIdentity(), btVector3(1, -5, 1)), &object,
                                    shape.get(), identity, hit);
    ASSERT_TRUE(hit.hasHit());
    EXPECT_NEAR(hit.m_hitPointWorld.y(), 0, tolerance);
}

}  // namespace
