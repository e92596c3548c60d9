#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>

#include "support/TestMedia.h"

// The process-wide libraries for a fuzz target: started once on test media of the target's own,
// with the console muted so that the readers' messages cost nothing.
class FuzzMedia {
public:
    // The target's media, made on the first call: `furnish` writes its files before the start.
    static FuzzMedia& started(const std::function<void(const TestMedia&)>& furnish = {});
    ~FuzzMedia();
    FuzzMedia(const FuzzMedia&) = delete;
    FuzzMedia& operator=(const FuzzMedia&) = delete;

    // Call once per run, with no asset held: every so many runs the libraries start afresh, so the
    // names that inputs bring into their caches stay bounded.
    void nextRun();

    static std::string text(const uint8_t* data, size_t size) {
        return std::string(reinterpret_cast<const char*>(data), size);
    }

    const TestMedia media;

private:
    explicit FuzzMedia(const std::function<void(const TestMedia&)>& furnish);

    uint32_t runs = 0;
    std::streambuf* console[2];  // what std::cout and std::cerr wrote to before
};
