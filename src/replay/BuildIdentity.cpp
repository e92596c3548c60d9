#include "replay/BuildIdentity.h"

std::string gameBuildIdentity() { return "provisional"; }
