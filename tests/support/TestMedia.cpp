#include "support/TestMedia.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/ProcessLibraries.h"

namespace fs = std::filesystem;

TestMedia::TestMedia() {
    char pattern[] = "/tmp/vorbel-test-XXXXXX";
    directory = mkdtemp(pattern);
    fs::create_directories(directory + "/media/meshes");
    fs::create_directories(directory + "/media/textures");
    write("this is media.txt", "test media\n");
}

TestMedia::~TestMedia() {
    stopProcessLibraries();
    std::error_code ignored;
    fs::remove_all(directory, ignored);
}

void TestMedia::write(const std::string& relativePath, const std::string& content) const {
    const fs::path path = fs::path(directory) / "media" / relativePath;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

void TestMedia::startLibraries() const { startProcessLibraries(prefix()); }

CapturedStream::CapturedStream(std::ostream& stream) : stream(stream), original(stream.rdbuf(captured.rdbuf())) {}

CapturedStream::~CapturedStream() { stream.rdbuf(original); }

int CapturedStream::count(const std::string& needle) const {
    std::istringstream lines(captured.str());
    int found = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.find(needle) != std::string::npos) ++found;
    }
    return found;
}

std::string sharedTestData() {
    const std::string path = std::string(VORBEL_SHARED_DIR) + "/testdata/thirdparty";
    return fs::is_directory(path) ? path : "";
}

std::string builtMediaPrefix() { return std::string(VORBEL_BUILD_DIR) + "/"; }

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}
