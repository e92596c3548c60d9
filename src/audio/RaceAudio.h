#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include <LinearMath/btVector3.h>

#include "audio/RaceSoundQueue.h"

class AudioDevice;
class Game;
class MusicStream;
class SoundBank;
class Vehicle;
class VoicePool;

// What the player hears of a race: an engine per kart following its speed and throttle, skid and star
// loops, a sound for every event, the lap signals, the finish fanfare and the circuit's music, with
// the listener at the camera. Reads the game once per frame and changes nothing in it. Without a
// device it only keeps its volume and mute settings.
class RaceAudio {
public:
    // Plays `game` through `device` (may be null) with the sounds in `soundsFolder` (ending in "/");
    // listens to the game's events until it goes.
    RaceAudio(Game& game, AudioDevice* device, const std::string& soundsFolder);
    ~RaceAudio();
    RaceAudio(const RaceAudio&) = delete;
    RaceAudio& operator=(const RaceAudio&) = delete;

    // Once per frame, after drawing: `seconds` since the last frame.
    void update(float seconds);

    // Master volume, 0 to 1.
    void setVolume(float volume);
    void setMuted(bool muted);
    bool isMuted() const { return muted; }
    // Flips the mute; returns whether sound is now on (for the M key).
    bool toggleMute();

    // Voices of the pool playing now (the music has one of its own beside them).
    int voicesPlaying() const;

    static constexpr float musicGain = 0.25f;
    static constexpr float duckedMusicGain = 0.06f;  // under the fanfare
    static constexpr float bumpPause = 0.3f;         // seconds before a kart's next bump sounds

private:
    // What the audio remembers of a kart between frames.
    struct KartState {
        float speed = 0;     // at the last frame
        float load = 0;      // 0 coasting to 1 under full throttle, smoothed
        float lastBump = -1; // audio clock of its last bump sound
        bool seen = false;   // this frame
    };

    void placeListener();
    void playNoted();
    void holdLoops(float seconds);
    void followRaceEnd(float seconds);

    Game& game;
    AudioDevice* device;
    RaceEvents* previousListener;
    RaceSoundQueue queue;
    // In this order, so that the music lets go of its voice, and the voices of the buffers, before
    // those go.
    std::unique_ptr<SoundBank> bank;
    std::unique_ptr<VoicePool> voices;
    std::unique_ptr<MusicStream> music;
    std::map<uint64_t, KartState> karts;  // by Vehicle::serial: ordered, so every run plays alike
    btVector3 listener;  // where the camera is this frame
    float clock;       // seconds of audio updates
    float duckLeft;    // seconds of the fanfare still to play over ducked music
    bool raceWasOver;
    float volume;
    bool muted;
};
