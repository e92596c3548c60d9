#include <cmath>
#include <functional>
#include <memory>
#include <sstream>

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include "audio/AudioDevice.h"
#include "audio/RaceAudio.h"
#include "audio/SoundBank.h"
#include "entities/Vehicle.h"
#include "game/Camera.h"
#include "game/Game.h"
#include "game/KeyInput.h"
#include "game/MessageLog.h"
#include "items/Projectile.h"
#include "support/TestWorld.h"

namespace {

const size_t fadeFrames = AudioDevice::loopbackRate / 20;  // OpenAL glides to a new gain over a few mixes
const double silence = 2;  // root mean square of OpenAL's dither on a silent mix
const double pi = 3.14159265358979323846;

// A flat world with the player's kart and its camera, the audio heard through a loopback device,
// and a sounds folder that holds only the files a test copies from the built media.
struct AudibleRace {
    AudibleRace() {
        world.media.writeKartMeshes();
        world.addFloor();
        world.prepareShells();
        player = world.addVehicle(btVector3(0, 1, 0));
        world.game->players.push_back(player);
        Camera* camera = new Camera(player);
        camera->eye = btVector3(0, 5, -15);
        camera->viewDirection = btVector3(0, 0, 1);  // looking down +z, so +x is on the left
        world.game->addCamera(camera);
    }
    ~AudibleRace() { setSoundToggle(nullptr); }

    // Starts the audio with these sounds' files and `replacement` bytes for the first; returns what it said.
    std::string hear(std::vector<SoundId> sounds, bool music = false, const std::string* replacement = nullptr) {
        const std::string built = builtMediaPrefix() + "media/sounds/";
        for (SoundId sound : sounds) {
            const std::string name = SoundBank::fileName(sound);
            world.media.write("sounds/" + name, replacement && sound == sounds.front() ? *replacement : readFile(built + name));
        }
        if (music) world.media.write(std::string("sounds/") + SoundBank::musicFileName, readFile(built + SoundBank::musicFileName));
        CapturedStream errors(std::cerr);
        device = AudioDevice::openLoopback();
        audio.reset(new RaceAudio(*world.game, device.get(), world.media.root() + "/media/sounds/"));
        return errors.text();
    }
    // Stereo samples of `seconds`, the audio updated every 1/60 s (or every `frameSeconds`).
    std::vector<int16_t> play(double seconds, float frameSeconds = 1.0f / 60) {
        const int frames = static_cast<int>(std::lround(frameSeconds * AudioDevice::loopbackRate));
        std::vector<int16_t> mix;
        for (double t = 0; t < seconds; t += frameSeconds) {
            audio->update(frameSeconds);
            mix.resize(mix.size() + 2 * frames);
            device->render(&mix[mix.size() - 2 * frames], frames);
        }
        return mix;
    }

    TestWorld world;
    Vehicle* player;
    std::unique_ptr<AudioDevice> device;
    std::unique_ptr<RaceAudio> audio;
};

struct RaceAudioTest : ::testing::Test, AudibleRace {};

// Root mean square of one channel (0 left, 1 right), over frames [from, to) (to 0: the end).
double loudness(const std::vector<int16_t>& mix, int channel, size_t from = 0, size_t to = 0) {
    if (to == 0) to = mix.size() / 2;
    double sum = 0;
    for (size_t i = from; i < to; ++i) sum += double(mix[2 * i + channel]) * mix[2 * i + channel];
    return std::sqrt(sum / std::max<size_t>(1, to - from));
}

// The strongest frequency between 40 and 400 Hz in the left channel, in 1 Hz steps (Goertzel).
int dominantFrequency(const std::vector<int16_t>& mix) {
    int best = 0;
    double strongest = -1;
    for (int f = 40; f <= 400; ++f) {
        const double k = 2 * std::cos(2 * pi * f / AudioDevice::loopbackRate);
        double s1 = 0, s2 = 0;
        for (size_t i = 0; i < mix.size(); i += 2) {
            const double s = mix[i] + k * s1 - s2;
            s2 = s1;
            s1 = s;
        }
        const double power = s1 * s1 + s2 * s2 - k * s1 * s2;
        if (power > strongest) strongest = power, best = f;
    }
    return best;
}

int lines(const std::string& text, const std::string& needle) {
    std::istringstream in(text);
    int count = 0;
    for (std::string line; std::getline(in, line);) count += line.find(needle) != std::string::npos;
    return count;
}

// Milliseconds from the start to the first sample above a whisper; -1 when all is silence.
double onsetMs(const std::vector<int16_t>& mix) {
    for (size_t i = 0; i < mix.size(); ++i) {
        if (std::abs(mix[i]) > 200) return (i / 2) * 1000.0 / AudioDevice::loopbackRate;
    }
    return -1;
}

}  // namespace

