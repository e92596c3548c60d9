#pragma once

#include <string>

// Creates the process-wide asset libraries and the message list on a media prefix, in this order:
// meshes, textures, materials, messages. Calling it again replaces them.
void startProcessLibraries(const std::string& mediaPrefix);
// Destroys them in reverse order.
void stopProcessLibraries();
