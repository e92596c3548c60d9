#pragma once

#include <string>

// Holds an exclusive lock on a file (created if need be) while it lives, so that one game at a time
// reads, changes and writes what the lock guards. The kernel drops the lock of a process that dies.
class FileLock {
public:
    explicit FileLock(const std::string& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // False when the lock file could not be opened or locked: the caller goes on unguarded.
    bool held() const { return descriptor >= 0; }

private:
    int descriptor;
};
