#include "CircuitCache.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "MediaGenerator.h"

namespace fs = std::filesystem;

namespace {

// Reading a marker stops here: a longer file is not one the generator wrote.
const std::streamsize longestMarker = 256;

bool fail(const std::string& what) {
    std::cerr << "vorbel-mediagen: " << what << std::endl;
    return false;
}

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return home;
    const passwd* entry = getpwuid(getuid());
    return entry && entry->pw_dir ? entry->pw_dir : "";
}

// A file descriptor, closed (and any lock on it released) when the object goes.
class Descriptor {
public:
    explicit Descriptor(int number) : number(number) {}
    ~Descriptor() {
        if (number >= 0) close(number);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return number; }

private:
    int number;
};

// Puts everything written so far on the disk before the work folder is renamed into place, so that
// after a power cut the cache holds the whole circuit or none of it, never a marker beside empty
// meshes. One sync of the file system costs a few milliseconds where a sync per file cost 150.
bool syncFolder(const fs::path& folder) {
    const Descriptor opened(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return (opened.get() >= 0 && syncfs(opened.get()) == 0) ||
           fail("cannot write " + folder.string() + " to the disk: " + std::strerror(errno));
}

// Work folders that begin with `prefix` are those of generators killed midway.
void removeWorkFolders(const fs::path& folder, const std::string& prefix) {
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        if (entry->path().filename().string().compare(0, prefix.size(), prefix) == 0) {
            std::error_code ignored;
            fs::remove_all(entry->path(), ignored);
        }
    }
}

// Puts the finished work folder in place of the media folder. Afterwards `work` holds nothing, this
// start's own copy when another start put the same circuit in place first, or the outdated folder it
// replaced; `aside` may hold the outdated folder too. The caller removes both.
bool install(const fs::path& work, const fs::path& aside, const fs::path& target, int circuit) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (std::rename(work.c_str(), target.c_str()) == 0) return true;
        if (errno != EEXIST && errno != ENOTEMPTY && errno != EISDIR && errno != ENOTDIR) break;
        if (CircuitCache::isCurrent(target.string(), circuit)) return true;
        if (renameat2(AT_FDCWD, work.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0) return true;
        // Without an atomic exchange (some network file systems) the outdated folder moves aside
        // first: for a moment there is no media folder, but never a partial one.
        if (errno == EINVAL || errno == ENOSYS) std::rename(target.c_str(), aside.c_str());
    }
    return fail("cannot put " + work.string() + " in place of " + target.string() + ": " + std::strerror(errno));
}

}  // namespace

std::string CircuitCache::defaultRoot() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    const std::string base = cache && cache[0] == '/' ? cache : homeFolder() + "/.cache";
    return base + "/vorbel-race/circuits";
}

std::string CircuitCache::folderFor(const std::string& root, int circuit) {
    return (fs::path(root) / std::to_string(circuit)).string();
}

bool CircuitCache::isCurrent(const std::string& mediaFolder, int circuit) {
    std::ifstream file(fs::path(mediaFolder) / MediaGenerator::markerFile, std::ios::binary);
    std::string text(longestMarker, '\0');
    file.read(&text[0], longestMarker);
    text.resize(file.gcount());
    return text == MediaGenerator::markerText(circuit);
}

bool CircuitCache::ensure(const std::string& mediaFolder, int circuit,
                          const std::function<void(double fraction)>& progress) {
    if (isCurrent(mediaFolder, circuit)) return true;
    fs::path target = fs::path(mediaFolder).lexically_normal();
    if (!target.has_filename()) target = target.parent_path();
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string workPrefix = "." + target.filename().string() + ".work-";
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) return fail("cannot create " + folder.string() + ": " + error.message());

    // Generators hold this lock shared while they work, so whoever gets it alone knows that every
    // work folder here is a killed generator's. Where locks do not work, none is removed.
    const fs::path lockFile = folder / ("." + target.filename().string() + ".lock");
    const Descriptor lock(open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
    if (lock.get() < 0) return fail("cannot open " + lockFile.string() + ": " + std::strerror(errno));
    if (flock(lock.get(), LOCK_EX | LOCK_NB) == 0) removeWorkFolders(folder, workPrefix);
    flock(lock.get(), LOCK_SH);
    if (isCurrent(mediaFolder, circuit)) return true;  // another start has put it in place meanwhile

    std::string work = (folder / (workPrefix + "XXXXXX")).string();
    if (!mkdtemp(&work[0])) return fail("cannot create a folder in " + folder.string() + ": " + std::strerror(errno));
    chmod(work.c_str(), 0755);  // as a media folder the generator creates itself, not private as mkdtemp makes it
    const std::string aside = work + "-outdated";
    const bool made = MediaGenerator(work, circuit).run(progress) && syncFolder(work) &&
                      install(work, aside, target, circuit);
    fs::remove_all(work, error);
    fs::remove_all(aside, error);
    return made;
}
