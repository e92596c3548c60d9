#pragma once

#include <string>

// Relative prefix of the folder holding "media/this is media.txt": "./" followed by up to four "../".
std::string findMediaDirectory();
// The circuit number the media marker under `prefix` names ("Vorbel Race media, circuit N" on its
// first line); -1 when it names none.
int mediaCircuit(const std::string& prefix);
// The circuit number in the text of a media marker, as above.
int circuitFromMarker(const std::string& text);
