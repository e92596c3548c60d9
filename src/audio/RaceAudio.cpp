#include "audio/RaceAudio.h"

#include <algorithm>
#include <vector>

#include <AL/al.h>
#include <LinearMath/btTransform.h>

#include "audio/AudioDevice.h"
#include "audio/MusicStream.h"
#include "audio/SoundBank.h"
#include "audio/VoicePool.h"
#include "entities/Vehicle.h"
#include "game/Camera.h"
#include "game/Game.h"

namespace {

// Who keeps a voice when there are too few: the player's engine and the race's signals, then items
// and hits (the player's first), then loops, then the other engines, the farthest last.
const float playerEnginePriority = 100;
const float signalPriority = 95;
const float playerEventPriority = 90;
const float playerLoopPriority = 85;
const float eventPriority = 80;
const float loopPriority = 60;
const float enginePriority = 50;
const float distancePenalty = 0.05f;  // priority lost per unit from the listener
const float leastPriority = 1;

// The engine: its pitch (1 plays the recorded 90 Hz) and gain from the kart's speed and throttle.
const float idlePitch = 0.8f;
const float topSpeedPitch = 1.0f;  // added at the kart's normal top speed; a turbo goes past it
const float loadPitch = 0.08f;
const float engineGain = 0.18f;
const float loadGain = 0.14f;
const float loadFollow = 8.0f;             // per second: how fast the heard throttle follows the kart
const float coastingDeceleration = 30.0f;  // units per second squared; slowing less, the kart is under power
const float effectGain = 0.6f;
const float skidGain = 0.25f;
const float skidDriftSeconds = 0.3f;  // of hard steering before the tyres are heard sliding
const float starGain = 0.4f;
const float fanfareGain = 0.8f;

// Owners of the loops a kart holds.
enum LoopKind : uint64_t { engineLoop = 1, skidLoop = 2, starLoop = 3 };
uint64_t loopOwner(const Vehicle& kart, LoopKind kind) { return kart.serial * 4 + kind; }

struct LoopWish {
    float priority;
    uint64_t owner;
    SoundId sound;
    VoicePlacement placement;
};

VoicePlacement at(const btVector3& position, float gain, float pitch = 1.0f) {
    VoicePlacement placement;
    placement.position = position;
    placement.gain = gain;
    placement.pitch = pitch;
    return placement;
}

VoicePlacement atListener(float gain, float pitch = 1.0f) {
    VoicePlacement placement = at(btVector3(0, 0, 0), gain, pitch);
    placement.atListener = true;
    return placement;
}

btVector3 positionOf(const Vehicle& kart) {
    btTransform transform;
    kart.getWorldTransform(transform);
    return transform.getOrigin();
}

}  // namespace

RaceAudio::RaceAudio(Game& game, AudioDevice* device, const std::string& soundsFolder)
    : game(game),
      device(device),
      previousListener(game.events),
      queue(game),
      listener(0, 0, 0),
      clock(0),
      duckLeft(0),
      raceWasOver(game.raceOver),
      volume(1),
      muted(false) {
    game.events = &queue;
    if (!device) return;
    alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
    bank.reset(new SoundBank(soundsFolder));
    voices.reset(new VoicePool(AudioDevice::maxVoices));
    music.reset(new MusicStream(soundsFolder + SoundBank::musicFileName, voices->reserve()));
    music->setGain(musicGain);
}

RaceAudio::~RaceAudio() { game.events = previousListener; }

void RaceAudio::setVolume(float newVolume) {
    volume = std::max(0.0f, std::min(1.0f, newVolume));
    if (device) alListenerf(AL_GAIN, muted ? 0.0f : volume);
}

void RaceAudio::setMuted(bool newMuted) {
    muted = newMuted;
    setVolume(volume);
}

bool RaceAudio::toggleMute() {
    setMuted(!muted);
    return !muted;
}

int RaceAudio::voicesPlaying() const { return voices ? voices->playing() : 0; }

void RaceAudio::update(float seconds) {
    clock += seconds;
    if (!voices) {
        queue.take();
        return;
    }
    placeListener();
    followRaceEnd(seconds);
    playNoted();
    holdLoops(seconds);
    voices->endFrame();
    music->update();
    music->setGain(duckLeft > 0 ? duckedMusicGain : musicGain);
}

