#include "assets/ImageDecoderProcess.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <fstream>

#include <GL/gl.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

const uint32_t maxPathLength = 4096;  // bytes
const uint32_t maxErrors = 32;        // the image library keeps no more
const uint32_t maxErrorLength = 256;  // bytes

// What the child sends first for each file; error lines and pixels follow.
struct AnswerHeader {
    int32_t width;  // 0 when no pixels follow
    int32_t height;
    int32_t format;
    int32_t type;
    uint32_t errorCount;
};

// One end of the socket pair between the game and the child.
struct Channel {
    // Reads exactly `size` bytes, unless the other side stops sending or a limit passes first.
    bool read(void* data, size_t size) {
        char* bytes = static_cast<char*>(data);
        while (size > 0) {
            const int wait = waitMilliseconds();
            if (wait == 0) return false;
            pollfd ready = {socket, POLLIN, 0};
            const int polled = poll(&ready, 1, wait);
            if (polled == 0 || (polled < 0 && errno == EINTR)) continue;
            if (polled < 0) return false;
            const ssize_t got = ::read(socket, bytes, size);
            if (got < 0 && errno == EINTR) continue;
            closed = got == 0;
            if (got <= 0) return false;
            bytes += got;
            size -= static_cast<size_t>(got);
        }
        return true;
    }

    // From now on, reads wait no longer than `wallMilliseconds`, nor past `cpuMilliseconds` more of
    // the processor time of the process `child`.
    void limit(pid_t child, int cpuMilliseconds, int wallMilliseconds) {
        limited = true;
        deadline = Clock::now() + std::chrono::milliseconds(wallMilliseconds);
        timespec used = {};
        watchesProcessor = clock_getcpuclockid(child, &processorClock) == 0 &&
                           clock_gettime(processorClock, &used) == 0;
        processorDeadline = milliseconds(used) + cpuMilliseconds;
    }

    // How long to wait for the other side before the limits are looked at again: no longer than
    // the wall-clock limit, nor than the processor time left, which a child decoding on one thread
    // spends no faster than the wall clock runs. -1 without limits, 0 once one has passed.
    int waitMilliseconds() {
        if (!limited) return -1;
        const long long wallLeft =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        timedOut = wallLeft <= 0;
        if (timedOut) return 0;
        long long cpuLeft = wallLeft;
        timespec used = {};
        if (watchesProcessor && clock_gettime(processorClock, &used) == 0) {
            cpuLeft = processorDeadline - milliseconds(used);
            overBudget = cpuLeft <= 0;
            if (overBudget) return 0;
        }
        const long long minimumWait = 10;  // milliseconds: the limits are looked at no more often
        return static_cast<int>(std::max(minimumWait, std::min(wallLeft, cpuLeft)));
    }

    static long long milliseconds(const timespec& time) { return time.tv_sec * 1000LL + time.tv_nsec / 1000000; }

    bool write(const void* data, size_t size) {
        const char* bytes = static_cast<const char*>(data);
        while (size > 0) {
            const ssize_t sent = send(socket, bytes, size, MSG_NOSIGNAL);  // a gone reader is no signal
            if (sent < 0 && errno == EINTR) continue;
            if (sent <= 0) return false;
            bytes += sent;
            size -= static_cast<size_t>(sent);
        }
        return true;
    }

    int socket;
    bool limited = false;  // whether reads wait only as the limits below allow
    Clock::time_point deadline = {};
    bool watchesProcessor = false;  // whether processorClock could be had
    clockid_t processorClock = 0;   // the child's processor time
    long long processorDeadline = 0;  // milliseconds on processorClock
    bool timedOut = false;
    bool overBudget = false;  // the child spent its processor time
    bool closed = false;      // the other side has gone
};

// Bytes of address space this process has mapped.
rlim_t mappedBytes() {
    rlim_t pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    return pages * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
}

