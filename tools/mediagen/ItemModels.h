#pragma once

#include <string>

#include "MeshBuilder.h"

// The meshes of the item game: shells, the dust puff, and the pick-up field. Each is centred on
// the middle of its bounding box, as the game builds collision boxes around the mesh origin.
class ItemModels {
public:
    // A shell about 1.6 across: a dome in `shellMaterial` on a white rim and a pale base.
    static MeshBuilder shell(const std::string& shellMaterial);
    // A puff of dust, radius 1.
    static MeshBuilder dustSphere();
    // A low pad the karts drive over: a bright question-mark top, a dark underside, so a taken
    // field (drawn upside down) looks clearly different. Its top is `fieldHalfHeight` above its
    // origin; the picture reads the right way for a kart driving along +Z.
    static MeshBuilder itemField();

    static constexpr double fieldHalfHeight = 0.2;
};
