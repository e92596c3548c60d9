#include "records/RecordBook.h"

#include <sstream>

#include "game/RaceSettings.h"

namespace {

const char* const firstLine = "Vorbel Race records 1";
const int maxCircuit = 99999;

// "YYYY-MM-DDTHH:MM:SSZ", digits where digits belong.
bool isDate(const std::string& text) {
    const std::string pattern = "0000-00-00T00:00:00Z";
    if (text.size() != pattern.size()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (pattern[i] == '0' ? !digit : text[i] != pattern[i]) return false;
    }
    return true;
}

// A whole number from `low` to `high`, nothing else.
bool readNumber(const std::string& text, int64_t low, int64_t high, int64_t& value) {
    if (text.empty() || text.size() > 12 || (text.size() > 1 && text[0] == '0')) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return value >= low && value <= high;
}

void keepBetter(CircuitRecord& record, const CircuitRecord& other) {
    if (other.bestLapSteps < record.bestLapSteps) {
        record.bestLapSteps = other.bestLapSteps;
        record.bestLapDate = other.bestLapDate;
    }
    if (other.bestRaceSteps < record.bestRaceSteps) {
        record.bestRaceSteps = other.bestRaceSteps;
        record.bestRaceDate = other.bestRaceDate;
    }
}

}  // namespace

RecordBook::Improvement RecordBook::offer(int circuit, int laps, int64_t raceSteps, int64_t bestLapSteps,
                                          const std::string& date) {
    Improvement improvement;
    const auto key = std::make_pair(circuit, laps);
    auto found = records.find(key);
    if (found == records.end()) {
        records[key] = CircuitRecord{laps, bestLapSteps, date, raceSteps, date};
        improvement.lap = improvement.race = true;
        return improvement;
    }
    CircuitRecord& record = found->second;
    improvement.lap = bestLapSteps < record.bestLapSteps;
    improvement.race = raceSteps < record.bestRaceSteps;
    keepBetter(record, CircuitRecord{laps, bestLapSteps, date, raceSteps, date});
    return improvement;
}

std::vector<CircuitRecord> RecordBook::ofCircuit(int circuit) const {
    std::vector<CircuitRecord> found;
    for (auto it = records.lower_bound({circuit, 0}); it != records.end() && it->first.first == circuit; ++it) {
        found.push_back(it->second);
    }
    return found;
}

std::string RecordBook::toText() const {
    std::ostringstream text;
    text << firstLine << "\n# circuit, laps, best lap and best race in sub-steps (60 a second), each with its date\n";
    for (const auto& entry : records) {
        const CircuitRecord& r = entry.second;
        text << entry.first.first << " " << r.laps << " " << r.bestLapSteps << " " << r.bestLapDate << " "
             << r.bestRaceSteps << " " << r.bestRaceDate << "\n";
    }
    return text.str();
}

std::optional<RecordBook> RecordBook::fromText(const std::string& text, std::string& error) {
    error.clear();
    if (text.size() > maxFileBytes) {
        error = "larger than any record book";
        return std::nullopt;
    }
    std::istringstream lines(text);
    std::string line;
    if (!std::getline(lines, line) || line != firstLine) {
        error = "not a Vorbel Race record book";
        return std::nullopt;
    }
    RecordBook book;
    for (int number = 2; std::getline(lines, line); ++number) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string word[6], extra;
        for (std::string& w : word) fields >> w;
        int64_t circuit = 0, laps = 0;
        CircuitRecord record;
        const bool good = readNumber(word[0], 0, maxCircuit, circuit) &&
                          readNumber(word[1], 1, RaceSettings::maxLaps, laps) &&
                          readNumber(word[2], 1, RaceSettings::maxRaceSteps, record.bestLapSteps) && isDate(word[3]) &&
                          readNumber(word[4], 1, RaceSettings::maxRaceSteps, record.bestRaceSteps) && isDate(word[5]) &&
                          !(fields >> extra);
        if (!good) {
            error = "line " + std::to_string(number) + " is not a record";
            return std::nullopt;
        }
        record.laps = static_cast<int>(laps);
        record.bestLapDate = word[3];
        record.bestRaceDate = word[5];
        // A circuit listed twice (a file merged by hand) keeps the better of each.
        auto inserted = book.records.emplace(std::make_pair(static_cast<int>(circuit), record.laps), record);
        if (!inserted.second) keepBetter(inserted.first->second, record);
    }
    return book;
}
