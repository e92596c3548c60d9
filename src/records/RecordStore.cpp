#include "records/RecordStore.h"

#include <ctime>
#include <filesystem>
#include <iostream>

#include "records/FileLock.h"
#include "storage/PlayerFile.h"

RecordBook RecordStore::read() const {
    if (folder.empty()) return RecordBook();
    std::string error;
    const std::optional<std::string> text = PlayerFile(bookPath()).read(RecordBook::maxFileBytes, error);
    if (!text) return RecordBook();
    return RecordBook::fromText(*text, error).value_or(RecordBook());
}

RecordBook::Improvement RecordStore::offer(int circuit, int laps, int64_t raceSteps, int64_t bestLapSteps,
                                           const std::function<void(RecordBook::Improvement)>& whileLocked) const {
    if (folder.empty()) return RecordBook::Improvement();  // no home: nothing is kept
    std::error_code code;
    std::filesystem::create_directories(folder, code);
    const FileLock lock(folder + "/records.lock");
    if (!lock.held()) std::cerr << "WARNING: cannot lock " << folder << "/records.lock; saving records unguarded" << std::endl;

    const PlayerFile file(bookPath());
    std::string error;
    std::optional<std::string> text = file.read(RecordBook::maxFileBytes, error);
    std::optional<RecordBook> book = text ? RecordBook::fromText(*text, error) : RecordBook();
    if (!error.empty()) {
        const std::string aside = file.keepAside();
        std::cerr << "WARNING: records " << bookPath() << " cannot be read (" << error << "); "
                  << (aside.empty() ? "it could not be set aside, and stays unchanged" : "kept as " + aside)
                  << ", a fresh record book begun" << std::endl;
        // A file that could be neither read nor moved is not written over.
        if (aside.empty()) return RecordBook::Improvement();
        book = RecordBook();
    }
    const RecordBook::Improvement improvement =
        book->offer(circuit, laps, raceSteps, bestLapSteps, utcDate(static_cast<int64_t>(std::time(nullptr))));
    if ((improvement.lap || improvement.race) && !file.write(book->toText(), error)) {
        std::cerr << "ERROR: records not saved: " << error << std::endl;
    }
    if (whileLocked) whileLocked(improvement);
    return improvement;
}

std::string RecordStore::utcDate(int64_t secondsSince1970) {
    const std::time_t moment = static_cast<std::time_t>(secondsSince1970);
    std::tm parts{};
    gmtime_r(&moment, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}
