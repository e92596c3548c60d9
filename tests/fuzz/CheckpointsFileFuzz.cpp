// Checkpoints files: the number reader, the course built from it and the two course queries.
#include <cstdint>
#include <sstream>
#include <vector>

#include "FuzzMedia.h"
#include "level/CheckpointsFile.h"
#include "level/Course.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzMedia::started();
    std::istringstream file(FuzzMedia::text(data, size));
    const std::vector<btVector3> points = readCheckpoints(file);
    const Course course(points);

    // The checkpoints, points between and beside them, and points far away.
    std::vector<btVector3> probes = {btVector3(0, 0, 0), btVector3(1e9f, 0, -1e9f), btVector3(-90, 0, 50)};
    for (size_t i = 0; i < course.points.size() && i < 16; ++i) {
        const btVector3& next = course.points[(i + 1) % course.points.size()];
        probes.push_back(course.points[i]);
        probes.push_back((course.points[i] + next) * 0.5f + btVector3(3, 1, -2));
    }
    volatile float sink = 0;
    for (const btVector3& probe : probes) {
        const int segment = findCheckpoint(probe, course);
        if (segment < -1 || segment >= course.segmentCount()) __builtin_trap();
        if (segment >= 0) sink = sink + course.lapFraction(segment, probe);
    }
    return 0;
}
