#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "app/MediaDirectory.h"
#include "support/TestMedia.h"

namespace fs = std::filesystem;

TEST(MediaDirectory, FindsTheMarkerUpToFourLevelsUp) {
    const fs::path before = fs::current_path();
    TestMedia media;  // root/media/this is media.txt
    const fs::path deepest = fs::path(media.root()) / "a" / "b" / "c" / "d" / "e";
    fs::create_directories(deepest);

    const std::string expected[] = {"./", "./../", "./../../", "./../../../", "./../../../../"};
    fs::path here = media.root();
    for (int depth = 0; depth <= 4; ++depth) {
        fs::current_path(here);
        EXPECT_EQ(findMediaDirectory(), expected[depth]) << "depth " << depth;
        EXPECT_TRUE(fs::exists(findMediaDirectory() + "media/this is media.txt"));
        here /= std::string(1, static_cast<char>('a' + depth));
    }
    // Five levels down it is out of reach: the deepest prefix is returned all the same.
    fs::current_path(deepest);
    EXPECT_EQ(findMediaDirectory(), "./../../../../");
    fs::current_path(before);
}
