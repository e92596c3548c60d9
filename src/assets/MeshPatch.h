#pragma once

#include <boost/shared_ptr.hpp>

#include "entities/Renderable.h"

struct MeshPatchGeometry;
struct MeshPatchProperties;
struct MeshPatchVertexProperties;

// One submesh: its triangles, vertex attributes and material, drawn in the current vertex mode.
class MeshPatch : public Renderable {
public:
    // Takes ownership of geometry and vertexProperties.
    MeshPatch(MeshPatchGeometry* geometry, MeshPatchVertexProperties* vertexProperties,
              boost::shared_ptr<MeshPatchProperties> properties);
    ~MeshPatch() override;
    MeshPatch(const MeshPatch&) = delete;  // owns GL buffers
    MeshPatch& operator=(const MeshPatch&) = delete;

    void render() override;
    boost::shared_ptr<MeshPatchGeometry> getGeometry() const { return geometry; }

    boost::shared_ptr<MeshPatchGeometry> geometry;
    boost::shared_ptr<MeshPatchProperties> properties;
    boost::shared_ptr<MeshPatchVertexProperties> vertexProperties;
    // GL buffer names, created by the first draw with vertex buffer objects; 0 = not created.
    unsigned int positionBuffer;
    unsigned int indexBuffer;
    unsigned int normalBuffer;
    unsigned int colorBuffer;
    unsigned int texCoordBuffer;

private:
    void renderWithBuffers();
    void renderDirect(int vertexMode);
    void createBuffers();
    void applyMaterial() const;
    void finishMaterial() const;
};
