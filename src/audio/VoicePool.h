#pragma once

#include <cstdint>
#include <vector>

#include <LinearMath/btVector3.h>

// Where and how loud a voice plays.
struct VoicePlacement {
    btVector3 position = btVector3(0, 0, 0);  // in the world, or from the listener when atListener
    bool atListener = false;
    float gain = 1.0f;
    float pitch = 1.0f;
};

// A fixed set of OpenAL sources, created once, shared by every sound by priority: a sound that finds
// no free voice takes the least important one playing, if that is less important than itself, and
// is dropped otherwise. One-shot sounds free their voice when they end; loops are held frame by
// frame by an owner and stop in the first frame nobody holds them.
class VoicePool {
public:
    // Creates up to `capacity` sources in the current context (fewer if it grants fewer).
    explicit VoicePool(int capacity);
    ~VoicePool();
    VoicePool(const VoicePool&) = delete;
    VoicePool& operator=(const VoicePool&) = delete;

    // Takes a voice out of the sharing for good (the music's stream), still deleted with the pool; 0
    // when none is left.
    unsigned int reserve();
    // Starts a one-shot sound; false when every voice plays something at least as important.
    bool play(unsigned int buffer, float priority, const VoicePlacement& placement);
    // Keeps `owner`'s loop (owner > 0) playing this frame with this placement, or starts it.
    void hold(uint64_t owner, unsigned int buffer, float priority, const VoicePlacement& placement);
    // Ends the frame: stops the loops nobody held in it.
    void endFrame();

    int size() const { return static_cast<int>(voices.size()); }

    // Units within which a sound plays at its full gain (the follow camera's distance from its kart);
    // beyond, the gain falls as this distance over the sound's.
    static constexpr float fullGainDistance = 15.0f;
    // Voices playing a sound now.
    int playing() const;

private:
    struct Voice {
        unsigned int source = 0;
        float priority = 0;
        uint64_t owner = 0;  // of a held loop; 0 for a one-shot
        bool held = false;   // this frame
    };

    // A voice free for a sound of `priority`, stopped if it was taken from another; null if none.
    Voice* acquire(float priority);
    static void place(const Voice& voice, const VoicePlacement& placement);
    static bool isPlaying(const Voice& voice);

    std::vector<Voice> voices;
    std::vector<unsigned int> reserved;  // sources taken out by reserve()
};
