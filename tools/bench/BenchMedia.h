#pragma once

#include <cstddef>
#include <string>

// A media folder of the benchmark's own in a fresh temporary directory, holding one textured sphere
// mesh (about 50,000 triangles with normals and texture coordinates), its material script and its
// texture image. Removed when the object goes.
class BenchMedia {
public:
    BenchMedia();
    ~BenchMedia();
    BenchMedia(const BenchMedia&) = delete;
    BenchMedia& operator=(const BenchMedia&) = delete;

    bool isReady() const { return !directory.empty(); }
    // What startProcessLibraries takes: the folder that holds media/.
    std::string prefix() const { return directory + "/"; }

    static constexpr const char* meshFileName = "BenchSphere.mesh.xml";
    static constexpr int stacks = 125;   // latitude bands
    static constexpr int slices = 200;   // longitude bands
    static constexpr float radius = 10.0f;
    static constexpr int textureSize = 256;
    // The pole bands have one triangle per slice, the others two.
    static constexpr int triangleCount = 2 * slices * (stacks - 1);
    static constexpr int vertexCount = (stacks + 1) * (slices + 1);

    size_t meshFileBytes = 0;

private:
    void write(const std::string& relativePath, const std::string& content) const;

    std::string directory;
};
