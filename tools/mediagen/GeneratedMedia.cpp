#include "GeneratedMedia.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "MediaGenerator.h"

namespace fs = std::filesystem;

GeneratedMedia::GeneratedMedia(int circuit) {
    char pattern[] = "/tmp/vorbel-circuit-XXXXXX";
    if (!mkdtemp(pattern)) {
        std::cerr << "cannot create a temporary media folder" << std::endl;
        return;
    }
    directory = pattern;
    const auto start = std::chrono::steady_clock::now();
    ready = MediaGenerator(directory + "/media", circuit).run();
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

GeneratedMedia::~GeneratedMedia() {
    if (directory.empty()) return;
    std::error_code ignored;
    fs::remove_all(directory, ignored);
}

uint64_t GeneratedMedia::bytes() const {
    uint64_t total = 0;
    std::error_code ignored;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(fs::path(directory) / "media", ignored)) {
        if (entry.is_regular_file(ignored)) total += entry.file_size(ignored);
    }
    return total;
}
