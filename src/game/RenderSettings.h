#pragma once

// Process-wide switches changed by the function keys and read by the drawing code.
struct RenderSettings {
    RenderSettings();

    bool showFps;            // F2: frame-rate line of the heads-up display
    bool wireframe;          // F3
    bool nearestFiltering;   // F4
    int mipmapMode;          // F5: 0 none, 1 nearest mipmap, 2 linear between mipmaps
    unsigned int minFilter;  // derived by applyTextureFilters
    unsigned int magFilter;
    int vertexMode;          // F6: 0 immediate, 1 vertex arrays, 2 vertex buffer objects
    bool displayLists;       // F7
    bool frustumCulling;     // F8
    bool transparency;       // F9: particle blending
    bool aiDrivingEnabled;   // A
    bool vertexBuffersSupported;  // found at start-up; without it drawing never uses mode 2
};

extern RenderSettings renderSettings;
