#pragma once

#include <future>
#include <optional>

#include "Image.h"

// A circuit's map from above and its figures, for the front end. Making a circuit and drawing its
// map takes longer than a frame, so it runs on a worker thread while the frames go on.
class CircuitPreview {
public:
    struct Picture {
        int number = -1;
        std::optional<Image> map;  // empty when no draft of the circuit passes the checks
        double length = 0;         // of a lap, units
        int curves = 0;
        double heightRange = 0;    // highest minus lowest point of the road, units
    };

    // Maps are `mapSize` pixels square.
    explicit CircuitPreview(int mapSize) : mapSize(mapSize) {}
    // Waits for the worker.
    ~CircuitPreview() = default;

    // Asks for the picture of `number`: made at once when nothing runs, else after what runs, in
    // place of any older request that has not started.
    void request(int number);
    // The picture of the last request once it is ready, and then no more; stale pictures are dropped.
    std::optional<Picture> take();
    // Returns once nothing of this object runs on another thread (before a fork, for one); the
    // waiting request starts at the next take().
    void finish();

    static Picture make(int number, int mapSize);

private:
    void start(int number);

    int mapSize;
    std::future<Picture> running;
    std::optional<int> waiting;  // asked for while another ran
    int latest = -1;
};
