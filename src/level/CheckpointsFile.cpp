#include "level/CheckpointsFile.h"

#include <fstream>
#include <iostream>

#include "game/Game.h"
#include "level/Course.h"

std::vector<btVector3> readCheckpoints(std::istream& stream) {
    std::vector<btVector3> points;
    float x, y, z;
    while (stream >> x >> y >> z) points.push_back(btVector3(x, y, z));
    return points;
}

void loadCheckpoints(Game* game, std::string path) {
    std::ifstream file(path);
    std::vector<btVector3> points;
    if (!file) {
        std::cerr << "WARNING: Could not open checkpoints file " << path << ", loading defaults." << std::endl;
        points = Course::defaultPoints();
    } else {
        points = readCheckpoints(file);
        if (!Course::isUsable(points)) {
            std::cerr << "WARNING: checkpoints file " << path
                      << " holds no course (at least three distinct points, no turn back), loading defaults."
                      << std::endl;
            points = Course::defaultPoints();
        }
    }
    game->setCourse(points);
}
