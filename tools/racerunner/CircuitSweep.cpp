#include "CircuitSweep.h"

#include <algorithm>
#include <iomanip>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>

#include "Circuit.h"
#include "GeneratedMedia.h"

namespace {

const double bytesPerMegabyte = 1024.0 * 1024.0;

// The columns every race row fills; the worst row keeps the extreme of each.
struct Row {
    std::vector<double> finishTimes;  // of the computer karts, -1 when one did not finish
    double longestStall = 0;
    double offCourse = 0;
    long shells = 0;
    double loadMilliseconds = 0;
    double mediaMegabytes = 0;
};

std::string time(double seconds) {
    std::ostringstream text;
    if (seconds < 0) {
        text << "DNF";
    } else {
        text << std::fixed << std::setprecision(1) << seconds;
    }
    return text.str();
}

void printRow(const std::string& lead, const Row& row) {
    std::cout << lead;
    for (double t : row.finishTimes) std::cout << std::setw(7) << time(t);
    std::cout << std::fixed << std::setprecision(1) << std::setw(7) << row.longestStall << std::setw(7)
              << std::setprecision(2) << row.offCourse << std::setw(7) << row.shells << std::setw(8)
              << std::setprecision(0) << row.loadMilliseconds << std::setw(7) << std::setprecision(1)
              << row.mediaMegabytes << std::endl;
}

// Keeps the level loader's progress lines out of the table while it lives.
class MutedOutput {
public:
    MutedOutput() : original(std::cout.rdbuf(nullptr)) {}
    ~MutedOutput() {
        std::cout.rdbuf(original);
        std::cout.clear();
    }

private:
    std::streambuf* original;
};

// Minimum, median and maximum.
std::string spread(std::vector<double> values, int decimals) {
    if (values.empty()) return "-";
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    std::ostringstream text;
    text << std::fixed << std::setprecision(decimals) << values.front() << " / " << median << " / " << values.back();
    return text.str();
}

}  // namespace

CircuitSweep::CircuitSweep(std::vector<int> circuits, const RaceRunner::Options& options)
    : circuits(std::move(circuits)), options(options) {}

std::vector<int> CircuitSweep::parseList(const std::string& text) {
    std::vector<int> list;
    std::istringstream parts(text);
    std::string part;
    while (std::getline(parts, part, ',')) {
        const size_t dash = part.find('-');
        const std::optional<int> first = Circuit::parseNumber(part.substr(0, dash));
        const std::optional<int> last = dash == std::string::npos ? first : Circuit::parseNumber(part.substr(dash + 1));
        if (!first || !last || *last < *first) return {};
        for (int n = *first; n <= *last; ++n) list.push_back(n);
    }
    return list;
}

bool CircuitSweep::run() {
    bool sound = true;
    std::vector<double> lengths, curves, turns, heights;
    Row worst;
    double smallestRadius = 1e30;
    bool first = true;
    std::cout << "circuit length radius height race    finish time of each computer kart, s"
              << "            stall   off shells load ms  MB" << std::endl;
    for (int number : circuits) {
        const std::optional<Circuit> circuit = Circuit::make(number);
        const GeneratedMedia media(number);
        if (!circuit || !media.isReady()) {
            std::cout << std::setw(7) << number << "  could not be generated" << std::endl;
            sound = false;
            continue;
        }
        const TrackLayout& layout = circuit->layout;
        smallestRadius = std::min(smallestRadius, layout.smallestRadius());
        if (number != 0) {
            lengths.push_back(layout.length());
            curves.push_back(layout.curveCount());
            turns.push_back(layout.totalTurnDegrees());
            heights.push_back(layout.heightRange());
        }
        for (RaceRunner::PlayerMode mode : {RaceRunner::PlayerMode::parked, RaceRunner::PlayerMode::driven}) {
            RaceRunner::Options raceOptions = options;
            raceOptions.mediaPrefix = media.prefix();
            raceOptions.player = mode;
            std::unique_ptr<RaceRunner> runner;
            {
                const MutedOutput muted;
                runner.reset(new RaceRunner(raceOptions));
            }
            const std::vector<RaceRunner::Result> results = runner->run();
            Row row;
            for (const RaceRunner::Result& result : results) {
                const bool player = result.name == "Player";
                if (!player) row.finishTimes.push_back(result.finishTime);
                // A parked player's kart stands still on purpose.
                if (player && mode == RaceRunner::PlayerMode::parked) continue;
                row.longestStall = std::max(row.longestStall, result.longestStall);
                row.offCourse = std::max(row.offCourse, result.offCourseTime);
            }
            row.shells = runner->shellsFired();
            row.loadMilliseconds = runner->loadSeconds() * 1000;
            row.mediaMegabytes = media.bytes() / bytesPerMegabyte;
            const bool raceSound = RaceRunner::isSound(results, mode);
            sound = sound && raceSound;

            std::ostringstream lead;
            const bool parked = mode == RaceRunner::PlayerMode::parked;
            if (parked) {
                lead << std::setw(7) << number << std::fixed << std::setprecision(1) << std::setw(7) << layout.length()
                     << std::setw(7) << layout.smallestRadius() << std::setw(7) << layout.heightRange();
            } else {
                lead << std::string(28, ' ');
            }
            lead << (raceSound ? "  " : " !") << (parked ? "parked" : "driven");
            printRow(lead.str(), row);

            if (first) {
                worst = row;
                first = false;
                continue;
            }
            worst.finishTimes.resize(std::max(worst.finishTimes.size(), row.finishTimes.size()), 0);
            for (size_t k = 0; k < row.finishTimes.size(); ++k) {
                const double t = row.finishTimes[k], w = worst.finishTimes[k];
                worst.finishTimes[k] = (t < 0 || w < 0) ? -1 : std::max(t, w);
            }
            worst.longestStall = std::max(worst.longestStall, row.longestStall);
            worst.offCourse = std::max(worst.offCourse, row.offCourse);
            worst.shells = std::min(worst.shells, row.shells);
            worst.loadMilliseconds = std::max(worst.loadMilliseconds, row.loadMilliseconds);
            worst.mediaMegabytes = std::max(worst.mediaMegabytes, row.mediaMegabytes);
        }
    }
    std::cout << "variety over the circuits other than 0 (minimum / median / maximum): lap length "
              << spread(lengths, 0) << "; curves " << spread(curves, 0) << "; total turning, degrees "
              << spread(turns, 0) << "; height range " << spread(heights, 1) << std::endl;
    std::cout << "worst: smallest radius, slowest finish of each kart, longest stall, most time off the slabs, "
                 "fewest shells, slowest load, largest media"
              << std::endl;
    std::ostringstream lead;
    lead << "  worst" << std::string(7, ' ') << std::fixed << std::setprecision(1) << std::setw(7) << smallestRadius
         << std::string(7, ' ') << (sound ? "  " : " !") << "      ";
    printRow(lead.str(), worst);
    return sound;
}
