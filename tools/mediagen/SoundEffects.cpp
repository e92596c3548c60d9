#include "SoundEffects.h"

#include <filesystem>

#include "MediaNames.h"
#include "MusicComposer.h"
#include "Oscillator.h"
#include "PortableMath.h"
#include "Smoother.h"
#include "SoundBuffer.h"

namespace {

using Shape = Oscillator::Shape;

const double pi = 3.14159265358979323846;
const double effectPeak = 0.9;  // of full scale: the mixer adds voices, so none starts at the limit

double decay(double t, double seconds) { return portable::exp(-t / seconds); }
double rise(double t, double seconds) { return t < seconds ? t / seconds : 1.0; }
// An exponential glide from `from` to `to` hertz over `seconds`, held after.
double glide(double from, double to, double t, double seconds) {
    return from * portable::pow(to / from, t < seconds ? t / seconds : 1.0);
}

// The engine: a fundamental at 90 Hz over a firing rumble at 45 Hz, in a loop of whole periods of
// both. The game bends its pitch with the kart's speed; the fundamental stays the loudest partial,
// so the note heard is its frequency.
SoundBuffer engine() {
    const double fundamental = 90;
    const int rumblePeriod = 2 * static_cast<int>(SoundBuffer::sampleRate / fundamental);  // 490 samples
    SoundBuffer sound(22.0 * rumblePeriod / SoundBuffer::sampleRate);
    const double partials[] = {1.0, 0.45, 0.3, 0.18, 0.1};
    sound.add(0, sound.seconds(), [&](double t) {
        double value = 0.2 * portable::sin(pi * fundamental * t);
        for (int k = 0; k < 5; ++k) value += partials[k] * portable::sin(2 * pi * fundamental * (k + 1) * t);
        return value * (1 + 0.25 * portable::sin(pi * fundamental * t + 1));
    });
    sound.normalize(effectPeak);
    return sound;
}

// Tyres sliding: a band of noise and a wavering squeal.
SoundBuffer skid() {
    SoundBuffer sound(1.2);
    Oscillator noise(Shape::noise, 11), squeal(Shape::sine);
    Smoother upper(2500), lower(500);
    sound.add(0, sound.seconds(), [&](double t) {
        const double n = noise.next(0);
        const double band = upper.next(n) - lower.next(n);
        return band + 0.35 * squeal.next(1100 + 40 * portable::sin(2 * pi * 7 * t));
    });
    sound.crossfadeLoop(0.2);
    sound.normalize(effectPeak);
    return sound;
}

// The star: a bright arpeggio up and down two octaves, sixteen notes in a loop.
SoundBuffer star() {
    const double noteSeconds = 0.1;
    const int steps[] = {3, 7, 10, 15, 19, 22, 27, 31, 34, 31, 27, 22, 19, 15, 10, 7};
    SoundBuffer sound(16 * noteSeconds);
    for (int i = 0; i < 16; ++i) {
        Oscillator tone(Shape::square);
        Smoother soft(3000);
        const double frequency = Oscillator::noteFrequency(steps[i]);
        sound.add(i * noteSeconds, 0.3, [=](double t) mutable { return soft.next(tone.next(frequency)) * decay(t, 0.06); },
                  true);
    }
    sound.normalize(effectPeak * 0.7);
    return sound;
}

// Notes of a chime: a triangle tone per step, each `spacing` seconds after the last.
SoundBuffer chime(std::initializer_list<int> steps, double spacing, double ring) {
    SoundBuffer sound(spacing * (steps.size() - 1) + ring);
    double start = 0;
    for (int step : steps) {
        Oscillator tone(Shape::triangle);
        const double frequency = Oscillator::noteFrequency(step);
        sound.add(start, ring, [=](double t) mutable { return tone.next(frequency) * rise(t, 0.005) * decay(t, ring / 4); });
        start += spacing;
    }
    sound.normalize(effectPeak);
    return sound;
}

// A bell: a sine with the inharmonic partials of a struck bar.
SoundBuffer bells(std::initializer_list<int> steps, double spacing, double ring) {
    SoundBuffer sound(spacing * (steps.size() - 1) + ring);
    double start = 0;
    for (int step : steps) {
        const double f = Oscillator::noteFrequency(step);
        sound.add(start, ring, [=](double t) {
            const double body = portable::sin(2 * pi * f * t) + 0.5 * portable::sin(2 * pi * 2.76 * f * t) * decay(t, ring / 8);
            return (body + 0.25 * portable::sin(2 * pi * 5.4 * f * t) * decay(t, ring / 16)) * rise(t, 0.003) *
                   decay(t, ring / 3);
        });
        start += spacing;
    }
    sound.normalize(effectPeak);
    return sound;
}

// A shell leaving: a rush of air whose brightness follows a tone gliding from `from` to `to`.
SoundBuffer whoosh(double from, double to, double seconds, uint64_t seed) {
    SoundBuffer sound(seconds);
    Oscillator noise(Shape::noise, seed), tone(Shape::saw);
    Smoother air(1500), body(1200);
    sound.add(0, seconds, [=](double t) mutable {
        const double f = glide(from, to, t, seconds);
        const double envelope = rise(t, 0.03) * decay(t, seconds / 3);
        return (air.next(noise.next(0)) * 1.5 + 0.5 * body.next(tone.next(f))) * envelope;
    });
    return sound;
}

SoundBuffer redShell() {
    SoundBuffer sound = whoosh(250, 800, 0.5, 21);
    // Two beeps: it has found its mark.
    for (double start : {0.12, 0.27}) {
        Oscillator beep(Shape::square);
        Smoother soft(4000);
        sound.add(start, 0.1, [=](double t) mutable { return 0.35 * soft.next(beep.next(1320)) * decay(t, 0.05); });
    }
    sound.normalize(effectPeak);
    return sound;
}

SoundBuffer normalized(SoundBuffer sound) {
    sound.normalize(effectPeak);
    return sound;
}

// A shell glancing off a wall: a short knock falling in pitch.
SoundBuffer bounce() {
    SoundBuffer sound(0.2);
    Oscillator knock(Shape::sine);
    sound.add(0, 0.2, [=](double t) mutable { return knock.next(glide(900, 300, t, 0.12)) * decay(t, 0.05); });
    return normalized(sound);
}

// A kart hit: a crash of noise over a low thump and a falling buzz.
SoundBuffer hit() {
    SoundBuffer sound(0.5);
    Oscillator noise(Shape::noise, 31), thump(Shape::sine), buzz(Shape::square);
    Smoother soft(3000), buzzSoft(1500);
    sound.add(0, 0.5, [=](double t) mutable {
        return soft.next(noise.next(0)) * decay(t, 0.08) + thump.next(glide(90, 45, t, 0.3)) * decay(t, 0.15) +
               0.4 * buzzSoft.next(buzz.next(glide(220, 70, t, 0.4))) * decay(t, 0.2);
    });
    return normalized(sound);
}

// A spin: a whirling tone winding down.
SoundBuffer spin() {
    SoundBuffer sound(0.9);
    Oscillator whirl(Shape::triangle);
    sound.add(0, 0.9, [=](double t) mutable {
        const double f = glide(700, 250, t, 0.9) * (1 + 0.25 * portable::sin(2 * pi * 9 * t));
        return whirl.next(f) * rise(t, 0.01) * decay(t, 0.35);
    });
    return normalized(sound);
}

// A drift boost: a quick zip upwards.
SoundBuffer driftBoost() {
    SoundBuffer sound(0.3);
    Oscillator zip(Shape::saw);
    Smoother soft(2500);
    sound.add(0, 0.3, [=](double t) mutable { return soft.next(zip.next(glide(200, 1200, t, 0.25))) * decay(t, 0.1); });
    return normalized(sound);
}

// A kart against a wall or another kart: a dull thud and a click.
SoundBuffer bump() {
    SoundBuffer sound(0.25);
    Oscillator thud(Shape::sine), click(Shape::noise, 41);
    Smoother soft(1200);
    sound.add(0, 0.25, [=](double t) mutable {
        return thud.next(glide(80, 50, t, 0.2)) * decay(t, 0.06) + 0.6 * soft.next(click.next(0)) * decay(t, 0.02);
    });
    return normalized(sound);
}

// Turbo: a roar opening up as a saw climbs two octaves.
SoundBuffer turbo() {
    SoundBuffer sound(1.0);
    Oscillator roar(Shape::noise, 51), drive(Shape::saw);
    Smoother body(2000);
    double value = 0;
    sound.add(0, 1.0, [=](double t) mutable {
        // The noise brightens as the cutoff rises: a one-pole filter whose share grows with time.
        value += (roar.next(0) - value) * (0.05 + 0.4 * rise(t, 0.6));
        return (value + 0.6 * body.next(drive.next(glide(110, 440, t, 0.7)))) * rise(t, 0.05) * decay(t, 0.45);
    });
    return normalized(sound);
}

// Flash: a zap falling from high to low with a shimmer.
SoundBuffer flash() {
    SoundBuffer sound(0.6);
    Oscillator zap(Shape::square), shimmer(Shape::sine);
    Smoother soft(5000);
    sound.add(0, 0.6, [=](double t) mutable {
        const double f = glide(3000, 300, t, 0.5);
        return (0.6 * soft.next(zap.next(f)) + 0.4 * shimmer.next(f * 1.5 * (1 + 0.05 * portable::sin(2 * pi * 30 * t)))) *
               decay(t, 0.18);
    });
    return normalized(sound);
}

// The finish: a brass chord progression, saw tones softened, the last chord held.
SoundBuffer fanfare() {
    const double beat = 0.22;
    struct Chord {
        double start;
        double length;
        int steps[3];
    } chords[] = {{0, 1, {3, 7, 10}}, {beat, 1, {3, 7, 10}}, {2 * beat, 1, {3, 7, 10}},
                  {3 * beat, 3, {8, 12, 15}}, {6 * beat, 2, {10, 14, 17}}, {8 * beat, 4, {15, 19, 22}}};
    SoundBuffer sound(12 * beat + 0.3);
    for (const Chord& chord : chords) {
        for (int step : chord.steps) {
            Oscillator brass(Shape::saw);
            Smoother soft(1800);
            const double frequency = Oscillator::noteFrequency(step - 12);
            const double length = chord.length * beat;
            sound.add(chord.start, length + 0.3, [=](double t) mutable {
                const double release = t < length ? 1.0 : decay(t - length, 0.08);
                return soft.next(brass.next(frequency * (1 + 0.004 * portable::sin(2 * pi * 5 * t)))) * rise(t, 0.02) *
                       release;
            });
        }
    }
    return normalized(sound);
}

}  // namespace

