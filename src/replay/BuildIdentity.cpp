#include "replay/BuildIdentity.h"

#include "GameBuild.h"

std::string gameBuildIdentity() { return gameBuild; }
