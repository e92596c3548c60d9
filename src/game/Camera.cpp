#include "game/Camera.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <LinearMath/btTransform.h>

#include "entities/Vehicle.h"

Camera::Camera(Vehicle* target)
    : target(target), eye(0, 0, 0), lookAt(0, 0, 0), lastTargetPosition(0, 0, 0), viewDirection(0, 0, 0) {}

void Camera::follow(float timeStep) {
    btTransform transform;
    target->getWorldTransform(transform);
    const btVector3 origin = transform.getOrigin();
    const btMatrix3x3& basis = transform.getBasis();
    const btVector3 x = basis.getColumn(0), y = basis.getColumn(1), z = basis.getColumn(2);

    if (target->spinTimeLeft > 0) {
        // While the kart spins the view travels with it and keeps its direction.
        const btVector3 moved = origin - lastTargetPosition;
        eye += moved;
        lookAt += moved;
    } else {
        const btVector3 desired = origin - z * distanceBehind + y * height;
        const float distance = eye.distance(desired);
        const float catchUp = catchUpSpeed * timeStep;
        if (distance > leashLength) {
            eye = desired + (eye - desired) * ((leashLength - catchUp) / distance);
        } else if (catchUp < distance) {
            eye = desired + (eye - desired) * ((distance - catchUp) / distance);
        } else {
            eye = desired;
        }
        // Look past the kart, parallel to its floor.
        const btVector3 toTarget = origin - eye;
        lookAt = origin + x * x.dot(toTarget) + z * z.dot(toTarget);
    }
    lastTargetPosition = origin;
    viewDirection = lookAt - eye;
    if (viewDirection.length2() > 0) viewDirection.normalize();
}

void Camera::update(float timeStep) {
    follow(timeStep);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(eye.x(), eye.y(), eye.z(), lookAt.x(), lookAt.y(), lookAt.z(), 0, 1, 0);
}
