#include "records/FileLock.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

FileLock::FileLock(const std::string& path) : descriptor(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
    if (descriptor < 0) return;
    int result;
    do {
        result = ::flock(descriptor, LOCK_EX);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        ::close(descriptor);
        descriptor = -1;
    }
}

FileLock::~FileLock() {
    if (descriptor >= 0) ::close(descriptor);  // closing the last descriptor drops the lock
}
