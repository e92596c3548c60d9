#include "FuzzMedia.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <streambuf>

#include "app/ProcessLibraries.h"

namespace fs = std::filesystem;

namespace {

const uint32_t runsPerStart = 4096;

// Takes every character and keeps none.
class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
};

NullBuffer nowhere;

}  // namespace

FuzzMedia& FuzzMedia::started(const std::function<void(const FuzzMedia&)>& furnish) {
    static FuzzMedia media(furnish);
    return media;
}

FuzzMedia::FuzzMedia(const std::function<void(const FuzzMedia&)>& furnish) {
    char pattern[] = "/tmp/vorbel-fuzz-XXXXXX";
    directory = mkdtemp(pattern);
    fs::create_directories(directory + "/media/meshes");
    fs::create_directories(directory + "/media/textures");
    write("this is media.txt", "fuzz media\n");
    if (furnish) furnish(*this);
    console[0] = std::cout.rdbuf(&nowhere);
    console[1] = std::cerr.rdbuf(&nowhere);
    start();
}

FuzzMedia::~FuzzMedia() {
    stopProcessLibraries();
    std::cout.rdbuf(console[0]);
    std::cerr.rdbuf(console[1]);
    std::error_code ignored;
    fs::remove_all(directory, ignored);
}

void FuzzMedia::write(const std::string& relativePath, const std::string& content) const {
    std::ofstream(fs::path(directory) / "media" / relativePath, std::ios::binary) << content;
}

void FuzzMedia::start() const { startProcessLibraries(directory + "/"); }

void FuzzMedia::nextRun() {
    if (++runs % runsPerStart == 0) start();
}
