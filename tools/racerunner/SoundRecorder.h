#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct sf_private_tag;
class AudioDevice;
class Game;
class RaceAudio;

// Records what the player's camera hears of a race into a 44.1 kHz stereo 16-bit WAV file: the
// game's own race audio mixed by a loopback device, one piece per sub-step, with the camera moved as
// the game's frame would move it. The same race gives the same bytes.
class SoundRecorder {
public:
    // `soundsFolder` ends in "/". On failure, one line on standard error and isReady() is false.
    SoundRecorder(Game& game, const std::string& soundsFolder, const std::string& path);
    ~SoundRecorder();
    SoundRecorder(const SoundRecorder&) = delete;
    SoundRecorder& operator=(const SoundRecorder&) = delete;

    bool isReady() const { return file != nullptr; }
    // Follows `seconds` of the race: the camera, the audio's frame and the mix of that time.
    void step(float seconds);
    // Records `seconds` more with the race standing still: the finish fanfare rings out.
    void ringOut(float seconds);
    // Closes the file; false after one line on standard error if it could not be written whole.
    bool finish();

private:
    Game& game;
    std::unique_ptr<AudioDevice> device;
    std::unique_ptr<RaceAudio> audio;
    sf_private_tag* file;
    std::string path;
    std::vector<int16_t> mix;
    bool written;  // every piece so far reached the file
};