TEST_F(RaceAudioTest, EngineNoteRisesWithTheKartsSpeed) {
    hear({SoundId::engine});
    int previous = 0;
    for (float share : {0.0f, 0.5f, 1.0f, 2.0f}) {
        player->speed = share * player->normalMaxSpeed;
        play(0.5);  // the throttle heard settles
        const int note = dominantFrequency(play(0.5));
        EXPECT_GT(note, previous * 1.2) << "at " << share << " of top speed";
        previous = note;
    }
}

TEST_F(RaceAudioTest, ShellIsLouderOnTheSideItIsLaunched) {
    hear({SoundId::greenShell});
    for (float side : {1.0f, -1.0f}) {  // +x is the listener's left
        Vehicle* kart = world.addVehicle(btVector3(side * 20, 1, 0), true);
        kart->heldItem = ItemType::greenShell;
        kart->useItem(false);
        const std::vector<int16_t> mix = play(0.4);
        const double left = loudness(mix, 0), right = loudness(mix, 1);
        EXPECT_GT(side > 0 ? left : right, 2 * (side > 0 ? right : left)) << "left " << left << ", right " << right;
    }
}

TEST_F(RaceAudioTest, MKeyMutesAndUnmutes) {
    hear({SoundId::engine});
    setSoundToggle([this] { return audio->toggleMute(); });
    player->speed = player->normalMaxSpeed;
    play(0.5);
    const double heard = loudness(play(0.2), 0);
    EXPECT_GT(heard, 1000);
    onKey('M', GLFW_PRESS);
    EXPECT_LT(loudness(play(0.2), 0, fadeFrames), silence);
    EXPECT_EQ(MessageLog::instance().getTexts().back(), "Sound disabled");
    onKey('M', GLFW_PRESS);
    EXPECT_NEAR(loudness(play(0.2), 0, fadeFrames), heard, heard * 0.2);
    EXPECT_EQ(MessageLog::instance().getTexts().back(), "Sound enabled");
}

TEST(RaceAudio, EachEventIsHeardWithin50Milliseconds) {
    const struct {
        const char* what;
        SoundId sound;
        std::function<void(Game&, Vehicle&, TestWorld&)> cause;
        bool heard;
    } events[] = {
        {"item taken", SoundId::itemTaken, [](Game& g, Vehicle& k, TestWorld&) { g.events->itemTaken(k); }, true},
        {"green shell", SoundId::greenShell, [](Game&, Vehicle& k, TestWorld&) { k.heldItem = ItemType::greenShell, k.useItem(false); }, true},
        {"red shell", SoundId::redShell, [](Game&, Vehicle& k, TestWorld&) { k.heldItem = ItemType::redShell, k.useItem(false); }, true},
        {"shell behind", SoundId::shellBackwards, [](Game&, Vehicle& k, TestWorld&) { k.heldItem = ItemType::greenShell, k.useItem(true); }, true},
        {"bounce", SoundId::shellBounce, [](Game& g, Vehicle& k, TestWorld&) {
             k.heldItem = ItemType::greenShell, k.useItem(false);
             g.events->shellBounced(*g.projectiles[0]);
         }, true},
        {"hit", SoundId::hit, [](Game&, Vehicle& k, TestWorld&) { k.hit(btVector3(1, 0, 0), 20); }, true},
        {"spin-out", SoundId::spinOut, [](Game& g, Vehicle& k, TestWorld&) { g.events->kartSpunOut(k); }, true},
        {"drift boost", SoundId::driftBoost, [](Game& g, Vehicle& k, TestWorld&) { g.events->driftBoosted(k); }, true},
        {"bump", SoundId::bump, [](Game& g, Vehicle& k, TestWorld&) { g.events->kartBumped(k, 30); }, true},
        {"turbo", SoundId::turbo, [](Game&, Vehicle& k, TestWorld&) { k.heldItem = ItemType::turbo, k.useItem(false); }, true},
        {"star", SoundId::star, [](Game&, Vehicle& k, TestWorld&) { k.heldItem = ItemType::star, k.useItem(false); }, true},
        {"flash", SoundId::flash, [](Game&, Vehicle& k, TestWorld&) { k.heldItem = ItemType::flash, k.useItem(false); }, true},
        {"lap done", SoundId::lap, [](Game& g, Vehicle& k, TestWorld&) { g.events->lineCrossed(k, 2); }, true},
        {"final lap", SoundId::finalLap, [](Game& g, Vehicle& k, TestWorld&) { g.events->lineCrossed(k, g.settings.laps); }, true},
        {"computer's lap", SoundId::lap, [](Game& g, Vehicle&, TestWorld& w) {
             g.events->lineCrossed(*w.addVehicle(btVector3(10, 1, 0), true), 2);
         }, false},
        {"race start", SoundId::lap, [](Game& g, Vehicle& k, TestWorld&) { g.events->lineCrossed(k, 1); }, false},
        {"finish line", SoundId::finalLap, [](Game& g, Vehicle& k, TestWorld&) { g.events->lineCrossed(k, g.settings.laps + 1); }, false},
        {"finish", SoundId::fanfare, [](Game& g, Vehicle&, TestWorld&) { g.raceOver = true; }, true},
    };
    for (const auto& event : events) {
        SCOPED_TRACE(event.what);
        AudibleRace race;
        race.hear({event.sound});
        race.play(0.1);
        event.cause(*race.world.game, *race.player, race.world);
        const double onset = onsetMs(race.play(0.3));
        if (event.heard) {
            EXPECT_GE(onset, 0);
            EXPECT_LE(onset, 50);
        } else {
            EXPECT_EQ(onset, -1);
        }
    }
}

