#pragma once

#include <memory>
#include <string>
#include <vector>

#include "game/PlayerControls.h"
#include "game/RaceSettings.h"

class Game;
class ReplayRecorder;
struct Replay;
class SoundRecorder;
class Vehicle;

// Runs a race on the real level without a window, at fixed 1/60 s sub-steps as fast as the machine allows.
class RaceRunner {
public:
    enum class PlayerMode { parked, driven };

    struct Options {
        std::string mediaPrefix;          // folder above media/
        PlayerMode player = PlayerMode::driven;
        int karts = 0;                    // 0: as the level has them; fewer races fewer computer drivers, more adds karts
        double timeLimit = 600.0;         // simulated seconds of one race
        double soakTime = 0.0;            // run races back to back (restart at each end) for this long
        unsigned int seed = 1;
        Pace pace = Pace::normal;         // of the computer drivers
        bool quiet = false;               // no per-race table
        int recordCircuit = -1;           // 0 and up: record the player's controls as a replay of this circuit
        std::string recordMedia;          // the generator build that made its media
        std::string soundOut;             // WAV file to record what the player's camera hears into
    };

    // What one vehicle did in a race.
    struct Result {
        std::string name;
        int laps = 0;
        int rank = -1;
        double finishTime = -1;       // simulated seconds, -1 = not finished
        double offCourseTime = 0;     // seconds outside every course slab
        double longestStall = 0;      // longest stretch without progress, seconds
    };

    explicit RaceRunner(const Options& options);
    ~RaceRunner();

    // Whether every computer kart finished without stalling over stallLimit or leaving the course
    // slabs, and a driven player's kart went round a lap on the road without stalling.
    static bool isSound(const std::vector<Result>& results, PlayerMode player);
    static constexpr double stallLimit = 10.0;  // seconds without progress that count as stuck

    // Runs one race (or the soak) and returns the results of the last race.
    std::vector<Result> run();
    // False when a recording was asked for and could not be written whole.
    bool recorded();

    long subSteps() const { return steps; }
    long shellsFired() const { return firedShells; }
    long shellsGone() const { return goneShells; }
    double wallSeconds() const { return elapsedWall; }
    // Wall-clock seconds to read the media and the level, as the game does before its window opens.
    double loadSeconds() const { return loadWall; }
    int racesRun() const { return races; }
    // A digest of every vehicle's final position and standing, for comparing runs.
    std::string fingerprint() const;
    // The replay of the last race, when the options ask for one.
    Replay recordedReplay() const;

private:
    struct Tracker {
        double best = -1e9;          // furthest progress reached: laps + lap fraction
        double sinceProgress = 0;
        Result result;
    };

    // The player's controls: the course driver's when it drives, none when parked.
    PlayerControls drivenControls() const;
    void adjustKartCount();
    void startRace();
    bool raceFinished() const;
    void track();
    void countShells();

    Options options;
    Game* game;
    std::unique_ptr<ReplayRecorder> replayRecorder;
    std::unique_ptr<SoundRecorder> recorder;
    std::vector<Tracker> trackers;
    std::vector<const void*> shellsInPlay;  // the shells seen after the last sub-step
    long firedShells;
    long goneShells;
    double raceTime;
    long steps;
    double elapsedWall;
    double loadWall;
    int races;
};
