#include "replay/RaceCheck.h"

#include <cstring>

#include <btBulletDynamicsCommon.h>

#include "entities/DynamicEntity.h"
#include "entities/EntityTag.h"
#include "entities/Vehicle.h"
#include "game/Game.h"
#include "items/Projectile.h"

namespace {

// FNV-1a over the bytes of each value as it lies in memory: the same bits give the same value.
class Digest {
public:
    template <typename T>
    void add(const T& value) {
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof(T));
        for (unsigned char b : bytes) hash = (hash ^ b) * 1099511628211ull;
    }
    void add(const btTransform& transform) {
        const btVector3& o = transform.getOrigin();
        const btQuaternion q = transform.getRotation();
        for (float v : {o.x(), o.y(), o.z(), q.x(), q.y(), q.z(), q.w()}) add(v);
    }
    uint32_t value() const { return static_cast<uint32_t>(hash ^ (hash >> 32)); }

private:
    uint64_t hash = 1469598103934665603ull;
};

}  // namespace

uint32_t raceCheckValue(const Game& game) {
    Digest digest;
    digest.add(game.raceSteps);
    for (int i = 0; i < game.vehicles.size(); ++i) {
        const Vehicle& kart = *game.vehicles[i];
        btTransform transform;
        kart.getWorldTransform(transform);
        digest.add(transform);
        for (float v : {kart.speed, kart.steer, kart.driftTime, kart.spinTimeLeft, kart.pushStrength,
                        kart.turboTimeLeft, kart.starTimeLeft, kart.flashTimeLeft}) {
            digest.add(v);
        }
        digest.add(static_cast<int32_t>(kart.heldItem));
        const RaceRecord& record = game.raceRecords[i];
        digest.add(record.lap);
        digest.add(record.rank);
        digest.add(record.segment);
    }
    // Crates and barrels by their bodies' own transforms: what a frame draws is interpolated by frame time.
    for (int i = 0; i < game.entities.size(); ++i) {
        if (game.entities[i]->tag->kind != EntityKind::Dynamic) continue;
        digest.add(static_cast<const DynamicEntity*>(game.entities[i])->body->getWorldTransform());
    }
    for (int i = 0; i < game.projectiles.size(); ++i) {
        btTransform transform;
        game.projectiles[i]->getWorldTransform(transform);
        digest.add(transform);
    }
    return digest.value();
}

const RaceRecord* playerRecord(const Game& game) {
    if (game.players.empty()) return nullptr;
    const int index = game.vehicles.findLinearSearch(game.players.front());
    return index < game.vehicles.size() ? &game.raceRecords[index] : nullptr;
}
