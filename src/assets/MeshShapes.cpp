// The collision shape builders of Mesh: every shape is built in the mesh's own units.
#include <iostream>
#include <vector>

#include <BulletCollision/CollisionShapes/btShapeHull.h>
#include <btBulletCollisionCommon.h>

#include "assets/Mesh.h"
#include "assets/MeshPatch.h"
#include "assets/MeshPatchGeometry.h"

namespace {

// A mesh without triangles still gets a valid shape: one degenerate triangle at the origin.
const float originTriangle[9] = {0, 0, 0, 0, 0, 0, 0, 0, 0};
const int originTriangleIndices[3] = {0, 1, 2};
// Half size of the box that stands in for a hull without points.
const float defaultHullHalfExtent = 0.1f;

void addBoxCorners(btConvexHullShape& hull, const btVector3& half) {
    hull.addPoint(btVector3(half.x(), half.y(), half.z()), false);
    hull.addPoint(btVector3(half.x(), half.y(), -half.z()), false);
    hull.addPoint(btVector3(half.x(), -half.y(), half.z()), false);
    hull.addPoint(btVector3(half.x(), -half.y(), -half.z()), false);
    hull.addPoint(btVector3(-half.x(), half.y(), half.z()), false);
    hull.addPoint(btVector3(-half.x(), half.y(), -half.z()), false);
    hull.addPoint(btVector3(-half.x(), -half.y(), half.z()), false);
    hull.addPoint(btVector3(-half.x(), -half.y(), -half.z()), false);
    hull.recalcLocalAabb();
}

boost::shared_ptr<btConvexHullShape> orDefaultHull(boost::shared_ptr<btConvexHullShape> hull) {
    if (hull->getNumPoints() == 0) addBoxCorners(*hull, btVector3(1, 1, 1) * defaultHullHalfExtent);
    return hull;
}

}  // namespace

boost::shared_ptr<btBvhTriangleMeshShape> Mesh::createTriangleMeshShape() const {
    // The shape reads the patch arrays in place: the array description and the arrays it points
    // into live exactly as long as the shape.
    btTriangleIndexVertexArray* array = new btTriangleIndexVertexArray();
    std::vector<boost::shared_ptr<MeshPatchGeometry>> geometries;
    for (const boost::shared_ptr<MeshPatch>& patch : patches) {
        boost::shared_ptr<MeshPatchGeometry> geometry = patch->getGeometry();
        if (geometry->indexCount / 3 == 0) continue;
        btIndexedMesh part;
        part.m_numTriangles = static_cast<int>(geometry->indexCount / 3);
        part.m_triangleIndexBase = reinterpret_cast<const unsigned char*>(geometry->indices.get());
        part.m_triangleIndexStride = 3 * sizeof(unsigned int);
        part.m_numVertices = static_cast<int>(geometry->vertexCount);
        part.m_vertexBase = reinterpret_cast<const unsigned char*>(geometry->positions.get());
        part.m_vertexStride = 3 * sizeof(float);
        array->addIndexedMesh(part, PHY_INTEGER);
        geometries.push_back(geometry);
    }
    if (array->getNumSubParts() == 0) {
        btIndexedMesh part;
        part.m_numTriangles = 1;
        part.m_triangleIndexBase = reinterpret_cast<const unsigned char*>(originTriangleIndices);
        part.m_triangleIndexStride = 3 * sizeof(int);
        part.m_numVertices = 3;
        part.m_vertexBase = reinterpret_cast<const unsigned char*>(originTriangle);
        part.m_vertexStride = 3 * sizeof(float);
        array->addIndexedMesh(part, PHY_INTEGER);
    }
    return boost::shared_ptr<btBvhTriangleMeshShape>(new btBvhTriangleMeshShape(array, true, true),
                                                     [array, geometries](btBvhTriangleMeshShape* shape) {
                                                         delete shape;
                                                         delete array;
                                                     });
}

boost::shared_ptr<btConvexHullShape> Mesh::createBoxHullShape() const {
    btVector3 min, max;
    btTransform identity;
    identity.setIdentity();
    createTriangleMeshShape()->getAabb(identity, min, max);
    boost::shared_ptr<btConvexHullShape> hull(new btConvexHullShape());
    // Centred on the mesh origin, not on the box centre. A mesh without triangles has no box: it
    // gets the small default one, as hulls without points do.
    const btVector3 half = (max - min) * 0.5f;
    if (!half.isZero()) addBoxCorners(*hull, half);
    return orDefaultHull(hull);
}

boost::shared_ptr<btConvexHullShape> Mesh::createConvexHullShape() const {
    boost::shared_ptr<btConvexHullShape> hull(new btConvexHullShape());
    for (const boost::shared_ptr<MeshPatch>& patch : patches) {
        boost::shared_ptr<MeshPatchGeometry> geometry = patch->getGeometry();
        const float* p = geometry->positions.get();
        for (uint32_t v = 0; v < geometry->vertexCount; ++v) {
            hull->addPoint(btVector3(p[3 * v], p[3 * v + 1], p[3 * v + 2]), false);
        }
    }
    hull->recalcLocalAabb();
    return orDefaultHull(hull);
}

boost::shared_ptr<btConvexHullShape> Mesh::createSimplifiedHullShape() const {
    boost::shared_ptr<btConvexHullShape> reduced(new btConvexHullShape());
    bool hasVertices = false;
    for (const boost::shared_ptr<MeshPatch>& patch : patches) hasVertices |= patch->getGeometry()->vertexCount > 0;
    if (hasVertices) {
        boost::shared_ptr<btConvexHullShape> full = createConvexHullShape();
        btShapeHull shapeHull(full.get());
        if (!shapeHull.buildHull(full->getMargin())) std::cerr << "creating shapeHull failed" << std::endl;
        const btVector3* vertices = shapeHull.getVertexPointer();
        const unsigned int* indices = shapeHull.getIndexPointer();
        for (int i = 0; i < shapeHull.numIndices(); ++i) reduced->addPoint(vertices[indices[i]], false);
        reduced->recalcLocalAabb();
    }
    return orDefaultHull(reduced);
}
