#include "app/MediaDirectory.h"

#include <fstream>

std::string findMediaDirectory() {
    const int attempts = 4;
    std::string prefix = "./";
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (std::ifstream(prefix + "media/this is media.txt")) return prefix;
        prefix += "../";
    }
    return prefix;
}
