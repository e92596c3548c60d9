#pragma once

#include <cstdint>
#include <string>

// One circuit's media generated into a fresh temporary folder for the tools (race runner,
// benchmarks, tests); removed when the object goes.
class GeneratedMedia {
public:
    explicit GeneratedMedia(int circuit);
    ~GeneratedMedia();
    GeneratedMedia(const GeneratedMedia&) = delete;
    GeneratedMedia& operator=(const GeneratedMedia&) = delete;

    // False after one line on standard error when the folder or the media could not be made.
    bool isReady() const { return ready; }
    // The folder that holds media/, as the game's libraries take it (ends in "/").
    std::string prefix() const { return directory + "/"; }
    // Bytes of every file under media/.
    uint64_t bytes() const;
    double generationSeconds() const { return seconds; }

private:
    std::string directory;
    bool ready = false;
    double seconds = 0;
};
