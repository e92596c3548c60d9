#pragma once

#include <cstdint>

#include <boost/shared_array.hpp>

// Triangles of one patch: shared with mesh copies and with the collision shapes built on them.
struct MeshPatchGeometry {
    boost::shared_array<float> positions;      // x, y, z per vertex
    boost::shared_array<unsigned int> indices; // three per triangle, below vertexCount
    uint32_t vertexCount = 0;
    uint32_t indexCount = 0;                   // three times the triangle count
};
