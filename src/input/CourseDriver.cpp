#include "input/CourseDriver.h"

#include <LinearMath/btTransform.h>

#include "entities/AIControlledVehicle.h"
#include "game/Game.h"
#include "level/Course.h"

PlayerControls courseDriverControls(const Game& game) {
    PlayerControls controls;
    if (game.players.empty()) return controls;
    controls.set(PlayerControls::throttle);
    btTransform transform;
    game.players.front()->getWorldTransform(transform);
    const int segment = game.course ? findCheckpoint(transform.getOrigin(), *game.course) : -1;
    if (segment < 0) return controls;
    const CourseSegment& current = game.course->segments[segment];
    const btVector3 left = transform.getBasis().getColumn(0);
    // One steering control at a time, so the computer driver's two votes become one: their sum.
    const float lateral = (current.end - transform.getOrigin()).dot(left) + current.direction.dot(left);
    const float deadBand = AIControlledVehicle::steeringDeadBand;
    controls.set(PlayerControls::steerLeft, lateral > deadBand);
    controls.set(PlayerControls::steerRight, lateral < -deadBand);
    return controls;
}