bool sendAnswer(Channel& game, const DecodedImage& image) {
    const bool withPixels = image.pixels && image.pixelBytes() > 0;
    const AnswerHeader header = {withPixels ? image.width : 0, image.height, image.format, image.type,
                                 static_cast<uint32_t>(std::min<size_t>(image.errors.size(), maxErrors))};
    bool sent = game.write(&header, sizeof header);
    for (uint32_t i = 0; sent && i < header.errorCount; ++i) {
        const uint32_t length = static_cast<uint32_t>(std::min<size_t>(image.errors[i].size(), maxErrorLength));
        sent = game.write(&length, sizeof length) && game.write(image.errors[i].data(), length);
    }
    return sent && (!withPixels || game.write(image.pixels.get(), image.pixelBytes()));
}

// Lets the image library map `budget` bytes beyond what the process holds now.
void limitAddressSpace(rlim_t budget) {
    rlimit memory = {};
    getrlimit(RLIMIT_AS, &memory);
    memory.rlim_cur = std::min(memory.rlim_max, mappedBytes() + budget);
    setrlimit(RLIMIT_AS, &memory);
}

// The child's whole life: decodes file after file until the game closes its end. noexcept: an
// exception ends the child instead of carrying it back into the game's code.
[[noreturn]] void serve(ImageDecoderProcess::Decoder decoder, int socket) noexcept {
    prctl(PR_SET_PDEATHSIG, SIGKILL);  // not left spinning should the game be gone
    const rlimit noCoreFile = {0, 0};
    setrlimit(RLIMIT_CORE, &noCoreFile);
    // The game reports what went wrong; the C library's own words on a corrupt heap would be noise.
    const int nowhere = open("/dev/null", O_WRONLY);
    dup2(nowhere, STDOUT_FILENO);
    dup2(nowhere, STDERR_FILENO);

    Channel game = {socket};
    uint32_t length = 0;
    while (game.read(&length, sizeof length) && length <= maxPathLength) {
        std::string path(length, '\0');
        if (!game.read(&path[0], length)) break;
        limitAddressSpace(ImageDecoderProcess::memoryBudget);
        if (!sendAnswer(game, decoder(path))) break;
    }
    _exit(0);
}

// Reads the child's answer for one file into `image`; returns "" or why the child has to go.
std::string receiveAnswer(Channel& link, DecodedImage& image) {
    const std::string broken = "Image decoder sent a broken answer";
    AnswerHeader header = {};
    if (!link.read(&header, sizeof header) || header.errorCount > maxErrors) return broken;
    for (uint32_t i = 0; i < header.errorCount; ++i) {
        uint32_t length = 0;
        if (!link.read(&length, sizeof length) || length > maxErrorLength) return broken;
        std::string error(length, '\0');
        if (!link.read(&error[0], length)) return broken;
        image.errors.push_back(error);
    }
    if (header.width == 0) return "";
    image.width = header.width;
    image.height = header.height;
    image.format = header.format;
    image.type = header.type;
    const int maxSide = ImageDecoderProcess::maxSide;
    if (image.width > maxSide || image.height > maxSide) {
        return "Image of " + std::to_string(image.width) + " x " + std::to_string(image.height) +
               " pixels is larger than " + std::to_string(maxSide) + " x " + std::to_string(maxSide);
    }
    const size_t bytes = image.pixelBytes();
    if (bytes == 0) return broken;
    boost::shared_array<unsigned char> pixels(new unsigned char[bytes]);
    if (!link.read(pixels.get(), bytes)) return broken;
    image.pixels = pixels;
    return "";
}

std::string ending(int status) {
    if (WIFSIGNALED(status)) return "Image decoder crashed (signal " + std::to_string(WTERMSIG(status)) + ")";
    return "Image decoder ended early (status " + std::to_string(WEXITSTATUS(status)) + ")";
}

}  // namespace

