#include "audio/RaceSoundQueue.h"

#include <algorithm>

#include <LinearMath/btTransform.h>

#include "entities/Vehicle.h"
#include "game/Game.h"
#include "items/Projectile.h"

RaceSoundQueue::RaceSoundQueue(const Game& game) : game(game) { noted.reserve(capacity); }

std::vector<NotedSound> RaceSoundQueue::take() {
    std::vector<NotedSound> taken;
    taken.reserve(capacity);
    taken.swap(noted);
    return taken;
}

void RaceSoundQueue::note(const Vehicle& kart, SoundId sound, float gain) {
    // A kart rubbing along a wall bumps in every sub-step: one note per kart and sound until played.
    for (const NotedSound& earlier : noted) {
        if (earlier.sound == sound && earlier.kartSerial == kart.serial) return;
    }
    if (noted.size() >= capacity) return;
    btTransform transform;
    kart.getWorldTransform(transform);
    const bool player = !game.players.empty() && game.players.front() == &kart;
    noted.push_back({sound, transform.getOrigin(), player, kart.serial, gain});
}

void RaceSoundQueue::itemTaken(const Vehicle& kart) { note(kart, SoundId::itemTaken); }

void RaceSoundQueue::shellLaunched(const Vehicle& kart, const Projectile&, ItemType item, bool backwards) {
    note(kart, backwards ? SoundId::shellBackwards : (item == ItemType::redShell ? SoundId::redShell : SoundId::greenShell));
}

void RaceSoundQueue::shellBounced(const Projectile& shell) {
    if (noted.size() >= capacity) return;
    btTransform transform;
    shell.getWorldTransform(transform);
    noted.push_back({SoundId::shellBounce, transform.getOrigin(), false, 0, 1.0f});
}

void RaceSoundQueue::kartHit(const Vehicle& kart) { note(kart, SoundId::hit); }

void RaceSoundQueue::kartSpunOut(const Vehicle& kart) { note(kart, SoundId::spinOut); }

void RaceSoundQueue::driftBoosted(const Vehicle& kart) { note(kart, SoundId::driftBoost); }

void RaceSoundQueue::kartBumped(const Vehicle& kart, float strength) {
    note(kart, SoundId::bump, std::min(1.0f, strength / bumpFullStrength));
}

void RaceSoundQueue::turboUsed(const Vehicle& kart) { note(kart, SoundId::turbo); }

void RaceSoundQueue::flashUsed(const Vehicle& kart) { note(kart, SoundId::flash); }

void RaceSoundQueue::lineCrossed(const Vehicle& kart, int lapCounter) {
    if (game.players.empty() || game.players.front() != &kart) return;
    const int laps = game.settings.laps;
    // The counter is 1 as the race begins and laps + 1 at the finish, where the fanfare plays.
    if (lapCounter == laps) {
        note(kart, SoundId::finalLap);
    } else if (lapCounter > 1 && lapCounter < laps) {
        note(kart, SoundId::lap);
    }
}
