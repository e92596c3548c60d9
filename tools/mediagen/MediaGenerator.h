#pragma once

#include <map>
#include <string>

#include "MeshBuilder.h"

// Writes the game's whole media folder for one circuit: the marker file, textures, the material
// script, every mesh, the level's scene and its checkpoints. The same bytes on every run.
class MediaGenerator {
public:
    // `root` is the media folder itself (it holds "meshes" and "textures").
    MediaGenerator(std::string root, int circuit);

    // Returns false after one line on standard error when something cannot be built or written.
    bool run();
    // One line on what was written, once run() has succeeded.
    const std::string& summary() const { return report; }

private:
    bool writeFile(const std::string& relativePath, const std::string& content);
    // Checks and writes every mesh; on success the map holds their boxes by name.
    bool writeMeshes(const std::map<std::string, MeshBuilder>& meshes, std::map<std::string, Bounds>& boxes);
    bool fail(const std::string& what);

    std::string root;
    int circuit;
    std::string report;
};
