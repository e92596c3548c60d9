#include "level/Course.h"

#include <algorithm>
#include <cmath>

namespace {

// Below this a segment has no length and a corner is an exact turn back.
const float degenerate = 1e-6f;

bool finite(const btVector3& v) { return std::isfinite(v.x()) && std::isfinite(v.y()) && std::isfinite(v.z()); }

// Slant of a closing plane against the segment, per axis, as lapFraction needs it.
btVector3 tilt(const btVector3& direction, const btVector3& planeNormal, float sign) {
    btVector3 result(0, 0, 0);
    for (int k = 0; k < 3; ++k) {
        btVector3 axis(0, 0, 0);
        axis[k] = 1;
        const btVector3 across = axis - direction[k] * direction;
        const float length = across.length();
        if (length == 0) continue;
        const float sine = std::max(-1.0f, std::min(1.0f, planeNormal.dot(across)));
        result[k] = sign * length * std::tan(std::asin(sine) / length);
    }
    return result;
}

}  // namespace

bool Course::isUsable(const std::vector<btVector3>& points) {
    const size_t n = points.size();
    if (n < 3) return false;
    for (const btVector3& point : points) {
        if (!finite(point)) return false;
    }
    for (size_t i = 0; i < n; ++i) {
        const btVector3 in = points[i] - points[(i + n - 1) % n];
        const btVector3 out = points[(i + 1) % n] - points[i];
        if (in.length() < degenerate || out.length() < degenerate) return false;
        if ((in.normalized() + out.normalized()).length() < degenerate) return false;
    }
    return true;
}

std::vector<btVector3> Course::defaultPoints() {
    return {btVector3(-100, 0, 0), btVector3(-100, 0, 100), btVector3(100, 0, 100), btVector3(100, 0, -100),
            btVector3(-100, 0, -100)};
}

Course::Course(const std::vector<btVector3>& given) : totalLength(0), points(isUsable(given) ? given : defaultPoints()) {
    const size_t n = points.size();
    segments.resize(n);
    float running = 0;
    for (size_t i = 0; i < n; ++i) {
        CourseSegment& segment = segments[i];
        segment.start = points[i];
        segment.end = points[(i + 1) % n];
        const btVector3 d = segment.end - segment.start;
        segment.length = d.length();
        segment.direction = d / segment.length;
        segment.startFraction = running;  // distance for now, a fraction below
        running += segment.length;
    }
    totalLength = running;
    for (size_t i = 0; i < n; ++i) {
        CourseSegment& segment = segments[i];
        const CourseSegment& previous = segments[(i + n - 1) % n];
        const CourseSegment& next = segments[(i + 1) % n];
        segment.startFraction /= totalLength;
        segment.lengthFraction = segment.length / totalLength;
        segment.startNormal = (segment.direction + previous.direction).normalized();
        segment.startOffset = segment.startNormal.dot(segment.start);
        segment.endNormal = (segment.direction + next.direction).normalized();
        segment.endOffset = segment.endNormal.dot(next.start);
        segment.startTilt = tilt(segment.direction, segment.startNormal, 1.0f);
        segment.endTilt = tilt(segment.direction, segment.endNormal, -1.0f);
    }
}

float Course::lapFraction(int index, const btVector3& p) const {
    if (index < 0 || index >= segmentCount()) return 0;
    const CourseSegment& segment = segments[index];
    const btVector3 v = p - segment.start;
    const float along = segment.direction.dot(v);
    const btVector3 side = v - along * segment.direction;
    const float numerator = along + segment.startTilt.dot(side);
    const float denominator = segment.length + (segment.startTilt + segment.endTilt).dot(side);
    if (denominator == 0) return segment.startFraction;  // far off to the side where the planes meet
    return segment.startFraction + numerator / denominator * segment.lengthFraction;
}

int findCheckpoint(const btVector3& p, const Course& course) {
    float best = 1e30f;
    int result = -1;
    for (int i = 0; i < course.segmentCount(); ++i) {
        const CourseSegment& segment = course.segments[i];
        if (segment.startNormal.dot(p) < segment.startOffset || segment.endNormal.dot(p) >= segment.endOffset) continue;
        const float distance = segment.direction.cross(segment.start - p).length2();
        if (distance < best) {
            best = distance;
            result = i;
        }
    }
    return result;
}
