#pragma once

#include <cstdint>
#include <vector>

#include <LinearMath/btVector3.h>

#include "audio/SoundId.h"
#include "game/RaceEvents.h"

class Game;

// One sound a race event asks for, noted by value: the kart it came from may be gone by the frame
// that plays it (a restart deletes every kart).
struct NotedSound {
    SoundId sound;
    btVector3 position;
    bool player;          // from the player's kart, or a signal for the player
    uint64_t kartSerial;  // Vehicle::serial of the kart it came from
    float gain;
};

// Hears the race's events inside the physics sub-step and only notes the sounds they ask for; the
// audio plays them once per frame. Changes nothing in the race.
class RaceSoundQueue : public RaceEvents {
public:
    explicit RaceSoundQueue(const Game& game);

    // The sounds noted since the last call, oldest first; the queue is emptied.
    std::vector<NotedSound> take();

    void itemTaken(const Vehicle& kart) override;
    void shellLaunched(const Vehicle& kart, const Projectile& shell, ItemType item, bool backwards) override;
    void shellBounced(const Projectile& shell) override;
    void kartHit(const Vehicle& kart) override;
    void kartSpunOut(const Vehicle& kart) override;
    void driftBoosted(const Vehicle& kart) override;
    void kartBumped(const Vehicle& kart, float strength) override;
    void turboUsed(const Vehicle& kart) override;
    void flashUsed(const Vehicle& kart) override;
    void lineCrossed(const Vehicle& kart, int lapCounter) override;

    // Sounds kept between two frames at most; more in one frame (ten sub-steps of 32 karts against
    // the walls) are dropped, the first ones kept.
    static constexpr size_t capacity = 64;
    static constexpr float bumpFullStrength = 40.0f;  // units per second: a bump this hard plays at full gain

private:
    void note(const Vehicle& kart, SoundId sound, float gain = 1.0f);

    const Game& game;
    std::vector<NotedSound> noted;
};
