#include "storage/PlayerFile.h"

#include <cerrno>
#include <cstring>
#include <cstdio>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Writes everything or fails; write() may take only part of the bytes.
bool writeAll(int descriptor, const std::string& content) {
    size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(descriptor, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// The rename is only on the disk once the folder that holds the name is.
void syncFolder(const fs::path& folder) {
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (descriptor < 0) return;
    ::fsync(descriptor);
    ::close(descriptor);
}

}  // namespace

std::optional<std::string> PlayerFile::read(size_t maxBytes, std::string& error) const {
    error.clear();
    // Without blocking: a pipe put in the file's place would otherwise hold the game until written to.
    const int descriptor = ::open(filePath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        if (errno != ENOENT) error = std::strerror(errno);
        return std::nullopt;
    }
    struct stat status = {};
    std::string content;
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        error = "not a file that can be read";
    } else {
        // In pieces, so that what is kept in memory grows with the file and stops just past the limit.
        char piece[65536];
        while (content.size() <= maxBytes) {
            const ssize_t got = ::read(descriptor, piece, sizeof piece);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) error = std::strerror(errno);
            if (got <= 0) break;
            content.append(piece, static_cast<size_t>(got));
        }
        if (error.empty() && content.size() > maxBytes) error = "larger than " + std::to_string(maxBytes) + " bytes";
    }
    ::close(descriptor);
    if (!error.empty()) return std::nullopt;
    return content;
}

bool PlayerFile::write(const std::string& content, std::string& error) const {
    const fs::path target(filePath);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::error_code code;
    fs::create_directories(folder, code);
    // A name of this process's own, so that two games writing at once never share a temporary file.
    const fs::path temporary = folder / ("." + target.filename().string() + "." + std::to_string(::getpid()) + ".tmp");
    const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (descriptor < 0) {
        error = "cannot create " + temporary.string() + ": " + std::strerror(errno);
        return false;
    }
    const bool written = writeAll(descriptor, content) && ::fsync(descriptor) == 0;
    const int writeErrno = errno;
    ::close(descriptor);
    if (!written || ::rename(temporary.c_str(), target.c_str()) != 0) {
        error = "cannot write " + filePath + ": " + std::strerror(written ? errno : writeErrno);
        ::unlink(temporary.c_str());
        return false;
    }
    syncFolder(folder);
    return true;
}

std::string PlayerFile::keepAside() const {
    for (int n = 1; n < 1000; ++n) {
        const std::string aside = filePath + ".unreadable-" + std::to_string(n);
        // Never over a name that exists: a file set aside before stays as it was.
        if (::renameat2(AT_FDCWD, filePath.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0) return aside;
        if (errno != EEXIST) break;
    }
    return "";
}
