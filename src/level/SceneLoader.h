#pragma once

#include <string>

class Game;
class TiXmlDocument;

// Reads the checkpoints and the scene file and creates every object the scene names.
void loadScene(Game* game, std::string sceneFileName);
// Creates the objects of an already parsed scene; returns false when it has no scene/nodes/node chain.
bool loadSceneDocument(Game* game, const TiXmlDocument& document);
