#pragma once

#include <optional>
#include <string>

struct Replay;

// The replays the player keeps, beside the records in the player's data folder: the last finished
// race of each circuit, and the best race of each circuit and lap count.
class ReplayArchive {
public:
    // Replays kept in `folder` (the player's data folder; "" keeps nothing).
    explicit ReplayArchive(std::string folder) : folder(std::move(folder)) {}

    // Keeps a finished race: as its circuit's last race, in the records where it beats them, and as
    // the best race when it is one. Returns a line for the player ("" when nothing was beaten).
    std::string keep(const Replay& replay) const;
    // The best race of a circuit over `laps`; nothing, with `error` saying why when there is a file
    // that cannot be read.
    std::optional<Replay> best(int circuit, int laps, std::string& error) const;
    // Reads a replay file, with the same distrust as any outside file.
    static std::optional<Replay> load(const std::string& path, std::string& error);

    std::string lastPath(int circuit) const;
    std::string bestPath(int circuit, int laps) const;

private:
    std::string folder;
};
