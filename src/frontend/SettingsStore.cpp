#include "frontend/SettingsStore.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <iostream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "frontend/SettingsText.h"

namespace {

const int asideAttempts = 10;  // names tried for a file set aside before giving up

// The whole of a regular file of at most `limit` bytes; empty, with `problem` set, for anything else
// (a folder, a pipe that would never end, a file too long). `missing` when there is no file at all.
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

bool writeAll(int file, const std::string& text) {
    for (size_t done = 0; done < text.size();) {
        const ssize_t wrote = write(file, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        done += static_cast<size_t>(wrote);
    }
    return true;
}

}  // namespace

std::string SettingsStore::defaultFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') return std::string(config) + "/vorbel-race";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return std::string(home) + "/.config/vorbel-race";
    return "";
}

PlayerSettings SettingsStore::load() {
    if (folder.empty()) {
        std::cerr << "settings: no home folder, so none are kept" << std::endl;
        writable = false;
        return PlayerSettings();
    }
    bool missing = false;
    std::string problem;
    const std::optional<std::string> text = readSmallFile(path(), SettingsText::largestText, missing, problem);
    if (missing) return PlayerSettings();
    std::optional<PlayerSettings> settings;
    if (text) settings = SettingsText::read(*text, problem);
    if (!settings) {
        writable = setAside(problem);
        return PlayerSettings();
    }
    kept = settings;
    return *settings;
}

bool SettingsStore::setAside(const std::string& why) {
    const std::string base = path() + ".bad-" + std::to_string(static_cast<long long>(std::time(nullptr)));
    for (int attempt = 0; attempt < asideAttempts; ++attempt) {
        const std::string aside = attempt == 0 ? base : base + "-" + std::to_string(attempt);
        // Never over another file set aside earlier.
        if (renameat2(AT_FDCWD, path().c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0) {
            std::cerr << "settings: " << path() << ": " << why << "; playing with the defaults, the file is kept as "
                      << aside << std::endl;
            return true;
        }
        if (errno != EEXIST) break;
    }
    std::cerr << "settings: " << path() << ": " << why << "; playing with the defaults, and keeping none this time"
              << " since the file cannot be set aside (" << std::strerror(errno) << ")" << std::endl;
    return false;
}

bool SettingsStore::save(const PlayerSettings& settings) {
    if (!writable || kept == settings) return writable;
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);  // a folder that cannot be made fails below
    std::string temporary = path() + ".XXXXXX";
    const int file = mkstemp(&temporary[0]);
    std::string problem;
    if (file < 0) {
        problem = std::strerror(errno);
    } else {
        if (!writeAll(file, SettingsText::write(settings)) || fsync(file) != 0) problem = std::strerror(errno);
        if (close(file) != 0 && problem.empty()) problem = std::strerror(errno);
        if (problem.empty() && std::rename(temporary.c_str(), path().c_str()) != 0) problem = std::strerror(errno);
        if (!problem.empty()) unlink(temporary.c_str());
    }
    if (!problem.empty()) {
        std::cerr << "settings: cannot write " << path() << ": " << problem << std::endl;
        return false;
    }
    // The rename itself reaches the disk with the folder.
    const int directory = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory >= 0) {
        fsync(directory);
        close(directory);
    }
    kept = settings;
    return true;
}
