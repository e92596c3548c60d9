#pragma once

// Runs the game until Escape or the window closes; returns the process exit status.
int runApplication();
