// Texture benchmark: writes the largest images a texture may be (4096 x 4096 RGBA PNG with 8-bit and
// with 16-bit channels, and a TGA), of noise, so the files are as large and as slow to decode as
// such images get, then loads each through the game's texture library: with the machine as it is,
// then with every core kept busy by as many spinning processes. Prints, per file and condition, the
// time to the texture and the decoder's processor time (medians of the rounds), and how many loads
// gave the image rather than the placeholder. Figures only, no verdict. Needs ImageMagick's convert:
//   build/tools/vorbel-bench-textures [rounds]
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "assets/ImageDecoderProcess.h"
#include "assets/Texture.h"
#include "assets/TextureLibrary.h"
#include "Timing.h"

namespace {

const int defaultRounds = 3;
const int side = ImageDecoderProcess::maxSide;

struct Sample {
    std::string file;
    const char* convertOptions;  // how ImageMagick writes it
};

const Sample samples[] = {{"rgba8.png", "-depth 8 PNG32:"}, {"rgba16.png", "-depth 16 PNG64:"}, {"rgba.tga", "tga:"}};

struct Load {
    double wallMilliseconds;
    double decoderMilliseconds;  // processor time of the decoder process, start to end
    bool loaded;                 // the image, not the placeholder
};

double childrenMilliseconds() {
    rusage usage = {};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto milliseconds = [](const timeval& time) { return time.tv_sec * 1000.0 + time.tv_usec / 1000.0; };
    return milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime);
}

// One load with a library, and so a decoder process, of its own, as the game's first texture has.
Load load(const std::string& folder, const std::string& file) {
    const double childrenBefore = childrenMilliseconds();
    const Clock::time_point start = Clock::now();
    Load result = {};
    {
        TextureLibrary library(folder);
        const boost::shared_ptr<Texture> texture = library.getTexture(file);
        result.wallMilliseconds = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        result.loaded = texture->width == side && texture->height == side;
    }
    // The library's end collected its decoder, whose time now counts among the children's.
    result.decoderMilliseconds = childrenMilliseconds() - childrenBefore;
    return result;
}

// Processes that spin until they are killed, one per core.
std::vector<pid_t> occupyEveryCore() {
    std::vector<pid_t> spinners;
    for (unsigned i = 0; i < std::max(2u, std::thread::hardware_concurrency()); ++i) {
        const pid_t spinner = fork();
        if (spinner == 0) {
            for (volatile bool forever = true; forever;) {
            }
        }
        if (spinner > 0) spinners.push_back(spinner);
    }
    return spinners;
}

void release(const std::vector<pid_t>& spinners) {
    for (pid_t spinner : spinners) {
        kill(spinner, SIGKILL);
        waitpid(spinner, nullptr, 0);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : defaultRounds;
    char pattern[] = "/tmp/vorbel-bench-textures-XXXXXX";
    if (!mkdtemp(pattern)) {
        std::cerr << "Cannot make a temporary folder" << std::endl;
        return 1;
    }
    const std::string folder = std::string(pattern) + "/";
    std::cout << "Writing " << side << " x " << side << " images of noise..." << std::endl;
    for (const Sample& sample : samples) {
        const std::string command = "convert -size " + std::to_string(side) + "x" + std::to_string(side) +
                                    " xc:'rgba(128,128,128,0.5)' -channel RGBA +noise Random " +
                                    sample.convertOptions + folder + sample.file;
        if (std::system(command.c_str()) != 0) {
            std::cerr << "Cannot write " << sample.file << " (is ImageMagick's convert installed?)" << std::endl;
            std::filesystem::remove_all(pattern);
            return 1;
        }
    }
    std::string loadAverage;
    std::getline(std::ifstream("/proc/loadavg"), loadAverage);
    std::cout << "load average before: " << loadAverage << "; " << rounds << " rounds, medians\n\n"
              << std::left << std::setw(12) << "file" << std::setw(10) << "MB" << std::setw(12) << "budget ms"
              << std::setw(12) << "cores" << std::setw(10) << "wall ms" << std::setw(12) << "decoder ms"
              << "loaded" << std::endl;
    const ImageDecoderProcess::TimeLimits limits;
    for (const bool busy : {false, true}) {
        for (const Sample& sample : samples) {
            const long long bytes = static_cast<long long>(std::filesystem::file_size(folder + sample.file));
            std::vector<double> wall, decoder;
            int loaded = 0;
            const std::vector<pid_t> spinners = busy ? occupyEveryCore() : std::vector<pid_t>();
            for (int round = 0; round < rounds; ++round) {
                const Load result = load(folder, sample.file);
                wall.push_back(result.wallMilliseconds);
                decoder.push_back(result.decoderMilliseconds);
                loaded += result.loaded ? 1 : 0;
            }
            release(spinners);
            std::cout << std::setw(12) << sample.file << std::setw(10) << std::fixed << std::setprecision(1)
                      << bytes / 1e6 << std::setw(12) << limits.cpuBudgetMilliseconds(bytes) << std::setw(12)
                      << (busy ? "all busy" : "as they are") << std::setw(10) << std::setprecision(0)
                      << median(wall) << std::setw(12) << median(decoder) << loaded << " of " << rounds
                      << std::endl;
        }
    }
    std::filesystem::remove_all(pattern);
    return 0;
}
