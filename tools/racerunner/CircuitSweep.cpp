#include "CircuitSweep.h"

#include <algorithm>
#include <iomanip>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

#include "Circuit.h"
#include "GeneratedMedia.h"

namespace {

const double bytesPerMegabyte = 1024.0 * 1024.0;
const RaceRunner::PlayerMode modes[2] = {RaceRunner::PlayerMode::parked, RaceRunner::PlayerMode::driven};

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

std::string time(double seconds) {
    std::ostringstream text;
    if (seconds < 0) {
        text << "DNF";
    } else {
        text << std::fixed << std::setprecision(1) << seconds;
    }
    return text.str();
}

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

CircuitSweep::CircuitSweep(std::vector<int> circuits, const RaceRunner::Options& options, int jobs)
    : circuits(std::move(circuits)), options(options), jobs(std::max(1, jobs)) {}

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

CircuitSweep::Outcome CircuitSweep::raceCircuit(int number) const {
    Outcome outcome;
    const std::optional<Circuit> circuit = Circuit::make(number);
    const GeneratedMedia media(number);
    if (!circuit || !media.isReady()) return outcome;
    const TrackLayout& layout = circuit->layout;
    outcome = {true,
               layout.length(),
               layout.smallestRadius(),
               layout.heightRange(),
               static_cast<double>(layout.curveCount()),
               layout.totalTurnDegrees(),
               {}};
    for (int m = 0; m < 2; ++m) {
        RaceRunner::Options raceOptions = options;
        raceOptions.mediaPrefix = media.prefix();
        raceOptions.player = modes[m];
        std::unique_ptr<RaceRunner> runner;
        {
            const MutedOutput muted;
            runner.reset(new RaceRunner(raceOptions));
        }
        const std::vector<RaceRunner::Result> results = runner->run();
        Race& race = outcome.races[m];
        for (const RaceRunner::Result& result : results) {
            const bool player = result.name == "Player";
            if (!player) race.finishTimes.push_back(result.finishTime);
            // A parked player's kart stands still on purpose.
            if (player && modes[m] == RaceRunner::PlayerMode::parked) continue;
            race.longestStall = std::max(race.longestStall, result.longestStall);
            race.offCourse = std::max(race.offCourse, result.offCourseTime);
        }
        race.shells = runner->shellsFired();
        race.loadMilliseconds = runner->loadSeconds() * 1000;
        race.mediaMegabytes = media.bytes() / bytesPerMegabyte;
        race.sound = RaceRunner::isSound(results, modes[m]);
    }
    return outcome;
}

std::string CircuitSweep::encode(const Outcome& outcome) {
    std::ostringstream text;
    text << std::setprecision(17) << outcome.generated << ' ' << outcome.length << ' ' << outcome.smallestRadius << ' '
         << outcome.heightRange << ' ' << outcome.curves << ' ' << outcome.turnDegrees;
    for (const Race& race : outcome.races) {
        text << ' ' << race.finishTimes.size();
        for (double t : race.finishTimes) text << ' ' << t;
        text << ' ' << race.longestStall << ' ' << race.offCourse << ' ' << race.shells << ' ' << race.loadMilliseconds
             << ' ' << race.mediaMegabytes << ' ' << race.sound;
    }
    return text.str();
}

CircuitSweep::Outcome CircuitSweep::decode(const std::string& text) {
    std::istringstream in(text);
    Outcome outcome;
    in >> outcome.generated >> outcome.length >> outcome.smallestRadius >> outcome.heightRange >> outcome.curves >>
        outcome.turnDegrees;
    for (Race& race : outcome.races) {
        size_t karts = 0;
        in >> karts;
        race.finishTimes.assign(in ? karts : 0, -1);
        for (double& t : race.finishTimes) in >> t;
        in >> race.longestStall >> race.offCourse >> race.shells >> race.loadMilliseconds >> race.mediaMegabytes >>
            race.sound;
    }
    // A child that died before it wrote everything raced nothing.
    if (!in) outcome = Outcome();
    return outcome;
}

bool CircuitSweep::run() {
    // Each circuit races in a child process, which writes its outcome as one line to a pipe.
    std::map<pid_t, std::pair<size_t, int>> running;  // child: circuit index, reading end
    std::vector<std::optional<Outcome>> outcomes(circuits.size());
    size_t next = 0, printed = 0;
    std::vector<double> lengths, curves, turns, heights;
    Race worst;
    double smallestRadius = 1e30;
    bool sound = true, first = true;
    std::cout << "circuit length radius height race    finish time of each computer kart, s"
              << "            stall   off shells load ms  MB" << std::endl;
    while (printed < circuits.size()) {
        while (next < circuits.size() && static_cast<int>(running.size()) < jobs) {
            int ends[2];
            if (pipe(ends) != 0) return false;
            std::cout.flush();
            const pid_t child = fork();
            if (child == 0) {
                close(ends[0]);
                const std::string line = encode(raceCircuit(circuits[next])) + "\n";
                const ssize_t written = write(ends[1], line.data(), line.size());
                _exit(written == static_cast<ssize_t>(line.size()) ? 0 : 1);
            }
            close(ends[1]);
            if (child < 0) return false;
            running[child] = {next++, ends[0]};
        }
        const pid_t done = wait(nullptr);
        const auto found = running.find(done);
        if (found == running.end()) continue;
        std::string line;
        char buffer[4096];
        for (ssize_t n; (n = read(found->second.second, buffer, sizeof buffer)) > 0;) line.append(buffer, n);
        close(found->second.second);
        outcomes[found->second.first] = decode(line);
        running.erase(found);

        // Rows in the order of the list, as soon as the circuits before them are done.
        for (; printed < circuits.size() && outcomes[printed]; ++printed) {
            const int number = circuits[printed];
            const Outcome& outcome = *outcomes[printed];
            if (!outcome.generated) {
                std::cout << std::setw(7) << number << "  could not be generated or raced" << std::endl;
                sound = false;
                continue;
            }
            smallestRadius = std::min(smallestRadius, outcome.smallestRadius);
            if (number != 0) {
                lengths.push_back(outcome.length);
                curves.push_back(outcome.curves);
                turns.push_back(outcome.turnDegrees);
                heights.push_back(outcome.heightRange);
            }
            for (int m = 0; m < 2; ++m) {
                const Race& race = outcome.races[m];
                sound = sound && race.sound;
                std::ostringstream lead;
                if (m == 0) {
                    lead << std::setw(7) << number << std::fixed << std::setprecision(1) << std::setw(7)
                         << outcome.length << std::setw(7) << outcome.smallestRadius << std::setw(7)
                         << outcome.heightRange;
                } else {
                    lead << std::string(28, ' ');
                }
                lead << (race.sound ? "  " : " !") << (m == 0 ? "parked" : "driven");
                print(lead.str(), race);
                if (first) {
                    worst = race;
                    first = false;
                    continue;
                }
                worst.finishTimes.resize(std::max(worst.finishTimes.size(), race.finishTimes.size()), 0);
                for (size_t k = 0; k < race.finishTimes.size(); ++k) {
                    const double t = race.finishTimes[k], w = worst.finishTimes[k];
                    worst.finishTimes[k] = (t < 0 || w < 0) ? -1 : std::max(t, w);
                }
                worst.longestStall = std::max(worst.longestStall, race.longestStall);
                worst.offCourse = std::max(worst.offCourse, race.offCourse);
                worst.shells = std::min(worst.shells, race.shells);
                worst.loadMilliseconds = std::max(worst.loadMilliseconds, race.loadMilliseconds);
                worst.mediaMegabytes = std::max(worst.mediaMegabytes, race.mediaMegabytes);
            }
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
    print(lead.str(), worst);
    return sound;
}

void CircuitSweep::print(const std::string& lead, const Race& race) {
    std::cout << lead;
    for (double t : race.finishTimes) std::cout << std::setw(7) << time(t);
    std::cout << std::fixed << std::setprecision(1) << std::setw(7) << race.longestStall << std::setw(7)
              << std::setprecision(2) << race.offCourse << std::setw(7) << race.shells << std::setw(8)
              << std::setprecision(0) << race.loadMilliseconds << std::setw(7) << std::setprecision(1)
              << race.mediaMegabytes << std::endl;
}
