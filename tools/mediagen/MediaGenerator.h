#pragma once

#include <functional>
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
    // `progress`, when given, hears the share done (0 to 1) after each main step.
    bool run(const std::function<void(double fraction)>& progress = {});
    // One line on what was written, once run() has succeeded.
    const std::string& summary() const { return report; }

    // Names this build of the generator: a hash of the sources that shape what it writes.
    static const char* buildIdentity();
    // The text of the marker file ("this is media.txt"), which the game looks for to find its media:
    // the circuit, then the build that wrote the folder, so that media of another build are made again.
    static std::string markerText(int circuit);
    static const char* const markerFile;

private:
    bool writeFile(const std::string& relativePath, const std::string& content);
    // Checks and writes every mesh; on success the map holds their boxes by name.
    bool writeMeshes(const std::map<std::string, MeshBuilder>& meshes, std::map<std::string, Bounds>& boxes);
    bool fail(const std::string& what);

    std::string root;
    int circuit;
    std::string report;
};