TEST(RaceAudio, LoopsLastAsLongAsWhatCausesThem) {
    const struct {
        SoundId sound;
        std::function<void(Game&, Vehicle&, bool)> cause;
    } loops[] = {
        {SoundId::star, [](Game&, Vehicle& k, bool on) { k.starTimeLeft = on ? 5.0f : 0.0f; }},
        {SoundId::skid, [](Game&, Vehicle& k, bool on) { k.speed = k.normalMaxSpeed, k.driftHeld = on; }},
        {SoundId::engine, [](Game& g, Vehicle& k, bool on) {
             if (on) return;
             g.vehicles.remove(&k), g.raceRecords.clear(), g.players.clear();  // as a restart takes the karts
             delete &k;
         }},
    };
    for (const auto& loop : loops) {
        SCOPED_TRACE(SoundBank::fileName(loop.sound));
        AudibleRace race;
        race.hear({loop.sound});
        race.world.step(10);  // on the ground
        loop.cause(*race.world.game, *race.player, true);
        EXPECT_GT(loudness(race.play(0.3), 0), 500);
        loop.cause(*race.world.game, *race.player, false);
        EXPECT_LT(loudness(race.play(0.3), 0, fadeFrames), silence);
    }
}

TEST_F(RaceAudioTest, ThirtyTwoKartsFillThePoolAndThePlayersItemStillSounds) {
    // Silent engines, so that only the item is heard: it must take a voice from one of them.
    std::string silentEngine = readFile(builtMediaPrefix() + "media/sounds/engine.wav");
    std::fill(silentEngine.begin() + 44, silentEngine.end(), '\0');
    hear({SoundId::engine, SoundId::turbo}, false, &silentEngine);
    for (int i = 1; i < 32; ++i) world.addVehicle(btVector3(i % 2 ? 8.0f : -8.0f, 1, 10.0f * i), true);
    play(0.1);
    EXPECT_EQ(audio->voicesPlaying(), AudioDevice::maxVoices - 1);  // the music keeps one of its own
    player->heldItem = ItemType::turbo;
    player->useItem(false);
    EXPECT_GT(loudness(play(0.3), 0), 1000);
    EXPECT_EQ(audio->voicesPlaying(), AudioDevice::maxVoices - 1);
}

TEST(RaceAudio, BadSoundFileIsOneLineAndSilenceTheRestPlays) {
    const std::string wav = readFile(builtMediaPrefix() + "media/sounds/engine.wav");
    std::string threeChannels = wav, hugeRate = wav;
    threeChannels[22] = 3;
    hugeRate.replace(24, 4, std::string("\xff\xff\xff\x7f", 4));
    const struct {
        const char* what;
        std::string bytes;
    } files[] = {{"garbage", "RIFF\x10\0\0\0WAVEfmt nonsense"},
                 {"cut short", wav.substr(0, 30)},
                 {"three channels", threeChannels},
                 {"rate beyond reason", hugeRate},
                 {"empty", ""}};
    for (const auto& file : files) {
        SCOPED_TRACE(file.what);
        AudibleRace race;
        const std::string said = race.hear({SoundId::engine, SoundId::greenShell}, false, &file.bytes);
        EXPECT_EQ(lines(said, "engine.wav"), 1) << said;
        EXPECT_EQ(lines(said, "shell_green.wav"), 0) << said;
        race.player->speed = race.player->normalMaxSpeed;
        EXPECT_LT(loudness(race.play(0.2), 0), silence);
        race.player->heldItem = ItemType::greenShell;
        race.player->useItem(false);
        EXPECT_GT(loudness(race.play(0.3), 0), 1000);
    }
}

TEST_F(RaceAudioTest, MusicStreamsRoundItsLoopAndOutlastsLongFrames) {
    EXPECT_EQ(lines(hear({}, true), "music.wav"), 0);
    // Past the end of the loop (under 18 s), then frames longer than the queued second, which runs dry.
    const std::vector<int16_t> mix = play(20);
    const size_t second = AudioDevice::loopbackRate;
    for (size_t s = 0; s < 20; ++s) EXPECT_GT(loudness(mix, 0, s * second, (s + 1) * second), 500) << s << " s";
    EXPECT_GT(loudness(play(6, 1.5f), 0, 3 * second), 500);
}
