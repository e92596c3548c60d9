#pragma once

// Key callback: each press of a function key or A toggles a render setting.
void onKey(int key, int action);
