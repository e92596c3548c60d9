#include <algorithm>
#include <cstdlib>
#include <map>
#include <vector>

#include <gtest/gtest.h>

#include "MediaNames.h"
#include "MusicComposer.h"
#include "SoundBuffer.h"
#include "SoundEffects.h"

namespace {

// The loop of each looping sound joins its end to its start without a click: that step is no larger
// than the largest step inside the sound.
TEST(SoundEffects, LoopsJoinWithoutAClick) {
    std::map<std::string, SoundBuffer> sounds = SoundEffects::all();
    sounds.emplace(soundFile::music, MusicComposer(0).compose());
    for (const char* name : {soundFile::engine, soundFile::skid, soundFile::star, soundFile::music}) {
        const std::vector<int16_t> pcm = sounds.at(name).pcm();
        int largest = 0;
        for (size_t i = 1; i < pcm.size(); ++i) largest = std::max(largest, std::abs(pcm[i] - pcm[i - 1]));
        EXPECT_LE(std::abs(pcm.front() - pcm.back()), largest) << name;
    }
}

// At the slowest tempo, whose eight bars last longest, a circuit's sounds and music still fit in
// 1.5 MB as WAV files; and two circuits' music differs.
TEST(SoundEffects, ACircuitsSoundsFitInOneAndAHalfMegabytes) {
    int slowest = 0;
    while (MusicComposer(slowest).describe().rfind(std::to_string(MusicComposer::slowestTempo) + " bpm", 0) != 0) ++slowest;
    const SoundBuffer music = MusicComposer(slowest).compose();
    size_t bytes = 2 * music.size() + 44;
    for (const auto& sound : SoundEffects::all()) bytes += 2 * sound.second.size() + 44;
    EXPECT_LE(bytes, 1500000u);
    EXPECT_NE(music.pcm(), MusicComposer(slowest + 1).compose().pcm());
}

}  // namespace
