#pragma once

#include <string>

// Creates the process-wide asset libraries and the message list on a media prefix, in this order:
// meshes, textures, materials, messages. Calling it again replaces them: another circuit's media. The
// old ones delete their textures, buffers and display lists, so the OpenGL context must be current
// if there is one; and the texture library forks its decoder, so no other thread of ours may run.
void startProcessLibraries(const std::string& mediaPrefix);
// Destroys them in reverse order.
void stopProcessLibraries();
