#pragma once

#include <LinearMath/btVector3.h>

class Vehicle;

// Follow camera: stays on a leash behind and above its vehicle and looks past it.
class Camera {
public:
    explicit Camera(Vehicle* target);

    // Moves the eye for this frame and loads the view into the modelview matrix.
    void update(float timeStep);
    // The movement part of update, without touching OpenGL.
    void follow(float timeStep);

    static constexpr float distanceBehind = 15.0f;
    static constexpr float height = 9.0f;
    static constexpr float catchUpSpeed = 20.0f;  // units per second
    static constexpr float leashLength = 10.0f;

    Vehicle* target;  // not owned
    btVector3 eye;
    btVector3 lookAt;
    btVector3 lastTargetPosition;
    btVector3 viewDirection;  // unit vector from eye to lookAt
};
