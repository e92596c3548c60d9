#pragma once

struct GameArguments;

// Runs the game until Escape or the window closes; returns the process exit status. Without
// arguments the race starts at once on the media found from the working folder; with --front-end
// the front end opens first, those media being circuit 0's. The other arguments: GameArguments.
int runApplication(const GameArguments& arguments);
