#include "game/RenderSettings.h"

#include <GL/gl.h>

RenderSettings renderSettings;

RenderSettings::RenderSettings()
    : showFps(true),
      wireframe(false),
      nearestFiltering(false),
      mipmapMode(2),
      minFilter(GL_LINEAR_MIPMAP_LINEAR),
      magFilter(GL_LINEAR),
      vertexMode(2),
      displayLists(true),
      frustumCulling(true),
      transparency(true),
      aiDrivingEnabled(true),
      vertexBuffersSupported(false) {}