void RaceAudio::placeListener() {
    const Camera* camera = game.cameras.size() > 0 ? game.cameras[0] : nullptr;
    listener = camera ? camera->eye : btVector3(0, 0, 0);
    // Before its first frame the camera has no direction: look down the world's z axis.
    const btVector3 view = camera && camera->viewDirection.length2() > 0 ? camera->viewDirection : btVector3(0, 0, 1);
    const float orientation[] = {view.x(), view.y(), view.z(), 0, 1, 0};
    alListener3f(AL_POSITION, listener.x(), listener.y(), listener.z());
    alListenerfv(AL_ORIENTATION, orientation);
}

void RaceAudio::followRaceEnd(float seconds) {
    if (game.raceOver && !raceWasOver) {
        voices->play(bank->buffer(SoundId::fanfare), signalPriority, atListener(fanfareGain));
        duckLeft = bank->seconds(SoundId::fanfare);
    }
    raceWasOver = game.raceOver;
    duckLeft = std::max(0.0f, duckLeft - seconds);
}

void RaceAudio::playNoted() {
    for (const NotedSound& noted : queue.take()) {
        if (noted.sound == SoundId::bump) {
            KartState& kart = karts[noted.kartSerial];
            if (clock - kart.lastBump < bumpPause) continue;
            kart.lastBump = clock;
        }
        const bool signal = noted.sound == SoundId::lap || noted.sound == SoundId::finalLap;
        const float distance = noted.position.distance(listener);
        const float priority = signal ? signalPriority
                               : noted.player ? playerEventPriority
                                              : std::max(leastPriority, eventPriority - distance * distancePenalty);
        const float gain = effectGain * noted.gain;
        voices->play(bank->buffer(noted.sound), priority, signal ? atListener(gain) : at(noted.position, gain));
    }
}

void RaceAudio::holdLoops(float seconds) {
    for (auto& entry : karts) entry.second.seen = false;
    std::vector<LoopWish> wishes;
    const Vehicle* player = game.players.empty() ? nullptr : game.players.front();
    for (int i = 0; i < game.vehicles.size(); ++i) {
        const Vehicle& kart = *game.vehicles[i];
        KartState& state = karts[kart.serial];
        state.seen = true;
        const bool own = &kart == player;
        const btVector3 position = positionOf(kart);
        const float far = position.distance(listener) * distancePenalty;

        // Under power unless the kart slows as fast as coasting slows it.
        const float slowing = seconds > 0 ? (state.speed - kart.speed) / seconds : 0;
        const float throttle = kart.speed > 0 && slowing < coastingDeceleration ? 1.0f : 0.0f;
        state.load += (throttle - state.load) * std::min(1.0f, loadFollow * seconds);
        state.speed = kart.speed;
        const float pitch = idlePitch + topSpeedPitch * kart.speed / kart.normalMaxSpeed + loadPitch * state.load;
        const float gain = engineGain + loadGain * state.load;
        wishes.push_back({own ? playerEnginePriority : std::max(leastPriority, enginePriority - far),
                          loopOwner(kart, engineLoop), SoundId::engine,
                          own ? atListener(gain, pitch) : at(position, gain, pitch)});

        const float loop = own ? playerLoopPriority : std::max(leastPriority, loopPriority - far);
        const bool sliding = kart.driftHeld || kart.driftTime > skidDriftSeconds;
        if (sliding && kart.onGround() && kart.speed > kart.driftMinSpeed) {
            wishes.push_back({loop, loopOwner(kart, skidLoop), SoundId::skid, at(position, skidGain)});
        }
        if (kart.starTimeLeft > 0) {
            wishes.push_back({loop, loopOwner(kart, starLoop), SoundId::star, at(position, starGain)});
        }
    }
    for (auto entry = karts.begin(); entry != karts.end();) {
        entry = entry->second.seen ? std::next(entry) : karts.erase(entry);
    }
    // The most important first, so that a loop never takes the voice of one that outranks it.
    std::stable_sort(wishes.begin(), wishes.end(),
                     [](const LoopWish& a, const LoopWish& b) { return a.priority > b.priority; });
    for (const LoopWish& wish : wishes) voices->hold(wish.owner, bank->buffer(wish.sound), wish.priority, wish.placement);
}
