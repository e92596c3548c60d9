#pragma once

#include <boost/shared_array.hpp>

// Optional per-vertex attributes of a patch; each array may be empty.
struct MeshPatchVertexProperties {
    boost::shared_array<float> normals;    // 3 per vertex
    boost::shared_array<float> texCoords;  // 2 per vertex
    boost::shared_array<float> colors;     // 4 per vertex; mesh files cannot supply them
};
