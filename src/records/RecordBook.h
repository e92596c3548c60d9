#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The best of one circuit over one number of laps. Times in race sub-steps (60 a second); dates in UTC
// as "2024-05-01T17:30:00Z".
struct CircuitRecord {
    int laps = 0;
    int64_t bestLapSteps = 0;
    std::string bestLapDate;
    int64_t bestRaceSteps = 0;
    std::string bestRaceDate;
};

// Every record the player has set, by circuit number and lap count, as a text file of one line each.
class RecordBook {
public:
    static constexpr size_t maxFileBytes = 8 << 20;

    struct Improvement {
        bool lap = false;
        bool race = false;
    };
    // Takes a finished race's time and best lap where they beat the records; says which did.
    Improvement offer(int circuit, int laps, int64_t raceSteps, int64_t bestLapSteps, const std::string& date);
    // The records of one circuit, fewest laps first: what its circuit screen shows.
    std::vector<CircuitRecord> ofCircuit(int circuit) const;

    std::string toText() const;
    // The book in `text`, or nothing with `error` naming the first line that is not a record.
    static std::optional<RecordBook> fromText(const std::string& text, std::string& error);

private:
    std::map<std::pair<int, int>, CircuitRecord> records;  // by circuit, then laps
};
