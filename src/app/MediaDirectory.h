#pragma once

#include <string>

// Relative prefix of the folder holding "media/this is media.txt": "./" followed by up to four "../".
std::string findMediaDirectory();
