#include "entities/AIControlledVehicle.h"

#include <BulletCollision/CollisionDispatch/btGhostObject.h>

#include "game/Game.h"
#include "level/Course.h"

namespace {

double nextItemDelay(Game* game) { return game->random.next() % 5 + AIControlledVehicle::itemInterval; }

// Top speed against the player's at each pace; normal is the driving the game has always had.
float paceFactor(Pace pace) {
    switch (pace) {
        case Pace::relaxed: return 0.85f;
        case Pace::fast: return 1.1f;
        case Pace::normal: break;
    }
    return 1.0f;
}

}  // namespace

AIControlledVehicle::AIControlledVehicle(Game* game, const btVector3& position, std::string name,
                                         const btQuaternion& rotation, std::vector<boost::shared_ptr<Mesh>> bodyMeshes,
                                         boost::shared_ptr<Mesh> wheelMesh, boost::shared_ptr<btConvexShape> shape)
    : Vehicle(game, position, name, rotation, bodyMeshes, wheelMesh, shape) {
    // A computer kart starts the race holding an item.
    chooseRandomItem();
    nextItemTime = game->raceTime() + nextItemDelay(game);
    normalMaxSpeed *= paceFactor(game->settings.pace);
    maxSpeed = normalMaxSpeed;
}

void AIControlledVehicle::updateAction(btCollisionWorld* world, btScalar dt) {
    if (game->computersDriving) {
        accelerate();
        steerAlongCourse();
        useItemIfDue();
    }
    Vehicle::updateAction(world, dt);
}

void AIControlledVehicle::steerAlongCourse() {
    if (!game->course) return;
    const btTransform& transform = ghostObject->getWorldTransform();
    const btVector3 origin = transform.getOrigin();
    const int segment = findCheckpoint(origin, *game->course);
    // Off every slab there is no segment to follow: no vote this step.
    if (segment < 0) return;
    const CourseSegment& current = game->course->segments[segment];
    const btVector3 left = transform.getBasis().getColumn(0);
    // One vote towards the segment's end point, one to line up with the segment.
    for (float lateral : {(current.end - origin).dot(left), current.direction.dot(left)}) {
        if (lateral > steeringDeadBand) {
            steerLeft();
        } else if (lateral < -steeringDeadBand) {
            steerRight();
        }
    }
}

void AIControlledVehicle::useItemIfDue() {
    if (game->raceTime() <= nextItemTime) return;
    nextItemTime = game->raceTime() + nextItemDelay(game);
    // Computer drivers only fire red shells forwards, green shells backwards, or use a star.
    bool backwards = false;
    switch (heldItem) {
        case ItemType::redShell:
            break;
        case ItemType::star:
        case ItemType::flash:
            heldItem = ItemType::star;
            break;
        default:
            heldItem = ItemType::greenShell;
            backwards = true;
            break;
    }
    useItem(backwards);
    chooseRandomItem();
}
