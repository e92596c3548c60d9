#pragma once

#include <cstddef>
#include <optional>
#include <string>

// The whole of a regular file of at most `limit` bytes; empty, with `problem` set, for anything else
// (a folder, a pipe that would never end, a file too long). `missing` when there is no file at all.
std::optional<std::string> readSmallFile(const std::string& path, size_t limit, bool& missing, std::string& problem);