int DecodedImage::bytesPerPixel(int format, int type) {
    if (type != GL_UNSIGNED_BYTE) return 0;
    switch (format) {
        case GL_LUMINANCE: return 1;
        case GL_LUMINANCE_ALPHA: return 2;
        case GL_RGB:
        case GL_BGR: return 3;
        case GL_RGBA:
        case GL_BGRA: return 4;
        default: return 0;
    }
}

size_t DecodedImage::pixelBytes() const {
    if (width <= 0 || height <= 0) return 0;
    return static_cast<size_t>(width) * static_cast<size_t>(height) * static_cast<size_t>(bytesPerPixel(format, type));
}

ImageDecoderProcess::ImageDecoderProcess(Decoder decoder) : ImageDecoderProcess(decoder, TimeLimits()) {}

ImageDecoderProcess::~ImageDecoderProcess() {
    if (child > 0) stop();
}

std::string ImageDecoderProcess::start() {
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return std::strerror(errno);
    child = fork();
    if (child == 0) {
        close(ends[0]);
        serve(decoder, ends[1]);
    }
    close(ends[1]);
    if (child < 0) {
        close(ends[0]);
        return std::strerror(errno);
    }
    channel = ends[0];
    return "";
}

int ImageDecoderProcess::stop() {
    kill(child, SIGKILL);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    close(channel);
    child = -1;
    channel = -1;
    return status;
}

int ImageDecoderProcess::TimeLimits::cpuBudgetMilliseconds(long long fileBytes) const {
    const long long forBytes = std::max(0LL, fileBytes) / 1000000 * cpuNanosecondsPerByte;  // milliseconds
    return static_cast<int>(std::min<long long>(maxCpuMilliseconds, cpuMillisecondsPerFile + forBytes));
}

std::string ImageDecoderProcess::ask(const std::string& path) {
    if (child < 0) {
        const std::string failure = start();
        if (!failure.empty()) return "Image decoder could not start: " + failure;
    }
    Channel link = {channel};
    const uint32_t length = static_cast<uint32_t>(path.size());
    if (link.write(&length, sizeof length) && link.write(path.data(), length)) return "";
    stop();
    return "Image decoder did not take the file name";
}

DecodedImage ImageDecoderProcess::decode(const std::string& path) {
    DecodedImage image;
    if (path.size() > maxPathLength) {
        image.errors.push_back("Image file name is longer than " + std::to_string(maxPathLength) + " bytes");
        return image;
    }
    // The budget goes by the file's size; a path that is no plain file gets the least, and is still
    // sent, so that the decoder's own words say what is wrong with it.
    struct stat file = {};
    const long long fileBytes = ::stat(path.c_str(), &file) == 0 && S_ISREG(file.st_mode) ? file.st_size : 0;
    const int cpuBudget = limits.cpuBudgetMilliseconds(fileBytes);

    // A child that ended while idle (killed, or out of memory elsewhere) cannot take the name: one
    // more try with a fresh child.
    std::string trouble = ask(path);
    if (!trouble.empty()) trouble = ask(path);
    Channel link = {channel};
    if (trouble.empty()) {
        link.limit(child, cpuBudget, limits.wallMilliseconds);
        trouble = receiveAnswer(link, image);
    }
    if (!trouble.empty() && child > 0) {
        // It may be damaged, or halfway through an answer: the next file gets a fresh child.
        const int status = stop();
        image.pixels.reset();
        if (link.overBudget) {
            trouble = "Image decoding took more than " + std::to_string(cpuBudget) + " ms of processor time";
        } else if (link.timedOut) {
            trouble = "Image decoder did not answer within " + std::to_string(limits.wallMilliseconds) + " ms";
        } else if (link.closed) {
            trouble = ending(status);
        }
    }
    if (!trouble.empty()) image.errors.push_back(trouble);
    if (!image.pixels && image.errors.empty()) image.errors.push_back("Image decoder sent no image");
    return image;
}
