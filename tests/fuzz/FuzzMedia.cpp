#include "FuzzMedia.h"

#include <iostream>
#include <streambuf>

namespace {

const uint32_t runsPerStart = 4096;

// Takes every character and keeps none.
class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
};

NullBuffer nowhere;

}  // namespace

FuzzMedia& FuzzMedia::started(const std::function<void(const TestMedia&)>& furnish) {
    static FuzzMedia media(furnish);
    return media;
}

FuzzMedia::FuzzMedia(const std::function<void(const TestMedia&)>& furnish) {
    if (furnish) furnish(media);
    console[0] = std::cout.rdbuf(&nowhere);
    console[1] = std::cerr.rdbuf(&nowhere);
    media.startLibraries();
}

FuzzMedia::~FuzzMedia() {
    std::cout.rdbuf(console[0]);
    std::cerr.rdbuf(console[1]);
}

void FuzzMedia::nextRun() {
    if (++runs % runsPerStart == 0) media.startLibraries();
}
