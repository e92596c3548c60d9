// The circuit cache: starts of one circuit at once all succeed and never show a game a partial
// circuit; a generator killed midway leaves nothing that is taken for a circuit; media that another
// build or an older marker describes are made again; the cache follows the XDG rules.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <atomic>
#include <utility>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <thread>
#include <vector>

#include "CircuitCache.h"
#include "GeneratedMedia.h"
#include "MediaGenerator.h"
#include "support/TestMedia.h"

namespace fs = std::filesystem;

namespace {

const int circuit = 7;

const GeneratedMedia& reference() {
    static const GeneratedMedia media(circuit);
    return media;
}

// Sizes of the files under a folder by path; a partly written file is shorter than its whole.
std::map<std::string, uintmax_t> fileSizes(const fs::path& folder) {
    std::map<std::string, uintmax_t> sizes;
    std::error_code error;
    for (fs::recursive_directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        if (entry->is_regular_file(error)) sizes[entry->path().lexically_relative(folder)] = entry->file_size(error);
    }
    return sizes;
}

std::set<std::string> names(const fs::path& folder) {
    std::set<std::string> found;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) found.insert(entry.path().filename());
    return found;
}

pid_t startEnsure(std::string media) {
    std::string number = std::to_string(circuit), mode = "--ensure", program = VORBEL_MEDIAGEN_BINARY;
    char* const arguments[] = {&program[0], &mode[0], &media[0], &number[0], nullptr};
    pid_t process = -1;
    EXPECT_EQ(posix_spawn(&process, program.c_str(), nullptr, nullptr, arguments, environ), 0);
    return process;
}

int waitFor(pid_t process) {
    int status = -1;
    waitpid(process, &status, 0);
    return status;
}

}  // namespace

TEST(CircuitCache, StartsAtOnceAllSucceedAndAGameSeesOnlyTheWholeCircuit) {
    const auto whole = fileSizes(reference().prefix() + "media");
    const TestMedia scratch;
    const fs::path media = fs::path(scratch.root()) / "cache/7/media";
    std::atomic<bool> starting{true};
    int looks = 0, partial = 0;
    std::thread game([&] {
        while (starting) {
            const bool found = fs::exists(media / MediaGenerator::markerFile);
            partial += (looks > 0 && !found) || (found && fileSizes(media) != whole);
            looks += found;
        }
    });
    std::vector<pid_t> starts;
    for (int start = 0; start < 6; ++start) starts.push_back(startEnsure(media));
    for (pid_t start : starts) EXPECT_EQ(waitFor(start), 0);
    starting = false;
    game.join();
    EXPECT_EQ(partial, 0) << "of " << looks << " looks at the media folder";
    EXPECT_EQ(names(media.parent_path()), (std::set<std::string>{".media.lock", "media"}));
}

TEST(CircuitCache, AGeneratorKilledMidwayLeavesNothingTakenForACircuit) {
    const TestMedia scratch;
    const fs::path folder = fs::path(scratch.root()) / "cache/7", media = folder / "media";
    int status = 0;
    for (int attempt = 0; attempt < 5 && !WIFSIGNALED(status); ++attempt) {  // again if it ended first
        const pid_t start = startEnsure(media);
        bool midway = false;  // once its work folder holds a texture
        while (!midway && waitpid(start, &status, WNOHANG) == 0) {
            for (const auto& entry : fileSizes(folder))
                midway |= entry.first.rfind(".media.work-", 0) == 0 && entry.first.find("/textures/") != std::string::npos;
        }
        if (midway) {
            kill(start, SIGKILL);
            waitpid(start, &status, 0);
        } else {
            fs::remove_all(media);  // it ended first: again from nothing
        }
    }
    ASSERT_TRUE(WIFSIGNALED(status)) << "the generator always ended before it was killed";
    EXPECT_FALSE(fs::exists(media));
    EXPECT_TRUE(CircuitCache::ensure(media, circuit));
    EXPECT_EQ(names(folder), (std::set<std::string>{".media.lock", "media"}));
}

TEST(CircuitCache, MediaOfAnotherBuildOrCircuitAreMadeAgain) {
    const struct {
        const char* whose;
        std::string marker;
        bool kept;
    } cases[] = {
        {"this build's", MediaGenerator::markerText(circuit), true},
        {"another build's", "Vorbel Race media, circuit 7\ngenerator 0123456789abcdef\n", false},
        {"a build's from before builds were named", "Vorbel Race media, circuit 7\n", false},
        {"another circuit's", MediaGenerator::markerText(circuit + 1), false},
    };
    for (const auto& test : cases) {
        const TestMedia scratch;
        fs::copy(reference().prefix() + "media", scratch.root() + "/media",
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        scratch.write(MediaGenerator::markerFile, test.marker);
        scratch.write("stale", "");
        std::vector<double> heard;  // the share done, as a progress bar hears it
        EXPECT_TRUE(CircuitCache::ensure(scratch.root() + "/media", circuit, [&](double f) { heard.push_back(f); }));
        EXPECT_EQ(!heard.empty() && std::is_sorted(heard.begin(), heard.end()) && heard.back() == 1, !test.kept)
            << test.whose;
        EXPECT_EQ(fs::exists(scratch.root() + "/media/stale"), test.kept) << test.whose;
        EXPECT_TRUE(CircuitCache::isCurrent(scratch.root() + "/media", circuit)) << test.whose;
    }
}

TEST(CircuitCache, LivesInTheXdgCacheFolderWhenThatIsAbsolute) {
    const char* const original = std::getenv("XDG_CACHE_HOME");
    const std::string home = std::getenv("HOME"), kept = original ? original : "";
    const std::pair<const char*, std::string> cases[] = {{"/var/cache/x", "/var/cache/x/vorbel-race/circuits"},
                                                         {"", home + "/.cache/vorbel-race/circuits"},
                                                         {"cache", home + "/.cache/vorbel-race/circuits"},
                                                         {nullptr, home + "/.cache/vorbel-race/circuits"}};
    for (const auto& test : cases) {
        test.first ? setenv("XDG_CACHE_HOME", test.first, 1) : unsetenv("XDG_CACHE_HOME");
        EXPECT_EQ(CircuitCache::defaultRoot(), test.second) << (test.first ? test.first : "unset");
    }
    original ? setenv("XDG_CACHE_HOME", kept.c_str(), 1) : unsetenv("XDG_CACHE_HOME");
}
