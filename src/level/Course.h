#pragma once

#include <vector>

#include <LinearMath/btVector3.h>

// One stretch of the course, from a checkpoint to the next, closed by bisector planes at both ends.
struct CourseSegment {
    btVector3 start{0, 0, 0};
    btVector3 end{0, 0, 0};
    btVector3 direction{0, 0, 0};    // unit vector from start to end
    btVector3 startNormal{0, 0, 0};  // normal of the start plane: bisector with the previous segment
    btVector3 endNormal{0, 0, 0};    // normal of the end plane: bisector with the next segment
    float startOffset = 0;  // startNormal . start
    float endOffset = 0;    // endNormal . end
    float length = 0;
    float startFraction = 0;   // lap fraction at start
    float lengthFraction = 0;  // length / totalLength
    btVector3 startTilt{0, 0, 0};  // slant of the start plane against the segment, for lapFraction
    btVector3 endTilt{0, 0, 0};    // the same for the end plane, opposite sign
};

// Closed polyline of checkpoints; the last segment leads back to checkpoint 0 (the start line).
class Course {
public:
    // Points the course cannot be built from are replaced by the default course; see isUsable.
    explicit Course(const std::vector<btVector3>& points);

    // At least three finite points, consecutive ones distinct, no exact turn back.
    static bool isUsable(const std::vector<btVector3>& points);
    static std::vector<btVector3> defaultPoints();

    // Fraction of the lap at p, measured in segment `segment`; 0 for an index that is no segment.
    float lapFraction(int segment, const btVector3& p) const;
    int segmentCount() const { return static_cast<int>(segments.size()); }

    std::vector<CourseSegment> segments;
    float totalLength;
    std::vector<btVector3> points;
};

// Index of the segment whose slab holds p and whose line is nearest, or -1 when none holds it.
int findCheckpoint(const btVector3& p, const Course& course);
