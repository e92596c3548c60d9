#include <algorithm>
#include <atomic>
#include <csignal>
#include <ctime>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <GL/gl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include "assets/ImageDecoderProcess.h"
#include "support/TestMedia.h"

namespace {

long long processorMilliseconds() {
    timespec used = {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    return used.tv_sec * 1000LL + used.tv_nsec / 1000000;
}

// A decoder with the faults nobody has found in the image library yet, one per file name.
DecodedImage faultyDecoder(const std::string& path) {
    static const unsigned char pixel[4] = {1, 2, 3, 4};
    const std::string name = path.substr(path.rfind('/') + 1);
    if (name == "spins") {
        for (volatile bool forever = true; forever;) {
        }
    }
    if (name == "blocks") pause();
    if (name == "crashes") std::raise(SIGSEGV);
    if (name.rfind("burns-", 0) == 0) {  // slow but sound: "burns-N" takes N ms of processor time
        for (const long long end = processorMilliseconds() + std::stoll(name.substr(6)); processorMilliseconds() < end;) {
        }
    }
    DecodedImage image;
    if (name == "tells-pid") image.errors.push_back(std::to_string(getpid()));
    if (name == "hoards") image.errors.push_back(std::string(size_t(1) << 30, '!'));
    image.width = name == "boasts" ? 8192 : 1;
    image.height = image.width;
    image.format = GL_RGBA;
    image.type = GL_UNSIGNED_BYTE;
    image.pixels.reset(pixel, [](const unsigned char*) {});
    return image;
}

TEST(ImageDecoderProcess, AFaultInTheDecoderCostsOnlyItsImage) {
    ImageDecoderProcess decoder(faultyDecoder, {200, 0, 200, 10000});  // a spinning fault costs little
    const std::pair<const char*, const char*> faults[] = {
        {"spins", "Image decoding took more than 200 ms of processor time"},
        {"blocks", "Image decoder did not answer within 10000 ms"},
        {"crashes", "Image decoder crashed (signal 11)"},
        {"hoards", "Image decoder crashed (signal 6)"},
        {"boasts", "larger than 4096 x 4096"}};
    for (const auto& fault : faults) {
        SCOPED_TRACE(fault.first);
        const DecodedImage failed = decoder.decode(fault.first);
        EXPECT_FALSE(failed.pixels);
        ASSERT_FALSE(failed.errors.empty());
        EXPECT_NE(failed.errors.back().find(fault.second), std::string::npos) << failed.errors.back();
        // The next file goes to a fresh child.
        const DecodedImage fine = decoder.decode("fine");
        ASSERT_TRUE(fine.pixels);
        EXPECT_EQ(fine.pixels[3], 4);
    }
}

// Each file gets a budget of its own, which a larger file raises.
TEST(ImageDecoderProcess, ALargerFileBuysMoreProcessorTimeUpToACap) {
    TestMedia media;
    const auto file = [&media](const std::string& name, long long bytes) {
        const std::string path = media.textures() + name;
        media.write("textures/" + name, "");
        EXPECT_EQ(truncate(path.c_str(), bytes), 0);  // sparse: no disk space taken
        return path;
    };
    ImageDecoderProcess decoder(faultyDecoder, {200, 50, 600, 20000});
    for (int time = 0; time < 2; ++time) EXPECT_TRUE(decoder.decode(file("burns-400", 10000000)).pixels);
    EXPECT_EQ(decoder.decode(file("spins", 1LL << 40)).errors.back(),
              "Image decoding took more than 600 ms of processor time");
}

// A busy machine slows decoding down without making it a runaway, with the game's own limits.
TEST(ImageDecoderProcess, ASlowDecoderLoadsWhileEveryCoreIsBusy) {
    ImageDecoderProcess decoder(faultyDecoder);
    ASSERT_TRUE(decoder.decode("fine").pixels);  // the child is forked before the other threads run
    std::atomic<bool> busy(true);
    std::vector<std::thread> loads(std::max(2u, std::thread::hardware_concurrency()));
    for (std::thread& load : loads) load = std::thread([&busy] { while (busy) {} });
    const DecodedImage image = decoder.decode("burns-450");
    busy = false;
    for (std::thread& load : loads) load.join();
    EXPECT_TRUE(image.pixels);
    EXPECT_EQ(image.errors, std::vector<std::string>());
}

TEST(ImageDecoderProcess, AChildThatEndedWhileIdleIsReplacedAndTheFileDecoded) {
    ImageDecoderProcess decoder(faultyDecoder);
    const DecodedImage first = decoder.decode("tells-pid");
    ASSERT_EQ(first.errors.size(), 1u);
    const pid_t child = std::stoi(first.errors[0]);
    ASSERT_EQ(kill(child, SIGKILL), 0);
    siginfo_t ended = {};
    waitid(P_PID, child, &ended, WEXITED | WNOWAIT);  // gone, and left for the decoder to collect
    const DecodedImage next = decoder.decode("fine");
    EXPECT_TRUE(next.pixels);
    EXPECT_EQ(next.errors, std::vector<std::string>());
}

}  // namespace
