#pragma once

#include "entities/Renderable.h"
#include "replay/GhostPath.h"

class Game;

// The kart of a recorded race, drawn see-through where that race's player was at this moment of the
// race under way. It touches nothing: it is no part of the physics world.
class GhostKart : public Renderable {
public:
    GhostKart(const Game& game, GhostPath path) : game(game), path(std::move(path)) {}

    void render() override;

    static constexpr float opacity = 0.4f;

private:
    const Game& game;
    GhostPath path;
};
