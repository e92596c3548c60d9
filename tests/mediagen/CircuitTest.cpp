// Generated circuits: every number closes into a lap that keeps clear of itself, with curves and
// slopes the karts can take and room for the race's furnishings; a number gives the same bytes
// every time, and its media load into the game with the grid behind the line and scenery off the road.
#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "Circuit.h"
#include "GeneratedMedia.h"
#include "TrackBuilder.h"
#include "app/ProcessLibraries.h"
#include "entities/Entity.h"
#include "entities/EntityTag.h"
#include "entities/Vehicle.h"
#include "game/Game.h"
#include "level/Course.h"
#include "level/SceneLoader.h"
#include "support/TestMedia.h"

namespace fs = std::filesystem;

namespace {

const double roadWidth = 2 * TrackBuilder::halfWidth;
const double sampleStep = 5;
const double overhead = 4;  // scenery this far above the road (the start banner) spans it

TEST(Circuits, EveryNumberClosesIntoALapThatKeepsClearOfItself) {
    std::vector<int> numbers = {997, 4242, 9999, 54321, Circuit::largestNumber};
    for (int n = 0; n <= 60; ++n) numbers.push_back(n);
    for (int number : numbers) {
        const std::optional<Circuit> circuit = Circuit::make(number);
        ASSERT_TRUE(circuit) << number;
        const TrackLayout& layout = circuit->layout;
        const double lap = layout.length();
        EXPECT_GE(lap, 1500) << number;
        EXPECT_LE(lap, 3500) << number;
        const TrackFrame start = layout.frameAt(0), end = layout.frameAt(lap - 1e-9);
        EXPECT_LT((end.centre - start.centre).length(), 1e-3) << number;
        EXPECT_GT(end.forward.dot(start.forward), 0.9999) << number;
        // A kart at full speed (69 units per second) turns at most 1.9 radians per second.
        EXPECT_GE(layout.smallestRadius(), 50) << number;
        EXPECT_LE(layout.steepestSlopeDegrees(), 8) << number;
        EXPECT_LE(layout.steepestBankDegrees(), 10) << number;
        EXPECT_GE(circuit->itemRows.size(), 3u) << number;
        EXPECT_GE(circuit->looseObjects.size(), 3u) << number;

        // Road edges of parts far apart along the lap stay a road width apart.
        std::vector<Vec3> points;
        for (double s = 0; s < lap; s += sampleStep) {
            const Vec3 c = layout.frameAt(s).centre;
            points.push_back({c.x, 0, c.z});
        }
        int near = 0;
        for (size_t i = 0; i < points.size(); ++i) {
            for (size_t j = i + 1; j < points.size(); ++j) {
                const double along = std::min((j - i) * sampleStep, lap - (j - i) * sampleStep);
                if (along > roadWidth * 3.2 && (points[i] - points[j]).length() < 2 * roadWidth) ++near;
            }
        }
        EXPECT_EQ(near, 0) << number;
    }
}

TEST(CircuitMedia, ANumberGivesTheSameBytesAndLoadsWithTheGridBehindTheLineAndSceneryOffTheRoad) {
    const int number = 4242;
    const GeneratedMedia first(number), second(number);
    ASSERT_TRUE(first.isReady() && second.isReady());
    int files = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(first.prefix() + "media")) {
        if (!entry.is_regular_file()) continue;
        const fs::path relative = fs::relative(entry.path(), first.prefix());
        EXPECT_EQ(readFile(entry.path()), readFile(second.prefix() + relative.string())) << relative;
        ++files;
    }
    EXPECT_GE(files, 40);

    CapturedStream errors(std::cerr), progress(std::cout);
    startProcessLibraries(first.prefix());
    {
        Game game;
        loadScene(&game, Game::levelFileName);
        EXPECT_EQ(errors.text(), "");
        const Course& course = *game.course;
        ASSERT_EQ(game.vehicles.size(), 8);
        for (int i = 0; i < game.vehicles.size(); ++i) {
            btTransform transform;
            game.vehicles[i]->getWorldTransform(transform);
            EXPECT_EQ(findCheckpoint(transform.getOrigin(), course), course.segmentCount() - 1) << "kart " << i;
        }
        int scenery = 0;
        for (int i = 0; i < game.entities.size(); ++i) {
            Entity* entity = game.entities[i];
            btTransform transform;
            entity->getWorldTransform(transform);
            const btVector3 p = transform.getOrigin();
            const int segment = findCheckpoint(p, course);
            // The track and the ground are static too, and cover the whole circuit.
            if (entity->tag->kind != EntityKind::Static || entity->getBoundingRadius() > roadWidth || segment < 0)
                continue;
            const CourseSegment& s = course.segments[segment];
            if (p.y() - s.start.y() > overhead) continue;
            EXPECT_GT(s.direction.cross(s.start - p).length(), TrackBuilder::halfWidth + TrackBuilder::wallThickness)
                << "object " << i;
            ++scenery;
        }
        EXPECT_GE(scenery, 20);
    }
    stopProcessLibraries();
}

}  // namespace
