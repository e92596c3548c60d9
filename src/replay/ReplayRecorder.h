#pragma once

#include "game/PlayerControls.h"
#include "replay/Replay.h"

class Game;

// Records the race under way as the player drives it: set between the game and the player's device,
// it notes the controls of every sub-step and a check value each second. The first sub-step of a
// race (its clock at zero) begins a new recording, whoever started the race.
class ReplayRecorder {
public:
    // Races on `circuit`, whose media generator build `media` made.
    ReplayRecorder(int circuit, const std::string& media);

    // Notes the controls the race reads for its coming sub-step and passes them on unchanged.
    PlayerControls record(const Game& game, PlayerControls controls);
    // The recording so far, with the player's race time and best lap as the standings have them.
    Replay replay(const Game& game) const;

private:
    Replay recording;
};
