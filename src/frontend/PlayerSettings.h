#pragma once

#include "game/RaceSettings.h"

// How loud the game plays, as the race's audio takes it.
struct SoundLevel {
    static constexpr int maxVolume = 100;
    static constexpr int volumeStep = 10;

    int volume = 80;  // percent of full loudness, in steps of volumeStep
    bool muted = false;

    // The volume as a share of full loudness, 0 to 1.
    float volumeShare() const { return static_cast<float>(volume) / maxVolume; }
    bool operator==(const SoundLevel& other) const { return volume == other.volume && muted == other.muted; }
};

// What the player chose in the front end and keeps from one start to the next.
struct PlayerSettings {
    int circuit = 0;
    RaceSettings race;  // laps, computer drivers and their pace; the seed is not kept
    bool fullScreen = true;
    SoundLevel sound;

    bool operator==(const PlayerSettings& other) const {
        return circuit == other.circuit && race.laps == other.race.laps &&
               race.computerDrivers == other.race.computerDrivers && race.pace == other.race.pace &&
               fullScreen == other.fullScreen && sound == other.sound;
    }
    bool operator!=(const PlayerSettings& other) const { return !(*this == other); }
};
