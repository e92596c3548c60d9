#include "replay/Replay.h"

#include <sstream>

namespace {

const char* const magicLine = "Vorbel Race replay";
const char* const paceNames[] = {"relaxed", "normal", "fast"};
const size_t maxValueLength = 64;  // of a text value: a build identity, a pace
const size_t maxHeaderLine = 100;

void appendNumber(std::string& out, uint64_t value) {
    // Seven bits a byte, lowest first; the top bit says another byte follows.
    while (value >= 0x80) {
        out += static_cast<char>(0x80 | (value & 0x7f));
        value >>= 7;
    }
    out += static_cast<char>(value);
}

// Reads the text header and the coded body of a replay, with a limit on every count before it is
// trusted: a hostile file costs no more than the bytes it has.
class ReplayReader {
public:
    ReplayReader(const std::string& bytes, std::string& error) : bytes(bytes), error(error) {}

    std::optional<Replay> read() {
        if (bytes.size() > Replay::maxFileBytes) return fail("larger than any replay");
        if (!line(magicLine)) return fail("not a Vorbel Race replay");
        int64_t format = 0;
        if (!number("format", 1, 1 << 30, format)) return std::nullopt;
        if (format != Replay::formatVersion) {
            return fail("replay format " + std::to_string(format) + ", this game reads format " +
                        std::to_string(Replay::formatVersion));
        }
        Replay replay;
        if (!text("build", replay.build)) return std::nullopt;
        int64_t value = 0;
        if (!number("circuit", 0, 99999, value)) return std::nullopt;
        replay.circuit = static_cast<int>(value);
        if (!text("media", replay.media)) return std::nullopt;
        if (!number("laps", 1, RaceSettings::maxLaps, value)) return std::nullopt;
        replay.settings.laps = static_cast<int>(value);
        if (!number("drivers", 0, RaceSettings::maxComputerDrivers, value)) return std::nullopt;
        replay.settings.computerDrivers = static_cast<int>(value);
        std::string pace;
        if (!text("pace", pace)) return std::nullopt;
        int paceIndex = 0;
        while (paceIndex < 3 && pace != paceNames[paceIndex]) ++paceIndex;
        if (paceIndex == 3) return fail("unknown pace \"" + pace + "\"");
        replay.settings.pace = static_cast<Pace>(paceIndex);
        if (!number("seed", 0, UINT32_MAX, value)) return std::nullopt;
        replay.settings.seed = static_cast<uint32_t>(value);
        int64_t steps = 0, runs = 0, checks = 0;
        if (!number("steps", 0, RaceSettings::maxRaceSteps, steps)) return std::nullopt;
        if (!number("finish", -1, steps, replay.finishSteps)) return std::nullopt;
        if (!number("best-lap", -1, steps, replay.bestLapSteps)) return std::nullopt;
        if (!number("runs", 0, steps, runs)) return std::nullopt;
        if (!number("checks", 0, steps, checks)) return std::nullopt;
        if (static_cast<size_t>(checks) != Replay::checkCount(static_cast<size_t>(steps))) {
            return fail("check values do not match its length");
        }
        if (!line("")) return fail("no end to its header");

        // Every run takes two bytes at least and every check value four: a count the file cannot
        // hold is refused before anything is reserved for it.
        if (static_cast<uint64_t>(runs) * 2 + static_cast<uint64_t>(checks) * 4 > bytes.size() - position) {
            return fail("cut short");
        }
        replay.controls.reserve(static_cast<size_t>(steps));
        for (int64_t run = 0; run < runs; ++run) {
            uint64_t flags = 0, length = 0;
            if (!coded(flags) || !coded(length)) return fail("cut short");
            if (flags > 0x7fff) return fail("controls no game has");
            if (length == 0 || length > static_cast<uint64_t>(steps) - replay.controls.size()) {
                return fail("controls longer or shorter than the race");
            }
            replay.controls.insert(replay.controls.end(), static_cast<size_t>(length), static_cast<uint16_t>(flags));
        }
        if (replay.controls.size() != static_cast<size_t>(steps)) return fail("controls shorter than the race");
        for (int64_t check = 0; check < checks; ++check) {
            if (bytes.size() - position < 4) return fail("cut short");
            uint32_t checkValue = 0;
            for (int b = 0; b < 4; ++b) checkValue |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[position++])) << (8 * b);
            replay.checks.push_back(checkValue);
        }
        if (position != bytes.size()) return fail("bytes after its end");
        return replay;
    }

