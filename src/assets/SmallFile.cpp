#include "assets/SmallFile.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::optional<std::string> readSmallFile(const std::string& path, size_t limit, bool& missing, std::string& problem) {
    const int file = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    missing = file < 0 && errno == ENOENT;
    if (file < 0) {
        problem = std::strerror(errno);
        return std::nullopt;
    }
    struct stat status = {};
    std::string text;
    if (fstat(file, &status) != 0 || !S_ISREG(status.st_mode)) {
        problem = "not a regular file";
    } else if (static_cast<unsigned long long>(status.st_size) > limit) {
        problem = "longer than " + std::to_string(limit) + " bytes";
    } else {
        text.resize(limit + 1);  // one byte more shows a file that grew since
        ssize_t got = 0, total = 0;
        while (total < static_cast<ssize_t>(text.size()) &&
               (got = read(file, &text[total], text.size() - total)) != 0) {
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) break;
            total += got;
        }
        text.resize(total);
        if (got < 0) problem = std::strerror(errno);
    }
    close(file);
    if (!problem.empty()) return std::nullopt;
    return text;
}

