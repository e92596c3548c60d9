#include <gtest/gtest.h>

#include <functional>

#include "replay/Replay.h"

namespace {

// Runs of one control and of many, short and long, with flags that take one, two and three bytes.
Replay sample() {
    Replay replay;
    replay.build = "b1a2";
    replay.circuit = 99999;
    replay.media = "9f0e";
    replay.settings.laps = 9;
    replay.settings.computerDrivers = 0;
    replay.settings.pace = Pace::fast;
    replay.settings.seed = 4000000000u;
    for (uint16_t flags : {0, 4, 0x7fff, 4, 200, 200, 5})
        replay.controls.insert(replay.controls.end(), flags == 200 ? 20000 : 3, flags);
    replay.checks.assign(Replay::checkCount(replay.controls.size()), 0);
    for (size_t i = 0; i < replay.checks.size(); ++i) replay.checks[i] = static_cast<uint32_t>(i * 2654435761u);
    replay.finishSteps = static_cast<int64_t>(replay.controls.size());
    replay.bestLapSteps = 1234;
    return replay;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
}

}  // namespace

// The fault: a replay that does not read back as it was written (a run length or flags cut to a
// byte, a setting lost), or that takes more than a few bytes for a long unchanged run.
TEST(ReplayFile, ReadsBackAsWrittenAndCodesRunsShortly) {
    const Replay replay = sample();
    const std::string bytes = replay.toBytes();
    std::string error;
    const std::optional<Replay> read = Replay::fromBytes(bytes, error);
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(read->build, replay.build);
    EXPECT_EQ(read->circuit, replay.circuit);
    EXPECT_EQ(read->media, replay.media);
    EXPECT_EQ(read->settings.laps, 9);
    EXPECT_EQ(read->settings.computerDrivers, 0);
    EXPECT_EQ(read->settings.pace, Pace::fast);
    EXPECT_EQ(read->settings.seed, 4000000000u);
    EXPECT_EQ(read->controls, replay.controls);
    EXPECT_EQ(read->checks, replay.checks);
    EXPECT_EQ(read->finishSteps, replay.finishSteps);
    EXPECT_EQ(read->bestLapSteps, 1234);
    const size_t body = bytes.size() - bytes.find("\n\n") - 2;
    EXPECT_LE(body, 6 * 6 + 4 * replay.checks.size()) << "six runs of at most six bytes";
}

// The fault: a hostile or damaged file read as a replay (a crash, a huge allocation, a claim that it
// holds a race), instead of a clear reason.
TEST(ReplayFile, DamagedOrForeignFilesAreRefusedWithAReason) {
    const std::string good = sample().toBytes();
    const size_t body = good.find("\n\n") + 2;
    const struct {
        std::function<std::string()> damage;
        const char* reason;
    } cases[] = {
        {[&] { return replaced(good, "format 1", "format 2"); }, "replay format 2, this game reads format 1"},
        {[&] { return "PNG" + good; }, "not a Vorbel Race replay"},
        {[&] { return replaced(good, "laps 9", "laps 10"); }, "laps out of bounds"},
        {[&] { return replaced(good, "pace fast", "pace warp"); }, "unknown pace"},
        {[&] { return replaced(good, "steps 40015", "steps 99999999"); }, "steps out of bounds"},
        {[&] { return replaced(good, "runs 6", "runs 40000"); }, "cut short"},
        {[&] { return replaced(good, "checks 666", "checks 665"); }, "check values do not match"},
        {[&] { return good.substr(0, good.size() - 1); }, "cut short"},
        {[&] { return good.substr(0, body + 3); }, "cut short"},
        {[&] { return good + "x"; }, "bytes after its end"},
        {[&] { return replaced(good, "build b1a2", "build "); }, "build line without a proper value"},
        {[&] { return std::string(Replay::maxFileBytes + 1, 'x'); }, "larger than any replay"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        std::string error;
        EXPECT_FALSE(Replay::fromBytes(c.damage(), error));
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
    // Cut anywhere, it is refused, never read as a shorter race.
    for (size_t length = 0; length < good.size(); length += 7) {
        std::string error;
        EXPECT_FALSE(Replay::fromBytes(good.substr(0, length), error)) << length;
    }
}

// The fault: a replay of another build of the game, or of its circuit as another generator made it,
// run again and its differences blamed on the replay.
TEST(ReplayFile, AnotherBuildOrOtherMediaAreNamedAsTheReason) {
    const Replay replay = sample();
    EXPECT_EQ(replay.foreignTo("b1a2", "9f0e"), "");
    EXPECT_NE(replay.foreignTo("c3d4", "9f0e").find("game build b1a2, this is build c3d4"), std::string::npos);
    EXPECT_NE(replay.foreignTo("b1a2", "unknown").find("generator build 9f0e"), std::string::npos);
}