private:
    std::optional<Replay> fail(const std::string& what) {
        if (error.empty()) error = what;
        return std::nullopt;
    }

    // The next header line, without its line end; false at the end of the bytes or a line too long.
    bool nextLine(std::string& out) {
        const size_t end = bytes.find('\n', position);
        if (end == std::string::npos || end - position > maxHeaderLine) return false;
        out = bytes.substr(position, end - position);
        position = end + 1;
        return true;
    }

    bool line(const std::string& expected) {
        std::string got;
        return nextLine(got) && got == expected;
    }

    // A line "key value" whose value is 1 to 64 printable characters without spaces.
    bool text(const std::string& key, std::string& value) {
        std::string got;
        if (!nextLine(got) || got.compare(0, key.size() + 1, key + " ") != 0) {
            fail("no " + key + " line where it belongs");
            return false;
        }
        value = got.substr(key.size() + 1);
        bool printable = !value.empty() && value.size() <= maxValueLength;
        for (char c : value) printable = printable && c > ' ' && c < 127;
        if (!printable) fail("a " + key + " line without a proper value");
        return printable;
    }

    // A line "key N" with a whole number N from `low` to `high` (at most -1 below zero).
    bool number(const std::string& key, int64_t low, int64_t high, int64_t& value) {
        std::string digits;
        if (!text(key, digits)) return false;
        const bool negative = digits[0] == '-';
        const std::string magnitude = negative ? digits.substr(1) : digits;
        bool wellFormed = !magnitude.empty() && magnitude.size() <= 12 && (magnitude == "0" || magnitude[0] != '0');
        for (char c : magnitude) wellFormed = wellFormed && c >= '0' && c <= '9';
        if (wellFormed) value = (negative ? -1 : 1) * std::stoll(magnitude);
        if (!wellFormed || value < low || value > high) {
            fail("a " + key + " out of bounds");
            return false;
        }
        return true;
    }

    bool coded(uint64_t& value) {
        value = 0;
        // Three bytes hold every count a replay may have (21 bits); a longer number is refused.
        for (int shift = 0; shift < 21; shift += 7) {
            if (position >= bytes.size()) return false;
            const uint8_t byte = static_cast<uint8_t>(bytes[position++]);
            value |= static_cast<uint64_t>(byte & 0x7f) << shift;
            if ((byte & 0x80) == 0) return true;
        }
        return false;
    }

    const std::string& bytes;
    std::string& error;
    size_t position = 0;
};

}  // namespace

std::string Replay::toBytes() const {
    std::ostringstream header;
    size_t runs = 0;
    for (size_t i = 0; i < controls.size(); ++i) runs += (i == 0 || controls[i] != controls[i - 1]) ? 1 : 0;
    header << magicLine << "\nformat " << formatVersion << "\nbuild " << build << "\ncircuit " << circuit
           << "\nmedia " << media << "\nlaps " << settings.laps << "\ndrivers " << settings.computerDrivers << "\npace "
           << paceNames[static_cast<int>(settings.pace)] << "\nseed " << settings.seed << "\nsteps "
           << controls.size() << "\nfinish " << finishSteps << "\nbest-lap " << bestLapSteps << "\nruns " << runs
           << "\nchecks " << checks.size() << "\n\n";
    std::string out = header.str();
    for (size_t i = 0; i < controls.size();) {
        size_t end = i;
        while (end < controls.size() && controls[end] == controls[i]) ++end;
        appendNumber(out, controls[i]);
        appendNumber(out, end - i);
        i = end;
    }
    for (uint32_t check : checks) {
        for (int b = 0; b < 4; ++b) out += static_cast<char>((check >> (8 * b)) & 0xff);
    }
    return out;
}

std::string Replay::foreignTo(const std::string& gameBuild, const std::string& mediaBuild) const {
    if (build != gameBuild) return "recorded by game build " + build + ", this is build " + gameBuild;
    if (media != mediaBuild) {
        return "raced on circuit " + std::to_string(circuit) + " as generator build " + media + " made it, here as " +
               (mediaBuild.empty() ? std::string("unknown media") : "build " + mediaBuild) + " made it";
    }
    return "";
}

std::optional<Replay> Replay::fromBytes(const std::string& bytes, std::string& error) {
    error.clear();
    return ReplayReader(bytes, error).read();
}
