#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "game/Game.h"
#include "level/CheckpointsFile.h"
#include "level/Course.h"
#include "support/TestMedia.h"

namespace {

std::vector<btVector3> read(const std::string& text) {
    std::istringstream stream(text);
    return readCheckpoints(stream);
}

TEST(CheckpointsFile, ReadsWholeGroupsOfThreeNumbers) {
    EXPECT_EQ(read("1 2 3 4 5 6 7 8 9 10"),
              (std::vector<btVector3>{btVector3(1, 2, 3), btVector3(4, 5, 6), btVector3(7, 8, 9)}));
    // Any white space separates; signs, decimals and exponents are numbers.
    EXPECT_EQ(read("-1.5\t+2e1\n3\r\n\n  4 5 6.25e-1"),
              (std::vector<btVector3>{btVector3(-1.5f, 20, 3), btVector3(4, 5, 0.625f)}));
    // A word ends the list; the incomplete group before it is dropped.
    EXPECT_EQ(read("0 0 0 10 0 0 10 0 10 stop 5 5 5"),
              (std::vector<btVector3>{btVector3(0, 0, 0), btVector3(10, 0, 0), btVector3(10, 0, 10)}));
    EXPECT_EQ(read("0 0 0 10 0 x"), (std::vector<btVector3>{btVector3(0, 0, 0)}));
    EXPECT_TRUE(read("").empty());
    EXPECT_TRUE(read("nan nan nan").empty());
}

class CheckpointsLoading : public ::testing::Test {
protected:
    // Loads `text` as a checkpoints file; returns what went to standard error.
    std::string load(const std::string& text) {
        media.write("meshes/course.raw", text);
        return loadFrom(media.meshes() + "course.raw");
    }
    std::string loadFrom(const std::string& path) {
        CapturedStream errors(std::cerr);
        loadCheckpoints(&game, path);
        return errors.text();
    }

    TestMedia media;
    Game game;
};

TEST_F(CheckpointsLoading, FilesWithoutACourseFallBackToTheDefaultWithAWarning) {
    const std::vector<btVector3> defaults = Course::defaultPoints();
    struct Case {
        std::string name, text;
    };
    const std::vector<Case> cases = {
        {"empty", ""},
        {"two points", "0 0 0 10 0 0"},
        {"words only", "checkpoints go here"},
        {"equal neighbours", "0 0 0 10 0 0 10 0 0 10 0 10"},
        {"last equals first", "0 0 0 10 0 0 10 0 10 0 0 0"},
        {"exact turn back", "0 0 0 10 0 0 5 0 0 5 0 10"},
        {"three in a line", "0 0 0 10 0 0 20 0 0"},
    };
    for (const Case& bad : cases) {
        SCOPED_TRACE(bad.name);
        game.setCourse({btVector3(1, 0, 0), btVector3(2, 0, 0), btVector3(2, 0, 1)});
        EXPECT_EQ(load(bad.text), "WARNING: checkpoints file " + media.meshes() +
                                      "course.raw holds no course (at least three distinct points, no turn back), "
                                      "loading defaults.\n");
        EXPECT_EQ(game.course->points, defaults);
    }
    // A missing file, or no file name at all.
    for (const std::string& path : {media.meshes() + "absent.raw", std::string()}) {
        SCOPED_TRACE(path);
        game.setCourse({btVector3(1, 0, 0), btVector3(2, 0, 0), btVector3(2, 0, 1)});
        EXPECT_EQ(loadFrom(path), "WARNING: Could not open checkpoints file " + path + ", loading defaults.\n");
        EXPECT_EQ(game.course->points, Course::defaultPoints());
    }
}

}  // namespace
