#pragma once

#include <vector>

#include <boost/shared_ptr.hpp>

#include "entities/Renderable.h"

class btBvhTriangleMeshShape;
class btConvexHullShape;
class MeshPatch;

// A drawable mesh: an ordered list of patches shared with every other copy of the same file,
// under a scale of its own.
class Mesh : public Renderable {
public:
    Mesh();
    ~Mesh() override;

    void render() override;
    // Scaled bounding radius; the unscaled one is computed on the first call.
    float getBoundingRadius() override;
    void addPatch(boost::shared_ptr<MeshPatch> patch);

    // Collision shapes in the mesh's own units; every call builds a new shape.
    boost::shared_ptr<btBvhTriangleMeshShape> createTriangleMeshShape() const;
    boost::shared_ptr<btConvexHullShape> createBoxHullShape() const;
    boost::shared_ptr<btConvexHullShape> createConvexHullShape() const;
    boost::shared_ptr<btConvexHullShape> createSimplifiedHullShape() const;

    std::vector<boost::shared_ptr<MeshPatch>> patches;
};
