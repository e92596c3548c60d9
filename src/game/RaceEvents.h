#pragma once

#include "entities/ItemType.h"

class Projectile;
class Vehicle;

// What happens in a race, told to whoever listens outside the simulation (sound, for one). Called
// from inside the physics sub-step: a listener notes what it needs and changes nothing in the race.
// Continuous state (speed, drifting, a star's glow) is read from the karts themselves.
class RaceEvents {
public:
    virtual ~RaceEvents() = default;

    // A kart drove over an active item field and drew an item.
    virtual void itemTaken(const Vehicle&) {}
    // A shell left a kart: `item` is greenShell or redShell; `backwards` for one dropped behind.
    virtual void shellLaunched(const Vehicle&, const Projectile&, ItemType, bool /*backwards*/) {}
    // A shell glanced off a wall and flies on.
    virtual void shellBounced(const Projectile&) {}
    // A kart was hit (shell, star, a bigger kart while shrunk) and starts to spin.
    virtual void kartHit(const Vehicle&) {}
    // A kart spun out of a drift held too long.
    virtual void kartSpunOut(const Vehicle&) {}
    // A long drift turns faster from now on.
    virtual void driftBoosted(const Vehicle&) {}
    // A kart drove into a wall or another kart; `strength` is the knock-back's, in units per second.
    virtual void kartBumped(const Vehicle&, float /*strength*/) {}
    virtual void turboUsed(const Vehicle&) {}
    virtual void starUsed(const Vehicle&) {}
    virtual void flashUsed(const Vehicle&) {}
    // A kart crossed the start line forwards; `lapCounter` is its count after the crossing: 1 as the
    // race begins, n + 1 when lap n is done, laps + 1 at the finish.
    virtual void lineCrossed(const Vehicle&, int /*lapCounter*/) {}
    // A kart finished the race in `rank`.
    virtual void kartFinished(const Vehicle&, int /*rank*/) {}
};
