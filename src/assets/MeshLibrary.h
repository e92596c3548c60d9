#pragma once

#include <map>
#include <string>

#include <boost/shared_ptr.hpp>

class Mesh;
class TiXmlDocument;

// Reads every mesh file once and hands each caller a fresh Mesh sharing the file's patches.
class MeshLibrary {
public:
    explicit MeshLibrary(const std::string& basePath);
    MeshLibrary(const MeshLibrary&) = delete;
    MeshLibrary& operator=(const MeshLibrary&) = delete;
    static MeshLibrary& instance();

    boost::shared_ptr<Mesh> loadMesh(const std::string& name);
    // Builds a mesh from a parsed document; malformed content gives an empty or truncated mesh
    // and one line on standard error naming `path`.
    static boost::shared_ptr<Mesh> readMesh(const TiXmlDocument& document, const std::string& path);
    // Builds a mesh from the text of a mesh file: one in the compact layout the game's own files
    // use is read directly, any other is parsed and read as above; text that does not parse gives
    // an empty mesh and one line on standard error.
    static boost::shared_ptr<Mesh> readMeshText(const std::string& text, const std::string& path);

    const std::string& getBasePath() const { return basePath; }

private:
    friend void startProcessLibraries(const std::string& mediaPrefix);
    friend void stopProcessLibraries();
    static MeshLibrary* current;

    std::string basePath;
    std::map<std::string, boost::shared_ptr<Mesh>> cache;  // templates by full path
};
