#include "MusicComposer.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "Oscillator.h"
#include "PortableMath.h"
#include "Random.h"
#include "Smoother.h"
#include "SoundBuffer.h"

namespace {

using Shape = Oscillator::Shape;

const int bars = 8;
const int beatsPerBar = 4;
const double musicPeak = 0.8;

struct Mode {
    const char* name;
    int steps[7];  // semitones of the seven degrees above the key
};
const Mode modes[] = {{"major", {0, 2, 4, 5, 7, 9, 11}},
                      {"minor", {0, 2, 3, 5, 7, 8, 10}},
                      {"dorian", {0, 2, 3, 5, 7, 9, 10}},
                      {"mixolydian", {0, 2, 4, 5, 7, 9, 10}}};
// Degrees of the four chords of a phrase.
const int progressions[][4] = {{0, 5, 3, 4}, {0, 3, 4, 0}, {0, 4, 5, 3}, {5, 3, 0, 4}, {0, 6, 3, 4}, {0, 3, 5, 4}};
const Shape leadShapes[] = {Shape::square, Shape::saw, Shape::triangle, Shape::sine};
const char* const leadNames[] = {"square", "saw", "triangle", "sine"};
const Shape bassShapes[] = {Shape::saw, Shape::square, Shape::triangle};
const char* const keyNames[] = {"A", "B flat", "B", "C", "C sharp", "D", "E flat", "E", "F", "F sharp", "G", "A flat"};

double decay(double t, double seconds) { return portable::exp(-t / seconds); }

// Semitones above A 440 of a scale degree (any integer: degrees past 6 climb an octave).
int pitchOf(const Mode& mode, int key, int degree, int octave) {
    const int wrapped = ((degree % 7) + 7) % 7;
    const int octaves = (degree - wrapped) / 7 + octave;
    return key + mode.steps[wrapped] + 12 * octaves;
}

// One note of a pitched instrument: a shape softened by a low-pass, with a short attack and a
// release after `length` seconds.
void addNote(SoundBuffer& music, double start, double length, Shape shape, int semitones, double volume,
             double brightness) {
    Oscillator tone(shape);
    Smoother soft(brightness);
    const double frequency = Oscillator::noteFrequency(semitones);
    music.add(start, length + 0.1, [=](double t) mutable {
        const double envelope = (t < 0.005 ? t / 0.005 : 1.0) * (t < length ? 1.0 : decay(t - length, 0.03));
        return soft.next(tone.next(frequency)) * envelope * volume;
    }, true);
}

void addKick(SoundBuffer& music, double start) {
    Oscillator body(Shape::sine);
    music.add(start, 0.25, [=](double t) mutable {
        return 0.9 * body.next(50 + 100 * decay(t, 0.03)) * decay(t, 0.09);
    }, true);
}

void addNoiseHit(SoundBuffer& music, double start, double length, double volume, double brightness, uint64_t seed) {
    Oscillator noise(Shape::noise, seed);
    Smoother low(brightness);
    music.add(start, length, [=](double t) mutable {
        const double n = noise.next(0);
        return (n - low.next(n)) * volume * decay(t, length / 4);
    }, true);
}

}  // namespace

MusicComposer::MusicComposer(int circuit) : circuit(circuit) {
    Random random(0x5EED0000ull + static_cast<uint64_t>(circuit) * 7919);
    tempo = slowestTempo + static_cast<int>(random.next() % (fastestTempo - slowestTempo + 1));
    key = static_cast<int>(random.next() % 12);
    scale = static_cast<int>(random.next() % 4);
    leadShape = static_cast<int>(random.next() % 4);
    bassShape = static_cast<int>(random.next() % 3);
    progression = static_cast<int>(random.next() % 6);
}

std::string MusicComposer::describe() const {
    return std::to_string(tempo) + " bpm, " + keyNames[key] + " " + modes[scale].name + ", " + leadNames[leadShape] +
           " lead";
}

SoundBuffer MusicComposer::compose() const {
    // A whole number of samples per beat, so that the loop is exactly eight bars long.
    const long beatSamples = std::lround(SoundBuffer::sampleRate * 60.0 / tempo);
    const double beat = static_cast<double>(beatSamples) / SoundBuffer::sampleRate;
    SoundBuffer music(bars * beatsPerBar * beat);
    const Mode& mode = modes[scale];
    Random melody(0xC0FFEEull + static_cast<uint64_t>(circuit) * 104729);
    const bool halfTimeHats = melody.next() % 2 == 0;

    // The lead's phrase of four bars, eighth notes on the chord's tones and their neighbours; played
    // twice, the second time with its last bar answered a step higher.
    std::vector<int> phrase;
    int degree = 0;
    for (int i = 0; i < 4 * 8; ++i) {
        const int move = static_cast<int>(melody.next() % 5) - 2;
        degree = std::max(-2, std::min(9, degree + move));
        phrase.push_back(melody.next() % 6 == 0 ? 99 : degree);  // 99: a rest
    }

    for (int bar = 0; bar < bars; ++bar) {
        const int chord = progressions[progression][bar % 4];
        const double barStart = bar * beatsPerBar * beat;
        for (int b = 0; b < beatsPerBar; ++b) {
            const double at = barStart + b * beat;
            if (b % 2 == 0) addKick(music, at);
            if (b % 2 == 1) addNoiseHit(music, at, 0.2, 0.5, 1500, 100 + bar * 4 + b);
            for (int half = 0; half < 2; ++half) {
                if (halfTimeHats && half == 1) continue;
                addNoiseHit(music, at + half * beat / 2, 0.05, 0.25, 6000, 200 + bar * 8 + b * 2 + half);
            }
            // Bass: the chord's root on each beat, its fifth on the last.
            const int bassDegree = chord + (b == 3 ? 4 : 0);
            addNote(music, at, beat * 0.8, bassShapes[bassShape], pitchOf(mode, key, bassDegree, -3), 0.35, 700);
        }
        // Chords: the triad held over the bar, quietly.
        for (int third = 0; third < 3; ++third) {
            addNote(music, barStart, beatsPerBar * beat * 0.95, Shape::triangle,
                    pitchOf(mode, key, chord + 2 * third, -1), 0.12, 2000);
        }
        for (int eighth = 0; eighth < 8; ++eighth) {
            int note = phrase[(bar % 4) * 8 + eighth];
            if (note == 99) continue;
            if (bar == bars - 1) note += 1;
            addNote(music, barStart + eighth * beat / 2, beat / 2 * 0.85, leadShapes[leadShape],
                    pitchOf(mode, key, chord + note, 0), 0.22, 3500);
        }
    }
    music.normalize(musicPeak);
    return music;
}