std::map<std::string, SoundBuffer> SoundEffects::all() {
    std::map<std::string, SoundBuffer> sounds;
    sounds.emplace(soundFile::engine, engine());
    sounds.emplace(soundFile::skid, skid());
    sounds.emplace(soundFile::star, star());
    sounds.emplace(soundFile::itemTaken, chime({7, 14, 19}, 0.06, 0.3));
    sounds.emplace(soundFile::greenShell, normalized(whoosh(300, 900, 0.4, 13)));
    sounds.emplace(soundFile::redShell, redShell());
    sounds.emplace(soundFile::shellBackwards, normalized(whoosh(700, 200, 0.4, 17)));
    sounds.emplace(soundFile::shellBounce, bounce());
    sounds.emplace(soundFile::hit, hit());
    sounds.emplace(soundFile::spinOut, spin());
    sounds.emplace(soundFile::driftBoost, driftBoost());
    sounds.emplace(soundFile::bump, bump());
    sounds.emplace(soundFile::turbo, turbo());
    sounds.emplace(soundFile::flash, flash());
    sounds.emplace(soundFile::lap, bells({10, 17}, 0.15, 0.7));
    sounds.emplace(soundFile::finalLap, bells({10, 14, 17, 22}, 0.14, 0.8));
    sounds.emplace(soundFile::fanfare, fanfare());
    return sounds;
}

bool SoundEffects::writeAll(const std::string& directory, int circuit) {
    for (const auto& entry : all()) {
        if (!entry.second.saveWav((std::filesystem::path(directory) / entry.first).string())) return false;
    }
    return MusicComposer(circuit).compose().saveWav((std::filesystem::path(directory) / soundFile::music).string());
}
