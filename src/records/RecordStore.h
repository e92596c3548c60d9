#pragma once

#include <functional>
#include <string>

#include "records/RecordBook.h"

// The record book in the player's data folder ("records.txt"), shared by every game the player runs:
// each change is read, made and written under a lock, so that two games finishing at once both keep
// their records.
class RecordStore {
public:
    // Records kept in `folder` (the player's data folder; "" keeps nothing).
    explicit RecordStore(std::string folder) : folder(std::move(folder)) {}

    // The records as the file has them now: none when it is missing or cannot be read.
    RecordBook read() const;
    // Offers a finished race to the book under the lock, and writes the book when it improved. A file
    // that cannot be read is set aside with one line on the console and a fresh book begun.
    // `whileLocked`, if given, runs before the lock goes, told what improved. Returns that.
    RecordBook::Improvement offer(int circuit, int laps, int64_t raceSteps, int64_t bestLapSteps,
                                  const std::function<void(RecordBook::Improvement)>& whileLocked = nullptr) const;

    std::string bookPath() const { return folder + "/records.txt"; }
    // "2024-05-01T17:30:00Z" for a moment given as seconds since 1970.
    static std::string utcDate(int64_t secondsSince1970);

private:
    std::string folder;
};
