#pragma once

#include <string>

class btQuaternion;
class btVector3;
class Game;
class TiXmlDocument;
class Vehicle;

// Reads the checkpoints and the scene file and creates every object the scene names, with as many
// computer karts as the game's race settings ask for.
void loadScene(Game* game, std::string sceneFileName);
// Creates the objects of an already parsed scene; returns false when it has no scene/nodes/node chain.
bool loadSceneDocument(Game* game, const TiXmlDocument& document);
// Creates the kart of the `ordinal`-th vehicle node (counting from 1): the fourth is the player's,
// with its camera; every other one is computer-driven.
Vehicle* createVehicle(Game* game, const btVector3& position, const btQuaternion& orientation, int ordinal);
