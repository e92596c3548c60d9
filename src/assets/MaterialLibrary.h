#pragma once

#include <iosfwd>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <boost/shared_ptr.hpp>

struct MeshPatchProperties;

// Every material of the material script, by name; the empty name holds the default material.
class MaterialLibrary {
public:
    explicit MaterialLibrary(const std::string& scriptPath);
    MaterialLibrary(const MaterialLibrary&) = delete;
    MaterialLibrary& operator=(const MaterialLibrary&) = delete;
    static MaterialLibrary& instance();

    boost::shared_ptr<MeshPatchProperties> getMaterial(const std::string& name);
    // Reads material blocks from a token stream; a token that should be a number and is not ends the read.
    void readScript(std::istream& stream);

private:
    friend void startProcessLibraries(const std::string& mediaPrefix);
    friend void stopProcessLibraries();
    static MaterialLibrary* current;

    const float* newColor(const float* values);

    std::map<std::string, boost::shared_ptr<MeshPatchProperties>> materials;
    std::vector<std::unique_ptr<float[]>> colorArrays;  // storage behind every record's colour pointers
};
