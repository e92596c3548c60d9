// The circuit cache makes media again when their marker names another build of the generator,
// another circuit or no build at all, and keeps the media this build wrote; a progress bar hears the
// share done rise to 1 while it generates. (tests/mediagen/cache.sh races and kills generators.)
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>

#include "CircuitCache.h"
#include "MediaGenerator.h"
#include "support/TestMedia.h"

TEST(CircuitCache, MediaOfAnotherBuildOrCircuitAreMadeAgain) {
    const TestMedia scratch;
    const std::string media = scratch.root() + "/media";
    const std::pair<std::string, bool> cases[] = {  // the marker, and whether the media are kept
        {"Vorbel Race media, circuit 7\n", false},
        {"Vorbel Race media, circuit 7\ngenerator 0123456789abcdef\n", false},
        {MediaGenerator::markerText(8), false},
        {MediaGenerator::markerText(7), true}};
    for (const auto& [marker, kept] : cases) {
        scratch.write(MediaGenerator::markerFile, marker);
        scratch.write("stale", "");
        std::vector<double> heard;
        EXPECT_TRUE(CircuitCache::ensure(media, 7, [&](double share) { heard.push_back(share); }));
        EXPECT_EQ(std::filesystem::exists(media + "/stale"), kept) << marker;
        EXPECT_EQ(std::is_sorted(heard.begin(), heard.end()) && !heard.empty() && heard.back() == 1, !kept);
    }
}
