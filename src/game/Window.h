#pragma once

// Window size in pixels, kept by onWindowResize and read by the display and the culling planes.
int windowWidth();
int windowHeight();
// Window-size callback: stores the size, sets the viewport and the perspective projection.
void onWindowResize(int width, int height);

constexpr double fieldOfViewDegrees = 65.0;
constexpr double nearPlaneDistance = 3.0;
constexpr double farPlaneDistance = 10000.0;
