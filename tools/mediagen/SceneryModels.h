#pragma once

#include "MeshBuilder.h"

// Everything beside the road: trees, rocks, tyre stacks, the grandstand and the start gantry,
// and the loose crates and barrels. Each is centred on the middle of its bounding box.
// Static scenery gets a convex collision hull, so the shapes are convex-ish.
class SceneryModels {
public:
    static MeshBuilder crate();
    static MeshBuilder barrel();
    static MeshBuilder pine();
    static MeshBuilder broadTree();
    // Variant 0, 1, 2: differently shaped stones.
    static MeshBuilder rock(int variant);
    static MeshBuilder tyreStack();
    // Faces +X: the low front towards the track.
    static MeshBuilder grandstand();
    // A post `height` tall.
    static MeshBuilder gantryPost(double height);
    // The banner across the start line, `halfSpan` to each side; its faces read from both directions.
    static MeshBuilder banner(double halfSpan);

    static constexpr double bannerHalfHeight = 1.5;
    static constexpr double postHalfWidth = 0.5;
};
