#pragma once

#include <cstddef>
#include <optional>
#include <string>

// A file the player keeps (settings, pad mappings, records, replays). Read with a limit on its size,
// and never waited on (a pipe in its place is refused); written to a temporary file beside it,
// flushed to the disk and renamed over it, so that a crash or a kill at any moment leaves either the
// old or the new whole file; set aside under a new name, never overwritten, when it cannot be read.
class PlayerFile {
public:
    explicit PlayerFile(std::string path) : filePath(std::move(path)) {}

    // The whole file; nothing with `error` empty when there is no such file, nothing with `error`
    // saying why when it cannot be read or holds more than `maxBytes`.
    std::optional<std::string> read(size_t maxBytes, std::string& error) const;
    // Writes `content` in place of the file, creating its folder if need be; false with `error` set.
    bool write(const std::string& content, std::string& error) const;
    // Renames the file (or whatever stands in its place) to "<path>.unreadable-N" with the first N not
    // taken; returns the new name, or "" when it could not be renamed.
    std::string keepAside() const;

    const std::string& path() const { return filePath; }

private:
    std::string filePath;
};
